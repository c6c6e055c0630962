#pragma once

#include <QObject>

class QWindow;

// Adds a copy to what every drag over a window offers.
//
// On X11 a drop target may answer any drag with a copy, whatever its source asked for, and a
// file manager asked to move a file (Shift held) offers the move alone. Qt lets a target pick
// only among the actions the source offered, so without this a drop area that only copies
// could not take such a drag, nor one that turns into a move while it is over the area.
class CopyOffer : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Watches the drags over window, where the platform's drag protocol allows a copy answer.
    // A window is watched once, however often this is called.
    static void offerOn(QWindow &window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
