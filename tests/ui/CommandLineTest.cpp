#include "ui/CommandLine.h"

#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using Action = CommandLineRequest::Action;

// The command lines that ask for a join, for help or for the version, and those that are wrong;
// any other is the window's, as it always was.
TEST(CommandLine, ReadsTheJoinsOptionsAndLeavesEverythingElseToTheWindow)
{
    struct Case
    {
        QList<QByteArray> arguments;
        Action action;
        QString script = {};
        QString folder = {};
        bool removePieces = false;
        QString wrong = {};
    };
    const Case cases[] = {
        {{}, Action::Window},
        {{"clip.avi"}, Action::Window},
        {{"-platform", "offscreen", "--jion", "clip.avi"}, Action::Window},
        {{"--join", "clip.avi.bat"}, Action::Join, "/home/you/clip.avi.bat"},
        {{"--join=/mnt/a//clip.avi.bat", "--to", "out/", "--remove-pieces"},
         Action::Join,
         "/mnt/a/clip.avi.bat",
         "/home/you/out",
         true},
        {{"--remove-pieces", "--to=/tmp", "--join-window", "../x.bat"},
         Action::JoinWindow,
         "/home/you/../x.bat",
         "/tmp",
         true},
        {{"--join", "a.bat", "--help"}, Action::Help},
        {{"-h"}, Action::Help},
        {{"--version", "--join"}, Action::Version},
        {{"--join"}, Action::Wrong, {}, {}, false, "--join needs a name after it"},
        {{"--join", ""}, Action::Wrong, {}, {}, false, "an empty name names no file"},
        {{"--join", "caf\xe9.bat"},
         Action::Wrong,
         {},
         {},
         false,
         "caf\ufffd.bat is not text in this system's encoding (UTF-8)"},
        {{"--to", "out"}, Action::Wrong, {}, {}, false, "--to and --remove-pieces go with --join"},
        {{"--join", "a.bat", "--join-window", "b.bat"},
         Action::Wrong,
         {},
         {},
         false,
         "one script is joined at a time"},
        {{"--join", "a.bat", "--to", "x", "--to", "y"},
         Action::Wrong,
         {},
         {},
         false,
         "--to is given twice"},
        {{"--join", "a.bat", "b.bat"},
         Action::Wrong,
         {},
         {},
         false,
         "b.bat is none of the options, and a file is given to the window without them"},
        {{"--remove-pieces=yes", "--join", "a.bat"},
         Action::Wrong,
         {},
         {},
         false,
         "--remove-pieces takes no value"},
        {{"--version=2"}, Action::Wrong, {}, {}, false, "--version takes no value"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(QByteArrayList(c.arguments).join(' ').toStdString());
        const CommandLineRequest request = CommandLineRequest::read(c.arguments, "/home/you");
        EXPECT_EQ(request.action, c.action);
        EXPECT_EQ(request.join.scriptPath, c.script);
        EXPECT_EQ(request.join.folder, c.folder);
        EXPECT_EQ(request.join.removePieces, c.removePieces);
        EXPECT_EQ(request.wrong, c.wrong);
    }
}

} // namespace
