#include "controls/CopyOffer.h"

#include <QDropEvent>
#include <QGuiApplication>
#include <QWindow>

namespace {

// A drag event keeps the actions its source offers in a protected member without a setter.
struct OfferedActions : QDropEvent
{
    static Qt::DropActions &of(QDropEvent &event) { return event.*(&OfferedActions::m_actions); }
};

} // namespace

void CopyOffer::offerOn(QWindow &window)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    if (window.findChild<CopyOffer *>(QString(), Qt::FindDirectChildrenOnly))
        return;
    window.installEventFilter(new CopyOffer(&window));
}

bool CopyOffer::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        OfferedActions::of(*static_cast<QDropEvent *>(event)) |= Qt::CopyAction;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
