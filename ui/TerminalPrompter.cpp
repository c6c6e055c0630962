#include "ui/TerminalPrompter.h"

#include "platform/StopSignals.h"

#include <QByteArray>
#include <QStringList>

#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace {

// The longest answer read; the rest of a longer line is read and left out.
constexpr qsizetype LongestAnswer = 64;

void print(std::FILE *output, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), output);
    std::fflush(output);
}

} // namespace

TerminalPrompter::TerminalPrompter(int input, std::FILE *output)
    : m_input(input)
    , m_output(output)
{
}

QString TerminalPrompter::forTerminal(const QString &text)
{
    QString shown;
    for (const QString &line : text.split(QStringLiteral("\r\n")))
        shown += QStringLiteral("morlend: ") + line + u'\n';
    return shown;
}

Prompter::Reply TerminalPrompter::ask(const Message &message)
{
    print(m_output, forTerminal(message.text));
    if (message.buttons == Buttons::Ok)
        return Reply::Ok;
    if (!::isatty(m_input)) {
        print(m_output,
              forTerminal(QStringLiteral("No one can answer here (standard input is no"
                                         " terminal), so the answer is Cancel.")));
        return Reply::Cancel;
    }
    const Reply byDefault = message.cancelIsDefault ? Reply::Cancel : Reply::Ok;
    for (;;) {
        print(m_output,
              byDefault == Reply::Cancel ? QStringLiteral("morlend: OK or Cancel? [y/N] ")
                                         : QStringLiteral("morlend: OK or Cancel? [Y/n] "));
        const std::optional<QString> line = readLine();
        if (!line) {
            print(m_output, QStringLiteral("\n"));
            return Reply::Cancel;
        }
        const QString answer = line->trimmed().toLower();
        if (answer.isEmpty())
            return byDefault;
        if (answer == u"y" || answer == u"yes" || answer == u"ok")
            return Reply::Ok;
        if (answer == u"n" || answer == u"no" || answer == u"cancel")
            return Reply::Cancel;
    }
}

std::optional<QString> TerminalPrompter::readLine()
{
    QByteArray line;
    for (;;) {
        pollfd waits[] = {{m_input, POLLIN, 0}, {StopSignals::wakeUpDescriptor(), POLLIN, 0}};
        const int ready = ::poll(waits, waits[1].fd >= 0 ? 2 : 1, -1);
        if (ready < 0 && errno != EINTR)
            return std::nullopt;
        if (StopSignals::received() != 0)
            return std::nullopt;
        if (ready > 0 && waits[1].revents != 0)
            StopSignals::drain();
        if (ready <= 0 || !(waits[0].revents & (POLLIN | POLLHUP)))
            continue;
        char byte = 0;
        const ssize_t count = ::read(m_input, &byte, 1);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return std::nullopt;
        if (byte == '\n')
            return QString::fromLocal8Bit(line);
        if (line.size() < LongestAnswer)
            line += byte;
    }
}
