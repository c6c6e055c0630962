#include "ui/HeldInput.h"

#include <QCoreApplication>
#include <QEvent>

#include <utility>

HeldInput::HeldInput() = default;

HeldInput::~HeldInput() = default;

void HeldInput::handBack()
{
    for (Held &held : std::exchange(m_held, {})) {
        if (held.receiver)
            QCoreApplication::postEvent(held.receiver, held.event.release());
    }
}

void HeldInput::drop()
{
    m_held.clear();
}

bool HeldInput::eventFilter(QObject *watched, QEvent *event)
{
    if (!watched->isWidgetType() && !watched->isWindowType())
        return false;
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Taken as a key of the focused control's own, so that no shortcut acts on it now; the
        // key press itself follows and is held.
        event->accept();
        return true;
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        // A drop's data lasts only as long as its drag, so it cannot wait: the drag is
        // refused, and its source learns so.
        event->ignore();
        return true;
    case QEvent::Leave:
    case QEvent::InputMethod:
        break;
    default:
        if (!event->isInputEvent())
            return false;
    }
    m_held.push_back({watched, std::unique_ptr<QEvent>(event->clone())});
    return true;
}
