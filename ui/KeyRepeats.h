#pragma once

#include <QtGlobal>

class QKeyEvent;

// Tells a key press that only repeats a key held down from a key pressed afresh. Qt flags the
// repeats it recognises, but an X server repeats a held key as a release and a press of one
// moment, and Qt takes such a pair for a fresh press when it is not yet read whole, as when
// the keyboard passes from a message box that closes to the window: Enter held at a question
// would answer it and start the cut again, and again. The pair's two halves carry one time.
//
// It also tells the first delivery of a key from the others. Qt hands a key to the control with
// the focus and then, while no one takes it, to the control's parents: the same key, which may
// find the focus elsewhere after a cut that it started. And where a screen reader listens,
// Qt's bridge to it (AT-SPI) holds each key back and hands the window a copy of it, which is
// not the window system's own delivery but carries its time.
class KeyRepeats
{
public:
    // Whether event is a key's first delivery; a later delivery of the same key (the same
    // event passed on, or a copy of it) is not. A key whose delivery ran something that met
    // other keys (a message box) is told of again once that returns, before Qt passes it on.
    bool isFirstDelivery(const QKeyEvent &event) const;
    void delivered(const QKeyEvent &event);
    // Takes in a key press or release, as delivered first; true for a press that repeats.
    bool repeats(const QKeyEvent &event);

private:
    int m_releasedKey = 0;
    quint64 m_releasedAt = 0;
    // The key delivered last.
    const QKeyEvent *m_last = nullptr;
    int m_lastType = 0;
    int m_lastKey = 0;
    quint64 m_lastAt = 0;
};
