#include "engine/JoinControl.h"

#include "platform/StopSignals.h"

namespace modMorlend {

JoinControl::JoinControl(Prompter &prompter)
    : m_prompter(prompter)
{
}

Prompter::Reply JoinControl::ask(const Prompter::Message &message)
{
    if (StopSignals::received() != 0)
        return Prompter::Reply::Cancel;
    return m_prompter.ask(message);
}

void JoinControl::requestStop(StopReason reason)
{
    if (!m_stopRequested)
        m_stopRequested = reason;
}

bool JoinControl::stopAsked() const
{
    return m_stopRequested || StopSignals::received() != 0;
}

QString JoinControl::whyStopped() const
{
    if (const int signal = StopSignals::received())
        return QStringLiteral("Morlend was sent %1")
            .arg(QLatin1StringView(StopSignals::nameOf(signal)));
    return m_stopRequested == StopReason::Escape ? QStringLiteral("Escape was pressed")
                                                 : QStringLiteral("The window is being closed");
}

} // namespace modMorlend
