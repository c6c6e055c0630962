#pragma once

#include "engine/Prompter.h"

#include <QString>

#include <optional>

namespace modMorlend {

// What a join needs from whoever runs it besides its files: the user's answers, and whether to
// stop. A stop is asked for by Escape or by closing the window, or comes as a stop signal
// (SIGTERM, SIGINT, SIGHUP); once a signal came, no question is asked any more, since no one
// may be left to answer it.
class JoinControl
{
public:
    enum class StopReason
    {
        Escape,
        WindowClosed,
    };

    explicit JoinControl(Prompter &prompter);

    // The user's answer; Cancel without asking once the program was sent a stop signal.
    Prompter::Reply ask(const Prompter::Message &message);
    void requestStop(StopReason reason);
    // A join that starts again starts with no stop asked for.
    void forgetStop() { m_stopRequested.reset(); }
    bool stopAsked() const;
    // Why the join stopped, as the start of a sentence ("Escape was pressed").
    QString whyStopped() const;

private:
    Prompter &m_prompter;
    std::optional<StopReason> m_stopRequested;
};

} // namespace modMorlend
