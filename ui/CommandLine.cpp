#include "ui/CommandLine.h"

#include "engine/PathHelpers.h"
#include "generated/MorlendVersion.h"
#include "ui/JoinWindow.h"
#include "ui/TerminalJoin.h"
#include "ui/TerminalPrompter.h"

#include <QDir>
#include <QFile>

#include <cstdio>

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

// The whole path that argument names, or why it names none.
std::optional<QString> wholePath(const QByteArray &argument, const QByteArray &currentFolder,
                                 QString &wrong)
{
    const QString text = QFile::decodeName(argument);
    if (text.isEmpty()) {
        wrong = QStringLiteral("an empty name names no file");
        return std::nullopt;
    }
    // A name in another encoding than the system's would read as another name, or none.
    if (QFile::encodeName(text) != argument) {
        wrong = text + QStringLiteral(" is not text in this system's encoding (UTF-8)");
        return std::nullopt;
    }
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
    const auto wrong = [](const QString &why) {
        CommandLineRequest wrongOne;
        wrongOne.action = Action::Wrong;
        wrongOne.wrong = why;
        return wrongOne;
    };
    std::optional<Action> join;
    bool folderGiven = false;
    for (qsizetype at = 0; at < arguments.size(); ++at) {
        const QByteArray &argument = arguments[at];
        const qsizetype equals = argument.indexOf('=');
        const QByteArray option = optionOf(argument);
        if (option == "--help" || option == "-h" || option == "--version") {
            if (equals >= 0)
                return wrong(QFile::decodeName(option) + QStringLiteral(" takes no value"));
            CommandLineRequest asked;
            asked.action = option == "--version" ? Action::Version : Action::Help;
            return asked;
        }
        if (option == "--remove-pieces") {
            if (equals >= 0)
                return wrong(QStringLiteral("--remove-pieces takes no value"));
            request.join.removePieces = true;
            continue;
        }
        if (option != "--join" && option != "--join-window" && option != "--to") {
            return wrong(QFile::decodeName(argument)
                         + QStringLiteral(" is none of the options, and a file is given to the"
                                          " window without them"));
        }
        QByteArray value;
        if (equals >= 0)
            value = argument.mid(equals + 1);
        else if (at + 1 < arguments.size())
            value = arguments[++at];
        else
            return wrong(QFile::decodeName(option) + QStringLiteral(" needs a name after it"));
        QString why;
        const std::optional<QString> path = wholePath(value, currentFolder, why);
        if (!path)
            return wrong(why);
        if (option == "--to") {
            if (folderGiven)
                return wrong(QStringLiteral("--to is given twice"));
            folderGiven = true;
            request.join.folder = *path;
            continue;
        }
        if (join)
            return wrong(QStringLiteral("one script is joined at a time"));
        join = option == "--join" ? Action::Join : Action::JoinWindow;
        request.join.scriptPath = *path;
    }
    if (!join)
        return wrong(QStringLiteral("--to and --remove-pieces go with --join"));
    request.action = *join;
    return request;
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
        "  6  joined, but some pieces or the script were kept\n"
        "  SIGTERM, SIGINT or SIGHUP stop the join with nothing written, and end the program as\n"
        "  the signal ends it (a shell shows 130 after Ctrl+C).\n");
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
