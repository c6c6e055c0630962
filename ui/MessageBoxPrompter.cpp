#include "ui/MessageBoxPrompter.h"

#include "controls/MouseCapture.h"
#include "platform/StopSignals.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QScopedValueRollback>
#include <QSocketNotifier>
#include <QWindow>

#include <memory>

MessageBoxPrompter::MessageBoxPrompter(QWidget *parent)
    : m_parent(parent)
{
}

Prompter::Reply MessageBoxPrompter::ask(const Message &message)
{
    const QMessageBox::Icon icon = [&message] {
        switch (message.icon) {
        case Icon::Error:
            return QMessageBox::Critical;
        case Icon::Warning:
            return QMessageBox::Warning;
        case Icon::Information:
            break;
        }
        return QMessageBox::Information;
    }();
    const QMessageBox::StandardButtons buttons = message.buttons == Buttons::OkCancel
        ? QMessageBox::Ok | QMessageBox::Cancel
        : QMessageBox::Ok;
    QMessageBox box(icon, message.title, message.text, buttons, m_parent);
    if (message.cancelIsDefault)
        box.setDefaultButton(QMessageBox::Cancel);
    // A run's box answers itself with Cancel when the session ends meanwhile: no one is left to
    // answer it, and the run stops.
    std::unique_ptr<QSocketNotifier> stopSignal;
    if (StopSignals::wakeUpDescriptor() >= 0) {
        stopSignal = std::make_unique<QSocketNotifier>(StopSignals::wakeUpDescriptor(),
                                                       QSocketNotifier::Read);
        QObject::connect(stopSignal.get(), &QSocketNotifier::activated, &box, [&box] {
            StopSignals::drain();
            if (StopSignals::received() != 0)
                box.done(QMessageBox::Cancel);
        });
    }
    releaseMouseCapture();
    box.installEventFilter(this);
    const QScopedValueRollback keyRepeats(m_keyRepeats, KeyRepeats());
    return box.exec() == QMessageBox::Ok ? Reply::Ok : Reply::Cancel;
}

bool MessageBoxPrompter::eventFilter(QObject *watched, QEvent *event)
{
    // Once the box has its window, on that window, where the window system's keys arrive
    // before any control of the box sees them. Not on the application: a run may be inside one
    // of its filters (the window's key preview), and Qt would call that one again after a
    // change to their list.
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        if (QWindow *window = static_cast<QWidget *>(watched)->windowHandle())
            window->installEventFilter(this);
        return false;
    }
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    return watched->isWindowType() && m_keyRepeats.repeats(*static_cast<QKeyEvent *>(event));
}
