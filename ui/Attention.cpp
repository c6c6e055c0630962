#include "ui/Attention.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QWidget>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <xcb/xcb.h>

namespace {

// ICCCM's WM_HINTS: nine numbers, the first of them flags, among them the urgency hint.
constexpr int WmHintsLength = 9;
constexpr quint32 UrgencyHint = 1U << 8;

} // namespace

Attention::Attention(QWidget &window)
    : m_window(window)
{
    m_window.installEventFilter(this);
}

void Attention::ask()
{
    if (QApplication::activeWindow())
        return;
    QApplication::alert(&m_window);
    setUrgencyHint(true);
}

bool Attention::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_window && event->type() == QEvent::WindowActivate)
        setUrgencyHint(false);
    return false;
}

void Attention::setUrgencyHint(bool urgent)
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (urgent == m_urgent || QGuiApplication::platformName() != QLatin1StringView("xcb") || !x11
        || !x11->connection())
        return;
    m_urgent = urgent;
    xcb_connection_t *connection = x11->connection();
    const auto window = xcb_window_t(m_window.winId());
    // The other hints (input, the window group) stay as Qt set them.
    std::array<quint32, WmHintsLength> hints {};
    xcb_get_property_reply_t *reply
        = xcb_get_property_reply(connection,
                                 xcb_get_property(connection, 0, window, XCB_ATOM_WM_HINTS,
                                                  XCB_ATOM_WM_HINTS, 0, WmHintsLength),
                                 nullptr);
    if (reply && reply->format == 32) {
        const auto *values = static_cast<const quint32 *>(xcb_get_property_value(reply));
        std::copy_n(values, std::min(xcb_get_property_value_length(reply) / 4, WmHintsLength),
                    hints.begin());
    }
    std::free(reply);
    hints[0] = urgent ? hints[0] | UrgencyHint : hints[0] & ~UrgencyHint;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_HINTS,
                        XCB_ATOM_WM_HINTS, 32, WmHintsLength, hints.data());
    xcb_flush(connection);
}
