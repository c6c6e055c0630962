#include "File.h"

#include "AppError.h"
#include "FileSystem.h"
#include "QtPrinters.h"
#include "TestFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

int errorNumberOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const AppError &error) {
        return error.number();
    }
    return 0;
}

class FileTest : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return dir.filePath(name); }

    QTemporaryDir dir;
};

TEST_F(FileTest, ReadsWholeBuffersAndStopsShortOnlyAtTheEnd)
{
    const QByteArray bytes = TestFiles::pattern(100000);
    TestFiles::write(path("source"), bytes);
    File file = File::openForReading(path("source"));
    EXPECT_EQ(file.size(), 100000);
    QByteArray buffer(60000, Qt::Uninitialized);
    EXPECT_EQ(file.read(buffer.data(), buffer.size()), 60000);
    EXPECT_EQ(buffer, bytes.left(60000));
    EXPECT_EQ(file.read(buffer.data(), buffer.size()), 40000);
    EXPECT_EQ(buffer.left(40000), bytes.mid(60000));
    EXPECT_EQ(file.read(buffer.data(), buffer.size()), 0);
}

TEST_F(FileTest, OpensForWritingWithoutEmptyingUntilAskedAndCreateNewRefusesAFile)
{
    TestFiles::write(path("old"), "old content");
    ASSERT_TRUE(QFile::link(path("old"), path("link")));
    File opened = File::openForWriting(path("link"));
    EXPECT_EQ(TestFiles::read(path("old")), "old content");
    EXPECT_EQ(opened.identity(), FileSystem::identityOf(path("old")));
    EXPECT_NE(opened.identity(), FileSystem::identityOf(dir.path()));
    opened.truncate();
    opened.write("new", 3);
    opened.close();
    EXPECT_EQ(TestFiles::read(path("old")), "new");
    EXPECT_EQ(FileSystem::identityOf(path("missing")), std::nullopt);

    EXPECT_EQ(errorNumberOf([&] { File::createNew(path("old")); }), AppError::FileAlreadyExists);
    EXPECT_EQ(errorNumberOf([&] { File::createNew(path("link")); }), AppError::FileAlreadyExists)
        << "a link is never followed to a new file";
    File created = File::createNew(path("fresh"));
    created.write("x", 1);
    created.flushToDisk();
    created.close();
    EXPECT_EQ(TestFiles::read(path("fresh")), "x");
}

TEST_F(FileTest, LeavesAnEmptyFileUntouchedWhenAskedToEmptyIt)
{
    // A truncation marks a file as replaced, and ext4 then writes it out when it is closed.
    TestFiles::write(path("empty"), "");
    const QDateTime longAgo = QDateTime::currentDateTimeUtc().addDays(-1);
    {
        QFile file(path("empty"));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(longAgo, QFileDevice::FileModificationTime));
    }
    File empty = File::openForWriting(path("empty"));
    empty.truncate();
    empty.close();
    EXPECT_EQ(QFileInfo(path("empty")).lastModified(), longAgo);
}

TEST_F(FileTest, TranslatesFailuresIntoTheCatalogue)
{
    EXPECT_EQ(errorNumberOf([&] { File::openForReading(path("missing")); }),
              AppError::FileNotFound);
    EXPECT_EQ(errorNumberOf([&] { File::openForWriting(path("missing/x")); }),
              AppError::FileNotFound);
    EXPECT_EQ(errorNumberOf([&] { File::openForWriting(dir.path()); }),
              AppError::PathFileAccessError);
    File full = File::openForWriting("/dev/full");
    full.truncate();
    EXPECT_EQ(errorNumberOf([&] { full.write("x", 1); }), AppError::DiskFull);
}

TEST_F(FileTest, ClosesWhenItGoes)
{
    const auto openFiles = [] {
        return QDir("/proc/self/fd").count();
    };
    const auto before = openFiles();
    {
        File file = File::openForWriting(path("a"));
        File moved = std::move(file);
        EXPECT_EQ(openFiles(), before + 1);
    }
    EXPECT_EQ(openFiles(), before);
}

TEST_F(FileTest, FileSystemCreatesOneFolderLevelAndDeletesNamesNotTargets)
{
    FileSystem::createFolder(path("one"));
    EXPECT_TRUE(FileSystem::isFolder(path("one")));
    EXPECT_EQ(errorNumberOf([&] { FileSystem::createFolder(path("two/three")); }),
              AppError::PathNotFound);
    EXPECT_EQ(errorNumberOf([&] { FileSystem::createFolder(path("one")); }),
              AppError::FileAlreadyExists);

    TestFiles::write(path("target"), "kept");
    ASSERT_TRUE(QFile::link(path("target"), path("link")));
    ASSERT_TRUE(QFile::link(path("nowhere"), path("dangling")));
    EXPECT_TRUE(FileSystem::exists(path("dangling")));
    EXPECT_FALSE(FileSystem::isFolder(path("link")));
    FileSystem::deleteFile(path("link"));
    EXPECT_FALSE(FileSystem::exists(path("link")));
    EXPECT_EQ(TestFiles::read(path("target")), "kept");
    EXPECT_EQ(errorNumberOf([&] { FileSystem::deleteFile(path("link")); }), AppError::FileNotFound);
}

} // namespace
