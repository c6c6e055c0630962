#pragma once

#include "engine/Prompter.h"

#include <optional>

namespace modMorlend {

class EngineView;

// What the user and the session have to say to a run while it goes on: the answers to the
// messages and questions it shows them, and their request that it stop. A run lives inside the
// window's thread, so both come to it here rather than as events. Any operation on a set of
// pieces talks to the user through one of these.
class RunControl
{
public:
    // Why the user stops a run.
    enum class StopReason
    {
        WindowClosed,
        Escape,
    };

    RunControl(EngineView &view, Prompter &prompter);
    // For an operation with no window of the engine's to yield to a message: the join, in a
    // terminal or in a small window of its own.
    explicit RunControl(Prompter &prompter);

    // Shows message over the window as it stands and returns the answer. A program told to stop
    // by its session has no one left to answer: the message goes to the standard error, and a
    // question is declined. Once a stop is asked for, every answer is Cancel.
    [[nodiscard]] Prompter::Reply ask(const Prompter::Message &message);
    // Shows message; what the user answers does not matter.
    void tell(const Prompter::Message &message);
    // Asks the run to stop at its next step; the first reason given is the one it tells.
    void requestStop(StopReason reason);
    // Whether the run is to stop: the user asked for it, or the program was sent a stop signal.
    [[nodiscard]] bool stopAsked() const;
    // Who stopped the run, as a message begins: "Escape was pressed", "Morlend was sent
    // SIGTERM", "The window is being closed".
    QString whoStopped() const;

private:
    EngineView *m_view = nullptr;
    Prompter &m_prompter;
    std::optional<StopReason> m_stopRequested;
};

} // namespace modMorlend
