#pragma once

#include "engine/Prompter.h"

#include <QString>

#include <cstdio>
#include <optional>

// Asks in the terminal: the message on standard error, and a question's answer read from
// standard input. Where standard input is no terminal, no one is there to answer, and a
// question gets the safe answer, Cancel; so it does when the program is sent a stop signal
// while it waits.
class TerminalPrompter : public Prompter
{
public:
    // Tests hand it descriptors and a stream of their own.
    explicit TerminalPrompter(int input = 0, std::FILE *output = stderr);

    Reply ask(const Message &message) override;

    // text as a terminal shows it: lines end in a line feed, each of them after "morlend: ".
    static QString forTerminal(const QString &text);

private:
    // A line typed at the terminal; none at its end, or when a stop signal comes first.
    std::optional<QString> readLine();

    int m_input;
    std::FILE *m_output;
};
