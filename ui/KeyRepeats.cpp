#include "ui/KeyRepeats.h"

#include <QKeyEvent>

bool KeyRepeats::isFirstDelivery(const QKeyEvent &event) const
{
    // A key made by a program rather than the window system carries no time: only the event
    // itself, passed on, is the same key.
    return event.type() != m_lastType || event.key() != m_lastKey || event.timestamp() != m_lastAt
        || (event.timestamp() == 0 && &event != m_last);
}

void KeyRepeats::delivered(const QKeyEvent &event)
{
    m_last = &event;
    m_lastType = event.type();
    m_lastKey = event.key();
    m_lastAt = event.timestamp();
}

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
