#pragma once

#include <QObject>

#include <functional>

class QEvent;

// The user's input while a run lets its window answer the desktop. Installed on windows for
// such a moment, it takes every key, click, pointer move and wheel turn the window system brings
// them before the window hands it to a control, and lets it go: nothing typed or clicked during a
// run acts after it (a held Enter would start the cut again, a held Escape end the program).
// Escape itself stops the run. Drags and drops are refused. Everything else (paints, exposes,
// moves, the window manager's requests) goes through.
class RunInput : public QObject
{
public:
    // What Escape does during the run.
    void setOnEscape(std::function<void()> onEscape) { m_onEscape = std::move(onEscape); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<void()> m_onEscape;
};
