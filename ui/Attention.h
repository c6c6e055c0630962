#pragma once

#include <QObject>

class QWidget;

// Draws the user's attention to a window of the program that the user left, the desktop's way
// (its entry in the task bar blinks or is marked), without taking the focus. Qt's alert sets
// the window's EWMH state, which some window managers (Openbox among them) take from no
// program; on X11 the window also sets the urgency hint of its WM_HINTS, which every window
// manager reads, and takes it back once the window is active again.
class Attention : public QObject
{
public:
    explicit Attention(QWidget &window);

    // Asks for attention when no window of the program is active; does nothing otherwise.
    void ask();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setUrgencyHint(bool urgent);

    QWidget &m_window;
    bool m_urgent = false;
};
