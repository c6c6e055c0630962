#pragma once

#include <QCoreApplication>
#include <QKeyEvent>
#include <QSpontaneKeyEvent>
#include <QWidget>
#include <QWindow>

// Hands a widget's window a press or release of key as the window system hands it one, which
// the window passes on to its control with the focus: at time, the window system's
// milliseconds (0 for none), and flagged as a repeat of a held key or not.
inline void sendKeyAsTheWindowSystem(QWidget *widget, QEvent::Type type, Qt::Key key, ulong time,
                                     bool autoRepeat = false)
{
    QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
    event.setTimestamp(time);
    QSpontaneKeyEvent::setSpontaneous(&event);
    QCoreApplication::instance()->notify(widget->window()->windowHandle(), &event);
}

// Hands widget a copy of a key as Qt's bridge to a screen reader (AT-SPI) hands one on after
// holding the window system's own back: sent by a program, yet with the window system's time.
inline void sendKeyAsAScreenReadersBridge(QWidget *widget, QEvent::Type type, Qt::Key key,
                                          ulong time)
{
    QKeyEvent event(type, key, Qt::NoModifier);
    event.setTimestamp(time);
    QCoreApplication::sendEvent(widget, &event);
}
