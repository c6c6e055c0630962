#pragma once

#include "engine/JoinRun.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// What the program's command line asks for.
struct CommandLineRequest
{
    enum class Action
    {
        // The main window, given the file argument, if any, as ever.
        Window,
        // A join in the terminal, without a display.
        Join,
        // The same in a small window, as a file manager's "Join pieces" starts it.
        JoinWindow,
        Help,
        Version,
        // A command line that asks for nothing the program does.
        Wrong,
    };

    Action action = Action::Window;
    // What a join is asked to do, its paths whole.
    modMorlend::JoinRequest join;
    // Why the command line is wrong.
    QString wrong;

    // Reads the arguments after the program's name, taking relative paths from currentFolder.
    // Only a command line with one of the program's own options is read so; any other opens the
    // main window as it always did (with Qt's own options, and the file it is given).
    static CommandLineRequest read(const QList<QByteArray> &arguments,
                                   const QByteArray &currentFolder);

private:
    // Reads a command line of the program's own options into this request.
    void readOptions(const QList<QByteArray> &arguments, const QByteArray &currentFolder);
};

// What --help prints.
QString commandLineHelp();

// Does what the command line asks where that is not the main window, and returns the program's
// exit status; none for the main window. A join in the terminal makes no application object of
// Qt's at all, so it needs no display.
std::optional<int> runCommandLine(int &argc, char **argv);
