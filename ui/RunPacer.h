#pragma once

#include "ui/RunInput.h"

#include <QtGlobal>

#include <functional>

class QWidget;

// Keeps a window shown and answering its desktop while a long run holds its thread. The run
// draws into the window after every step; at most once per frame of the window's screen, the
// drawing is handed to the display and the window gets what the window system and the desktop
// sent it meanwhile: exposes, moves, the window manager's ping, a request to close, and calls
// posted to it. The user's keys and clicks go unanswered, but for Escape, which stops the run;
// drags are refused. Timers wait.
class RunPacer
{
public:
    // Nanoseconds from some fixed moment on.
    using Clock = std::function<qint64()>;

    explicit RunPacer(QWidget &window);

    // Tests pace with a clock of their own.
    void setClock(Clock clock) { m_clock = std::move(clock); }

    // After a step of the run: once a frame is due, shows the window and lets it answer.
    void pace();
    // Hands what was drawn into the window to the display now.
    void show();
    // What Escape does during a run.
    void setOnEscape(std::function<void()> onEscape) { m_input.setOnEscape(std::move(onEscape)); }
    // The run ends, or leaves the window to a message box: what the user typed or clicked since
    // the last frame goes too, rather than act after the run or on the box.
    void dropPendingInput() { answer(); }

private:
    void answer();
    qint64 frameInterval() const;

    QWidget &m_window;
    Clock m_clock;
    qint64 m_nextFrame = 0;
    bool m_answering = false;
    RunInput m_input;
};
