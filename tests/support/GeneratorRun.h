#pragma once

#include <QProcess>
#include <QString>

#include <gtest/gtest.h>

// Runs a Python generator that writes into the folder it is given; fails with what it printed
// on its error output when it does not end well within a minute.
inline ::testing::AssertionResult generatorWritesInto(const QString &python, const QString &script,
                                                      const QString &folder)
{
    QProcess generator;
    generator.start(python, {script, folder});
    if (!generator.waitForFinished(60000))
        return ::testing::AssertionFailure() << "the generator did not end";
    if (generator.exitStatus() != QProcess::NormalExit || generator.exitCode() != 0)
        return ::testing::AssertionFailure() << generator.readAllStandardError().toStdString();
    return ::testing::AssertionSuccess();
}
