#pragma once

#include <QtGlobal>

class QKeyEvent;

// Tells a key press that only repeats a key held down from a key pressed afresh. Qt flags the
// repeats it recognises, but an X server repeats a held key as a release and a press of one
// moment, and Qt takes such a pair for a fresh press when it is not yet read whole, as when
// the keyboard passes from a message box that closes to the window: Enter held at a question
// would answer it and start the cut again, and again. The pair's two halves carry one time.
class KeyRepeats
{
public:
    // Takes in a key press or release, as delivered first; true for a press that repeats.
    bool repeats(const QKeyEvent &event);

private:
    int m_releasedKey = 0;
    quint64 m_releasedAt = 0;
};
