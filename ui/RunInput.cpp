#include "ui/RunInput.h"

#include <QEvent>
#include <QKeyEvent>

bool RunInput::eventFilter(QObject *watched, QEvent *event)
{
    if (!watched->isWidgetType() && !watched->isWindowType())
        return false;
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Taken as a key of the focused control's own, so that no shortcut acts on it now; the
        // key press itself follows and goes too.
        event->accept();
        return true;
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape && m_onEscape)
            m_onEscape();
        return true;
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        // A drop's data lasts only as long as its drag, so it cannot wait: the drag is
        // refused, and its source learns so.
        event->ignore();
        return true;
    case QEvent::InputMethod:
        return true;
    default:
        return event->isInputEvent();
    }
}
