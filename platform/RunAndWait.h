#pragma once

#include <QString>
#include <QStringList>

// A program and its arguments, each passed to the child as it stands: nothing is parsed or
// expanded by a shell on the way.
struct CommandLine
{
    QString program;
    QStringList arguments;
};

// How a child started by RunAndWait went.
enum class ChildRun
{
    NotStarted,
    Ended,
    // Still running when the time was up; it has been stopped, with everything it started.
    Stopped,
};

// Starts the command in workingFolder without a window and waits for it to end, at most
// timeoutMs milliseconds. The child reads nothing and its output goes nowhere.
ChildRun RunAndWait(const CommandLine &command, const QString &workingFolder, int timeoutMs);
