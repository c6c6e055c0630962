#include "platform/Platform.h"

#include "platform/AppError.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(Platform, ResolvesTheFloppysNameToWhereItIsMounted)
{
    Platform platform;
    platform.setFloppyMountPoint("/media/disk");
    EXPECT_EQ(platform.resolve("A:"), "/media/disk");
    EXPECT_EQ(platform.resolve("a:\\parts\\clip.avi.1"), "/media/disk/parts/clip.avi.1");
    EXPECT_EQ(platform.resolve("a:/clip.avi.1"), "/media/disk/clip.avi.1");
    EXPECT_EQ(platform.resolve("A:clip"), "A:clip") << "the run reads a name, never resolves it";
    EXPECT_EQ(platform.resolve("/tmp/A:/x"), "/tmp/A:/x");
    EXPECT_EQ(platform.resolve("D:/x"), "D:/x");

    // No floppy, or two of which either could be meant.
    const FloppyDrive::Lookup lookups[] = {
        {},
        {{{"/media/a", "/dev/fd0", false}, {"/media/b", "/dev/sdb", false}}, {}},
    };
    for (const FloppyDrive::Lookup &lookup : lookups) {
        platform.setFloppyLookup(lookup);
        EXPECT_EQ(platform.resolve("/tmp/x"), "/tmp/x") << "other paths need no floppy";
        try {
            platform.resolve("A:/clip.avi.1");
            ADD_FAILURE() << "no floppy is taken for the drive";
        } catch (const AppError &error) {
            EXPECT_EQ(error.number(), AppError::DiskNotReady);
            EXPECT_EQ(error.description(), "Disk not ready");
        }
    }
}

TEST(Platform, KnowsWhatLiesOnTheFloppy)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("floppy/sub");
    QDir(dir.path()).mkpath("floppy2");
    TestFiles::write(dir.filePath("floppy/sub/clip.avi"), "x");
    TestFiles::write(dir.filePath("beside.avi"), "x");
    ASSERT_TRUE(QFile::link(dir.filePath("floppy/sub/clip.avi"), dir.filePath("link.avi")));
    Platform platform;
    platform.setFloppyMountPoint(dir.filePath("floppy"));

    EXPECT_TRUE(platform.isOnFloppy("a:/anything"));
    EXPECT_TRUE(platform.isOnFloppy(dir.filePath("floppy/sub/clip.avi")));
    EXPECT_TRUE(platform.isOnFloppy(dir.filePath("floppy/sub/../sub")));
    EXPECT_TRUE(platform.isOnFloppy(dir.filePath("link.avi"))) << "a link leads onto the floppy";
    EXPECT_FALSE(platform.isOnFloppy(dir.filePath("beside.avi")));
    EXPECT_FALSE(platform.isOnFloppy(dir.filePath("floppy2"))) << "a name that only begins alike";
    EXPECT_TRUE(platform.isOnFloppy(dir.filePath("floppy/missing/folder")))
        << "a folder yet to be made lies where its parent lies";

    // With two floppies mounted, a file on either is on a floppy.
    platform.setFloppyLookup(
        {{{dir.filePath("floppy2"), {}, false}, {dir.filePath("floppy"), {}, false}}, {}});
    EXPECT_TRUE(platform.isOnFloppy(dir.filePath("floppy/sub/clip.avi")));
    EXPECT_TRUE(platform.isOnFloppy(dir.filePath("floppy2")));

    platform.setFloppyMountPoint("");
    EXPECT_TRUE(platform.isOnFloppy("A:"));
    EXPECT_FALSE(platform.isOnFloppy(dir.filePath("floppy/sub/clip.avi")));
}

TEST(Platform, KeepsTheRootOfCInTheSystemsTemporaryFolder)
{
    EXPECT_EQ(Platform().temporaryFolder(), "/tmp");
}

TEST(Platform, ClearsEveryFileAndFolderOfTheFloppyAndKeepsItsMountPoint)
{
    QTemporaryDir dir;
    // A name that a shell would run, were it ever pasted into a command's text.
    const QString floppy = dir.filePath("disk $(touch pwned) 'x\" ;");
    QDir(dir.path()).mkpath(floppy + "/folder/deeper");
    TestFiles::write(floppy + "/piece.1", "x");
    TestFiles::write(floppy + "/.hidden", "x");
    TestFiles::write(floppy + "/folder/deeper/file", "x");
    TestFiles::write(dir.filePath("beside"), "x");

    const Platform platform;
    const QString interpreter = platform.interpreterPath();
    const ChildRun run = RunAndWait(platform.clearCommand(interpreter, floppy),
                                    QFileInfo(interpreter).path(), platform.clearTimeLimit());

    EXPECT_EQ(run, ChildRun::Ended);
    EXPECT_TRUE(QFileInfo(floppy).isDir());
    EXPECT_TRUE(QDir(floppy).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System
                                     | QDir::NoDotAndDotDot));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("beside")));
    EXPECT_FALSE(QFileInfo::exists(QDir(QFileInfo(interpreter).path()).filePath("pwned")));
    EXPECT_FALSE(QFileInfo::exists("pwned"));
    EXPECT_EQ(platform.clearTimeLimit(), 60000);
}

} // namespace
