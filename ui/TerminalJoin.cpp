#include "ui/TerminalJoin.h"

#include "engine/JoinRun.h"
#include "engine/RunControl.h"
#include "engine/SizeText.h"
#include "platform/Platform.h"
#include "platform/StopSignals.h"
#include "ui/TerminalPrompter.h"

#include <QElapsedTimer>

#include <cstdio>
#include <unistd.h>

using namespace modMorlend;

namespace {

// How often the progress is written at most: often enough to be seen moving, seldom enough to
// cost nothing beside a join of thousands of small pieces.
constexpr qint64 ProgressInterval = 100;

// The progress on one line of a terminal, written over as it grows and gone when the whole is
// written. Where standard error is no terminal (a log, a pipe) nothing is written.
class ProgressLine
{
public:
    ProgressLine()
        : m_shown(::isatty(2))
    {
    }

    void show(qint64 written, qint64 length)
    {
        if (written >= length) {
            clear();
            return;
        }
        if (!m_shown || (m_clock.isValid() && m_clock.elapsed() < ProgressInterval))
            return;
        m_clock.start();
        const QByteArray line = QStringLiteral("\rmorlend: joined %1%, %2 of %3")
                                    .arg(length > 0 ? written * 100 / length : 100)
                                    .arg(formatBytes(written), formatBytes(length))
                                    .toLocal8Bit();
        std::fputs(line.constData(), stderr);
        // A shorter line leaves the end of a longer one otherwise.
        for (qsizetype extra = m_width - line.size(); extra > 0; --extra)
            std::fputc(' ', stderr);
        m_width = line.size();
        std::fflush(stderr);
    }

    void clear()
    {
        if (m_width == 0)
            return;
        std::fprintf(stderr, "\r%*s\r", int(m_width), "");
        std::fflush(stderr);
        m_width = 0;
    }

private:
    bool m_shown;
    QElapsedTimer m_clock;
    qsizetype m_width = 0;
};

// What a join asks, on lines of their own below the progress, which goes first: a disk prompt
// comes in the middle of a join from floppies.
class QuestionsBelowProgress : public Prompter
{
public:
    QuestionsBelowProgress(Prompter &prompter, ProgressLine &progress)
        : m_prompter(prompter)
        , m_progress(progress)
    {
    }

    Reply ask(const Message &message) override
    {
        m_progress.clear();
        return m_prompter.ask(message);
    }

private:
    Prompter &m_prompter;
    ProgressLine &m_progress;
};

} // namespace

int joinInTerminal(const JoinRequest &request)
{
    StopSignals::install();
    TerminalPrompter terminal;
    ProgressLine progress;
    QuestionsBelowProgress prompter(terminal, progress);
    RunControl control(prompter);
    Platform platform;
    JoinRun run(control, platform);
    const JoinOutcome outcome = run.join(
        request, [&progress](qint64 written, qint64 length) { progress.show(written, length); });
    progress.clear();
    const QByteArray said = TerminalPrompter::forTerminal(outcome.message).toLocal8Bit();
    std::fputs(said.constData(), stderr);
    std::fflush(stderr);
    if (outcome.kind == JoinOutcome::Kind::Stopped && StopSignals::received() != 0)
        StopSignals::endAsReceived();
    return int(outcome.kind);
}
