#pragma once

#include <QtGlobal>

#include <functional>

class QWidget;

// Paces what a long run on the user-interface thread shows of its window. The run draws into
// the window after every step; at most once per frame of the window's screen, the drawing is
// handed to the display.
class RunPacer
{
public:
    // Nanoseconds from some fixed moment on.
    using Clock = std::function<qint64()>;

    explicit RunPacer(QWidget &window);

    // Tests pace with a clock of their own.
    void setClock(Clock clock) { m_clock = std::move(clock); }

    // After a step of the run: once a frame is due, shows the window.
    void pace();
    // Hands what was drawn into the window to the display now.
    void show();

private:
    qint64 frameInterval() const;

    QWidget &m_window;
    Clock m_clock;
    qint64 m_nextFrame = 0;
};
