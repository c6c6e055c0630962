#pragma once

#include <QAbstractNativeEventFilter>

#include <functional>

class QWidget;

// The window manager's requests to close a window that a message box blocks. Qt drops them
// while a modal box is open, so that a click on the window's close button during a run's disk
// prompt would be lost; this sees them in the X server's events before Qt does, and tells.
// On a desktop other than X11 it sees nothing.
class CloseRequests : public QAbstractNativeEventFilter
{
public:
    CloseRequests(QWidget &window, std::function<void()> onBlockedClose);
    ~CloseRequests() override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    QWidget &m_window;
    std::function<void()> m_onBlockedClose;
    quint32 m_protocols = 0;
    quint32 m_deleteWindow = 0;
    bool m_installed = false;
};
