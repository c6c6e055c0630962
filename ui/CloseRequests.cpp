#include "ui/CloseRequests.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace {

xcb_atom_t atomNamed(xcb_connection_t *connection, const char *name)
{
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

} // namespace

CloseRequests::CloseRequests(QWidget &window, std::function<void()> onBlockedClose)
    : m_window(window)
    , m_onBlockedClose(std::move(onBlockedClose))
{
    // Only the X11 platform delivers the window manager's requests as X events (Qt's offscreen
    // platform may answer as X11 without a connection).
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (QGuiApplication::platformName() != QLatin1StringView("xcb") || !x11 || !x11->connection())
        return;
    m_protocols = atomNamed(x11->connection(), "WM_PROTOCOLS");
    m_deleteWindow = atomNamed(x11->connection(), "WM_DELETE_WINDOW");
    qGuiApp->installNativeEventFilter(this);
    m_installed = true;
}

CloseRequests::~CloseRequests()
{
    if (m_installed)
        qGuiApp->removeNativeEventFilter(this);
}

bool CloseRequests::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
        return false;
    const auto *request = static_cast<const xcb_client_message_event_t *>(message);
    const QWindow *blocker = QGuiApplication::modalWindow();
    if (request->format == 32 && request->type == m_protocols
        && request->data.data32[0] == m_deleteWindow
        && request->window == xcb_window_t(m_window.winId()) && blocker
        && blocker != m_window.windowHandle())
        m_onBlockedClose();
    // Qt goes on with it, and drops it as before.
    return false;
}
