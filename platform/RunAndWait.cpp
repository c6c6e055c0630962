#include "platform/RunAndWait.h"

#include <QProcess>

#include <csignal>
#include <unistd.h>

ChildRun RunAndWait(const CommandLine &command, const QString &workingFolder, int timeoutMs)
{
    QProcess child;
    child.setProgram(command.program);
    child.setArguments(command.arguments);
    child.setWorkingDirectory(workingFolder);
    child.setStandardInputFile(QProcess::nullDevice());
    child.setStandardOutputFile(QProcess::nullDevice());
    child.setStandardErrorFile(QProcess::nullDevice());
    // A group of its own lets a child that overstays be stopped together with its own children.
    child.setChildProcessModifier([] { ::setpgid(0, 0); });
    child.start();
    if (!child.waitForStarted(-1))
        return ChildRun::NotStarted;
    if (child.waitForFinished(timeoutMs) || child.state() == QProcess::NotRunning)
        return ChildRun::Ended;
    ::kill(-pid_t(child.processId()), SIGKILL);
    child.waitForFinished(-1);
    return ChildRun::Stopped;
}
