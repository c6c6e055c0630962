#include "ui/CommandLine.h"

#include "engine/PathHelpers.h"
#include "generated/MorlendVersion.h"
#include "ui/JoinWindow.h"
#include "ui/TerminalJoin.h"
#include "ui/TerminalPrompter.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <utility>

using Action = CommandLineRequest::Action;

namespace {

// The exit status of a command line that is wrong, as command-line programs have it.
constexpr int WrongCommandLine = 2;

// The option of an argument, without the value it may give after "=".
QByteArray optionOf(const QByteArray &argument)
{
    const qsizetype equals = argument.indexOf('=');
    return equals < 0 ? argument : argument.first(equals);
}

// The options that have the command line read here rather than handed to the window.
bool isOwnOption(const QByteArray &argument)
{
    static const QList<QByteArray> options {
        "--join", "--join-window", "--to", "--remove-pieces", "--help", "-h", "--version"};
    return options.contains(optionOf(argument));
}

// Why a command line asks for nothing the program does.
struct WrongLine
{
    QString why;
};

// The value the option at arguments[at] gives, after "=" or as the next argument (at moves on
// to it).
QByteArray valueOf(const QList<QByteArray> &arguments, qsizetype &at)
{
    const QByteArray &argument = arguments[at];
    if (const qsizetype equals = argument.indexOf('='); equals >= 0)
        return argument.mid(equals + 1);
    if (at + 1 == arguments.size())
        throw WrongLine {QFile::decodeName(argument) + QStringLiteral(" needs a name after it")};
    return arguments[++at];
}

// The whole path that argument names.
QString wholePath(const QByteArray &argument, const QByteArray &currentFolder)
{
    const QString text = QFile::decodeName(argument);
    if (text.isEmpty())
        throw WrongLine {QStringLiteral("an empty name names no file")};
    // A name in another encoding than the system's would read as another name, or none.
    if (QFile::encodeName(text) != argument)
        throw WrongLine {text + QStringLiteral(" is not text in this system's encoding (UTF-8)")};
    return modMorlend::normalizedFolder(
        text.startsWith(u'/') ? text : QFile::decodeName(currentFolder) + u'/' + text);
}

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace

CommandLineRequest CommandLineRequest::read(const QList<QByteArray> &arguments,
                                            const QByteArray &currentFolder)
{
    CommandLineRequest request;
    if (std::none_of(arguments.cbegin(), arguments.cend(), isOwnOption))
        return request;
    try {
        request.readOptions(arguments, currentFolder);
    } catch (const WrongLine &wrongLine) {
        request = {};
        request.action = Action::Wrong;
        request.wrong = wrongLine.why;
    }
    return request;
}

void CommandLineRequest::readOptions(const QList<QByteArray> &arguments,
                                     const QByteArray &currentFolder)
{
    std::optional<Action> joining;
    bool folderGiven = false;
    for (qsizetype at = 0; at < arguments.size(); ++at) {
        const QByteArray option = optionOf(arguments[at]);
        const bool valueGiven = option.size() < arguments[at].size();
        if (option == "--help" || option == "-h" || option == "--version"
            || option == "--remove-pieces") {
            if (valueGiven)
                throw WrongLine {QFile::decodeName(option) + QStringLiteral(" takes no value")};
            if (option != "--remove-pieces") {
                action = option == "--version" ? Action::Version : Action::Help;
                join = {};
                return;
            }
            join.removePieces = true;
            continue;
        }
        if (option != "--join" && option != "--join-window" && option != "--to") {
            throw WrongLine {QFile::decodeName(arguments[at])
                             + QStringLiteral(" is none of the options, and a file is given to"
                                              " the window without them")};
        }
        const QString path = wholePath(valueOf(arguments, at), currentFolder);
        if (option == "--to") {
            if (std::exchange(folderGiven, true))
                throw WrongLine {QStringLiteral("--to is given twice")};
            join.folder = path;
            continue;
        }
        if (joining)
            throw WrongLine {QStringLiteral("one script is joined at a time")};
        joining = option == "--join" ? Action::Join : Action::JoinWindow;
        join.scriptPath = path;
    }
    if (!joining)
        throw WrongLine {QStringLiteral("--to and --remove-pieces go with --join")};
    action = *joining;
}

QString commandLineHelp()
{
    return QStringLiteral(
        "Usage: morlend [FILE]\n"
        "       morlend --join SCRIPT [--to FOLDER] [--remove-pieces]\n"
        "       morlend --join-window SCRIPT [--to FOLDER] [--remove-pieces]\n"
        "\n"
        "Without options, opens the window that cuts a file into pieces; a FILE given is taken\n"
        "as if it were dropped on it.\n"
        "\n"
        "  --join SCRIPT         join the pieces of the join script SCRIPT (NAME.bat, as a cut\n"
        "                        writes it) into NAME beside them, in the terminal; nothing in\n"
        "                        the script is run\n"
        "  --join-window SCRIPT  the same in a small window, as a file manager's \"Join pieces\"\n"
        "  --to FOLDER           write the joined file into FOLDER instead\n"
        "  --remove-pieces       remove the pieces and the script once the file is joined\n"
        "  --help                show this help\n"
        "  --version             show the version\n"
        "\n"
        "A script in the root of the floppy, drive A:, whose disk lacks pieces joins them from\n"
        "floppy disks, asking for each disk in turn; --to FOLDER, off the floppy, is needed.\n"
        "\n"
        "Progress and messages go to standard error. A file of the joined name is replaced only\n"
        "when you answer y at the terminal; without a terminal to answer, it is kept.\n"
        "\n"
        "Exit status of --join:\n"
        "  0  joined\n"
        "  1  reading a piece or writing the joined file failed; nothing was written\n"
        "  2  the command line is wrong\n"
        "  3  SCRIPT is not a join script as Morlend writes it, or its set is incomplete\n"
        "  4  a piece is missing or not of its length, or the folder cannot take the joined file\n"
        "  5  a file of the joined name was kept, and nothing was written\n"
        "  6  joined, but some pieces or the script were kept (pieces on floppy disks stay)\n"
        "  7  cancelled at a disk prompt, or stopped in the window; nothing was written\n"
        "  SIGTERM, SIGINT or SIGHUP stop the join with nothing written, and end the program as\n"
        "  the signal ends it (a shell shows 130 after Ctrl+C).\n"
        "--join-window ends with the status of the last join it ended, or 0 when none ended.\n");
}

std::optional<int> runCommandLine(int &argc, char **argv)
{
    QList<QByteArray> arguments;
    for (int at = 1; at < argc; ++at)
        arguments << QByteArray(argv[at]);
    const CommandLineRequest request
        = CommandLineRequest::read(arguments, QFile::encodeName(QDir::currentPath()));
    switch (request.action) {
    case Action::Window:
        return std::nullopt;
    case Action::Join:
        return joinInTerminal(request.join);
    case Action::JoinWindow:
        return runJoinWindow(argc, argv, request.join);
    case Action::Help:
        print(stdout, commandLineHelp());
        return 0;
    case Action::Version:
        print(stdout,
              QStringLiteral("Morlend %1.%2.%3\n")
                  .arg(MorlendVersionMajor)
                  .arg(MorlendVersionMinor)
                  .arg(MorlendVersionRevision));
        return 0;
    case Action::Wrong:
        break;
    }
    print(stderr,
          TerminalPrompter::forTerminal(request.wrong + u'.')
              + QStringLiteral("Try 'morlend --help'.\n"));
    return WrongCommandLine;
}
