#include "ui/KeyRepeats.h"

#include <QKeyEvent>

bool KeyRepeats::repeats(const QKeyEvent &event)
{
    if (event.type() == QEvent::KeyRelease) {
        m_releasedKey = event.key();
        m_releasedAt = event.timestamp();
        return false;
    }
    // A key event made by a program rather than the window system carries no time.
    const bool releasedThisMoment = event.timestamp() != 0 && event.key() == m_releasedKey
        && event.timestamp() == m_releasedAt;
    return event.isAutoRepeat() || releasedThisMoment;
}
