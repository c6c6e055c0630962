#include "platform/RunAndWait.h"

#include "tests/support/QtPrinters.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

class RunAndWaitTest : public ::testing::Test
{
protected:
    CommandLine script(const QString &body)
    {
        const QString file = dir.filePath("child.sh");
        TestFiles::write(file, body.toUtf8());
        return {"/bin/sh", {file, "first argument"}};
    }

    QTemporaryDir dir;
};

TEST_F(RunAndWaitTest, RunsTheChildInTheGivenFolderWithItsArgumentsUntilItEnds)
{
    QDir(dir.path()).mkdir("work");
    const ChildRun run = RunAndWait(script("sleep 0.2; pwd > out.txt; echo \"$1\" >> out.txt"),
                                    dir.filePath("work"), 5000);
    EXPECT_EQ(run, ChildRun::Ended);
    EXPECT_EQ(TestFiles::read(dir.filePath("work/out.txt")),
              (dir.filePath("work") + "\nfirst argument\n").toUtf8());
}

TEST_F(RunAndWaitTest, ReportsAProgramThatCannotStart)
{
    EXPECT_EQ(RunAndWait({dir.filePath("missing"), {}}, dir.path(), 5000), ChildRun::NotStarted);
}

TEST_F(RunAndWaitTest, StopsAChildThatOverstaysWithEverythingItStarted)
{
    QElapsedTimer clock;
    clock.start();
    const ChildRun run
        = RunAndWait(script("(sleep 1; touch late.txt) & sleep 30"), dir.path(), 300);
    EXPECT_EQ(run, ChildRun::Stopped);
    EXPECT_LT(clock.elapsed(), 5000);
    QThread::msleep(1500);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("late.txt"))) << "the grandchild was stopped too";
}

} // namespace
