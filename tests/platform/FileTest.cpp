#include "platform/File.h"

#include "platform/AppError.h"
#include "platform/FileSystem.h"
#include "platform/WriteSlice.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/ScopedFileSizeLimit.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

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

TEST_F(FileTest, WritesABufferOfManySlicesWholeAndInOrder)
{
    const QByteArray bytes = TestFiles::pattern(3 * WriteSlice + 5);
    {
        File file = File::createNew(path("whole"), {});
        file.write(bytes.constData(), bytes.size());
        file.close();
    }
    EXPECT_EQ(TestFiles::read(path("whole")), bytes);

    // A disk that fills inside a later slice keeps every byte before it, in its place.
    File limited = File::createNew(path("limited"), {});
    const qint64 room = WriteSlice + 100;
    {
        const ScopedFileSizeLimit limit(room);
        EXPECT_EQ(errorNumberOf([&] { limited.write(bytes.constData(), bytes.size()); }),
                  AppError::DiskFull);
    }
    limited.close();
    EXPECT_EQ(TestFiles::read(path("limited")), bytes.left(room));
}

TEST_F(FileTest, ReplaceMakesANewFileWhereverAnythingButAFolderHasTheName)
{
    TestFiles::write(path("precious"), "precious");
    // Each kind of thing that can have a name; the ones that lead somewhere lead to precious.
    const std::pair<const char *, std::function<bool(const QString &)>> kinds[] = {
        {"missing",
         [](const QString &) {
             return true;
         }},
        {"file",
         [](const QString &name) {
             return QFile(name).open(QIODevice::WriteOnly);
         }},
        {"symbolic link",
         [&](const QString &name) {
             return QFile::link(path("precious"), name);
         }},
        {"dangling link",
         [&](const QString &name) {
             return QFile::link(path("nowhere"), name);
         }},
        {"hard link",
         [&](const QString &name) {
             return TestFiles::makeHardLink(path("precious"), name);
         }},
        {"named pipe", TestFiles::makePipe},
        {"socket", TestFiles::makeSocket},
        {"device node",
         [](const QString &name) {
             // The system's null device under another name, where the system lets us make one.
             return ::mknod(QFile::encodeName(name).constData(), S_IFCHR | 0600, makedev(1, 3)) == 0
                 || errno == EPERM;
         }},
    };
    for (const auto &[kind, make] : kinds) {
        SCOPED_TRACE(kind);
        const QString name = path(QString("piece-%1").arg(kind).replace(' ', '-'));
        ASSERT_TRUE(make(name));
        File piece = File::replace(name, {});
        piece.write("new", 3);
        piece.close();
        EXPECT_EQ(TestFiles::read(name), "new");
        EXPECT_FALSE(QFileInfo(name).isSymLink());
        EXPECT_EQ(TestFiles::read(path("precious")), "precious");
        EXPECT_NE(FileSystem::identityOf(name), FileSystem::identityOf(path("precious")));
    }

    QDir(dir.path()).mkdir("folder");
    EXPECT_EQ(errorNumberOf([&] { File::replace(path("folder"), {}); }),
              AppError::PathFileAccessError);
    EXPECT_TRUE(FileSystem::namesFolder(path("folder")));
    EXPECT_EQ(errorNumberOf([&] { File::replace(path("missing/x"), {}); }), AppError::FileNotFound);
}

TEST_F(FileTest, CreateNewNeverTakesANameThatSomeoneMadeMeanwhile)
{
    // What a name made again between removing it and creating the new file comes to.
    TestFiles::write(path("old"), "old content");
    ASSERT_TRUE(QFile::link(path("old"), path("link")));
    ASSERT_TRUE(QFile::link(path("nowhere"), path("dangling")));
    for (const char *name : {"old", "link", "dangling"}) {
        EXPECT_EQ(errorNumberOf([&] { File::createNew(path(name), {}); }),
                  AppError::FileAlreadyExists)
            << name;
    }
    EXPECT_EQ(TestFiles::read(path("old")), "old content");
    EXPECT_FALSE(QFileInfo::exists(path("nowhere"))) << "a link is never followed to a new file";

    File created = File::createNew(path("fresh"), {});
    created.write("x", 1);
    created.flushToDisk();
    created.close();
    EXPECT_EQ(TestFiles::read(path("fresh")), "x");
}

TEST_F(FileTest, StampsChangeWithTheLengthOrAWriteInPlace)
{
    TestFiles::write(path("source"), "0123456789");
    TestFiles::age(path("source"));
    File source = File::openForReading(path("source"));
    const FileStamp opened = source.stamp();
    EXPECT_EQ(opened.length, 10);
    EXPECT_EQ(FileSystem::stampOf(path("source")), opened);
    EXPECT_EQ(FileSystem::stampOf(path("missing")), std::nullopt);

    {
        QFile file(path("source"));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.write("X");
    }
    const FileStamp written = source.stamp();
    EXPECT_EQ(written.length, 10);
    EXPECT_NE(written.modified, opened.modified);

    {
        QFile file(path("source"));
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write("more");
    }
    EXPECT_EQ(source.stamp().length, 14);
}

TEST_F(FileTest, TranslatesFailuresIntoTheCatalogue)
{
    EXPECT_EQ(errorNumberOf([&] { File::openForReading(path("missing")); }),
              AppError::FileNotFound);
    EXPECT_EQ(errorNumberOf([&] { File::createNew(path("missing/x"), {}); }),
              AppError::FileNotFound);
    EXPECT_EQ(errorNumberOf([&] { File::createNew(dir.path(), {}); }), AppError::FileAlreadyExists);
    File limited = File::createNew(path("limited"), {});
    const ScopedFileSizeLimit limit(2);
    EXPECT_EQ(errorNumberOf([&] { limited.write("xyz", 3); }), AppError::DiskFull)
        << "a write that stops short";
    EXPECT_EQ(errorNumberOf([&] { limited.write("x", 1); }), AppError::DiskFull);
}

TEST_F(FileTest, ClosesWhenItGoes)
{
    const auto openFiles = [] {
        return QDir("/proc/self/fd").count();
    };
    const auto before = openFiles();
    {
        File file = File::createNew(path("a"), {});
        File moved = std::move(file);
        EXPECT_EQ(openFiles(), before + 1);
    }
    EXPECT_EQ(openFiles(), before);
}

// A file that may hold private bytes is made readable by the user alone, whatever the mask.
TEST_F(FileTest, CreatePrivateLetsNoOneElseReadTheFile)
{
    const mode_t previous = ::umask(0);
    File file = File::createPrivate(path("private"));
    ::umask(previous);
    EXPECT_EQ(file.asNamedFile().permissions, 0600u);
    file.setPermissions(0640);
    EXPECT_EQ(FileSystem::namedFile(path("private"))->permissions, 0640u);
    EXPECT_EQ(errorNumberOf([&] { File::createPrivate(path("private")); }),
              AppError::FileAlreadyExists);
}

} // namespace
