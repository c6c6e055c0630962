#include "ui/TerminalPrompter.h"

#include "platform/StopSignals.h"
#include "tests/support/QtPrinters.h"

#include <QByteArray>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

namespace {

using Reply = Prompter::Reply;

const Prompter::Message Question {"a.bin already exists.\r\nOK replaces it; Cancel keeps it.",
                                  Prompter::Icon::Warning, Prompter::Buttons::OkCancel,
                                  Prompter::DefaultTitle, true};

// What the prompter wrote, and its answer to message with typed waiting at the terminal's input,
// or at a pipe's when terminal is false.
struct Asked
{
    Reply reply;
    QString said;
};

Asked ask(const Prompter::Message &message, const QByteArray &typed, bool terminal = true)
{
    int input = -1;
    int typing = -1;
    if (terminal) {
        EXPECT_EQ(::openpty(&typing, &input, nullptr, nullptr, nullptr), 0);
    } else {
        int ends[2];
        EXPECT_EQ(::pipe(ends), 0);
        input = ends[0];
        typing = ends[1];
    }
    EXPECT_EQ(::write(typing, typed.constData(), std::size_t(typed.size())), typed.size());
    // The end of what was typed: as a terminal that closed.
    if (!terminal)
        ::close(typing);
    char *buffer = nullptr;
    std::size_t length = 0;
    std::FILE *output = ::open_memstream(&buffer, &length);
    const Reply reply = TerminalPrompter(input, output).ask(message);
    std::fclose(output);
    const QString said = QString::fromUtf8(buffer, qsizetype(length));
    std::free(buffer);
    ::close(input);
    if (terminal)
        ::close(typing);
    return {reply, said};
}

TEST(TerminalPrompter, TellsEachLineAndTakesOnlyAClearAnswer)
{
    const QString told
        = "morlend: a.bin already exists.\nmorlend: OK replaces it; Cancel keeps it.\n";
    const QString prompt = "morlend: OK or Cancel? [y/N] ";
    struct Case
    {
        Prompter::Message message;
        QByteArray typed;
        Reply reply;
        QString said;
    };
    Prompter::Message okIsDefault = Question;
    okIsDefault.cancelIsDefault = false;
    const Case cases[] = {
        {Question, "y\n", Reply::Ok, told + prompt},
        {Question, " Yes \n", Reply::Ok, told + prompt},
        {Question, "n\n", Reply::Cancel, told + prompt},
        {Question, "\n", Reply::Cancel, told + prompt},
        {okIsDefault, "\n", Reply::Ok, told + "morlend: OK or Cancel? [Y/n] "},
        {Question, "maybe\nok\n", Reply::Ok, told + prompt + prompt},
        {{"Joined.", Prompter::Icon::Information}, "n\n", Reply::Ok, "morlend: Joined.\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        const Asked asked = ask(c.message, c.typed);
        EXPECT_EQ(asked.reply, c.reply);
        EXPECT_EQ(asked.said, c.said);
    }
}

// Without a terminal no one answers, whatever comes on the input: the answer is the safe one.
TEST(TerminalPrompter, AnswersCancelWhereNoOneCanAnswer)
{
    const Asked asked = ask(Question, "y\n", false);
    EXPECT_EQ(asked.reply, Reply::Cancel);
    EXPECT_EQ(asked.said,
              "morlend: a.bin already exists.\nmorlend: OK replaces it; Cancel keeps it.\n"
              "morlend: No one can answer here (standard input is no terminal), so the answer is "
              "Cancel.\n");
}

// A stop signal, or the end of the terminal's input, while it waits is a Cancel.
TEST(TerminalPrompter, AnswersCancelToAStopSignalWhileItWaits)
{
    StopSignals::install();
    {
        const StopSignals::DuringRun run;
        ::raise(SIGTERM);
        EXPECT_EQ(ask(Question, "").reply, Reply::Cancel);
    }
    EXPECT_EQ(ask(Question, "\x04").reply, Reply::Cancel);
}

} // namespace
