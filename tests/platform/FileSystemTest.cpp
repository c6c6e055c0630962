#include "platform/FileSystem.h"

#include "platform/AppError.h"
#include "tests/support/ErrorNumber.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(FileSystem, FileLengthMeasuresRegularFilesOnly)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("missing");
    try {
        FileSystem::FileLength(missing);
        FAIL() << "a missing file has no length";
    } catch (const AppError &error) {
        EXPECT_EQ(error.number(), AppError::FileNotFound);
    }
    EXPECT_THROW(FileSystem::FileLength(dir.path()), AppError);
}

TEST(FileSystem, CreatesOneFolderLevelAndDeletesNamesNotTargets)
{
    QTemporaryDir dir;
    const auto path = [&dir](const QString &name) {
        return dir.filePath(name);
    };
    FileSystem::createFolder(path("one"));
    EXPECT_TRUE(FileSystem::isFolder(path("one")));
    EXPECT_EQ(errorNumberOf([&] { FileSystem::createFolder(path("two/three")); }),
              AppError::PathNotFound);
    EXPECT_EQ(errorNumberOf([&] { FileSystem::createFolder(path("one")); }),
              AppError::FileAlreadyExists);

    TestFiles::write(path("target"), "kept");
    ASSERT_TRUE(QFile::link(path("target"), path("link")));
    EXPECT_FALSE(FileSystem::isFolder(path("link")));
    FileSystem::deleteFile(path("link"));
    EXPECT_FALSE(QFileInfo(path("link")).isSymLink());
    EXPECT_EQ(TestFiles::read(path("target")), "kept");
    EXPECT_EQ(errorNumberOf([&] { FileSystem::deleteFile(path("link")); }), AppError::FileNotFound);
}

TEST(FileSystem, RenamesOnlyOntoANameNothingHas)
{
    QTemporaryDir dir;
    const QString from = dir.filePath("from");
    const QString taken = dir.filePath("taken");
    TestFiles::write(from, "mine");
    TestFiles::write(taken, "someone's");
    EXPECT_EQ(errorNumberOf([&] { FileSystem::renameNoReplace(from, taken); }),
              AppError::FileAlreadyExists);
    EXPECT_EQ(TestFiles::read(taken), "someone's");
    EXPECT_EQ(TestFiles::read(from), "mine");

    FileSystem::renameNoReplace(from, dir.filePath("free"));
    EXPECT_FALSE(QFileInfo::exists(from));
    EXPECT_EQ(TestFiles::read(dir.filePath("free")), "mine");
}

// A folder named in Latin-1 under a UTF-8 system, and one whose name reads as the same text.
TEST(FileSystem, TheWorkingFolderIsNamedByItsBytes)
{
    QTemporaryDir dir;
    const QByteArray base = QFile::encodeName(dir.path());
    const QByteArray latin1 = base + "/caf\xe9";
    ASSERT_EQ(::mkdir(latin1.constData(), 0700), 0);
    ASSERT_EQ(::mkdir((base + "/caf\xef\xbf\xbd").constData(), 0700), 0);
    const QByteArray previous = FileSystem::workingFolder();
    ASSERT_EQ(::chdir(latin1.constData()), 0);
    const QByteArray named = FileSystem::workingFolder();
    ASSERT_EQ(::rmdir(latin1.constData()), 0);
    EXPECT_EQ(FileSystem::workingFolder(), QByteArray()) << "a removed folder has no name";
    ASSERT_EQ(::chdir(previous.constData()), 0);
    EXPECT_EQ(named, latin1);
}

} // namespace
