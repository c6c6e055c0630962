#include "engine/RunControl.h"

#include "engine/EngineView.h"
#include "engine/LineEnd.h"
#include "platform/StopSignals.h"

#include <cstdio>

using namespace Qt::StringLiterals;

namespace modMorlend {

RunControl::RunControl(EngineView &view, Prompter &prompter)
    : m_view(&view)
    , m_prompter(prompter)
{
}

RunControl::RunControl(Prompter &prompter)
    : m_prompter(prompter)
{
}

Prompter::Reply RunControl::ask(const Prompter::Message &message)
{
    if (StopSignals::received() != 0) {
        const QString line = QString(message.text).replace(LineEnd, u" "_s);
        std::fprintf(stderr, "Morlend: %s\n", qPrintable(line));
        return Prompter::Reply::Cancel;
    }
    // The box comes over the window as it stands, and takes the keys and clicks from now on.
    if (m_view)
        m_view->yieldToMessage();
    const Prompter::Reply reply = m_prompter.ask(message);
    // A window closed while the box waited: whatever the answer, the run goes no further.
    return stopAsked() ? Prompter::Reply::Cancel : reply;
}

void RunControl::tell(const Prompter::Message &message)
{
    (void)ask(message);
}

void RunControl::requestStop(StopReason reason)
{
    if (!m_stopRequested)
        m_stopRequested = reason;
}

bool RunControl::stopAsked() const
{
    return m_stopRequested || StopSignals::received() != 0;
}

QString RunControl::whoStopped() const
{
    if (const int signal = StopSignals::received(); signal != 0)
        return u"Morlend was sent %1"_s.arg(QLatin1StringView(StopSignals::nameOf(signal)));
    return m_stopRequested == StopReason::Escape ? u"Escape was pressed"_s
                                                 : u"The window is being closed"_s;
}

} // namespace modMorlend
