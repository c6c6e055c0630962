#include "platform/FileCopy.h"

#include "platform/AppError.h"
#include "platform/File.h"
#include "tests/support/ScopedFileSizeLimit.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <functional>
#include <gtest/gtest.h>

namespace {

// A folder on another file system than the temporary folder's, where the kernel will not copy
// from one to the other; none where the machine has no such place.
QString otherFileSystem()
{
    return QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QString();
}

struct Copied
{
    QByteArray bytes;
    FileCopy::Result result;
    QList<qint64> steps;
    bool inKernel = true;
    qsizetype bufferSize = 0;
};

// How long a disk takes to hold the bytes written so far, in nanoseconds.
using DiskTime = std::function<qint64(qint64 written)>;

// Copies size bytes from source, from offset on, into a new file in folder, looking at every
// step; stops after stopAfter steps. With a disk time, the copier's clock is the time the disk
// took for what the piece holds, so that a step takes as long as its bytes take the disk.
Copied copyInto(const QString &folder, const QString &source, qint64 offset, qint64 size,
                qsizetype stopAfter = -1, const DiskTime &diskTime = {})
{
    QTemporaryDir target(folder + QStringLiteral("/copy-XXXXXX"));
    File from = File::openForReading(source);
    QByteArray skipped(offset, Qt::Uninitialized);
    from.read(skipped.data(), offset);
    const QString piece = target.filePath(QStringLiteral("piece"));
    File to = File::createNew(piece, {});
    QByteArray buffer;
    FileCopy copy(buffer);
    if (diskTime)
        copy.setClock([&] { return diskTime(QFileInfo(piece).size()); });
    Copied copied;
    copied.result = copy.copy(from, to, size, [&](qint64 done) {
        copied.steps << done;
        copied.bufferSize = std::max(copied.bufferSize, buffer.size());
        return copied.steps.size() != stopAfter;
    });
    to.close();
    copied.inKernel = copy.copiesInTheKernel();
    copied.bytes = TestFiles::read(target.filePath(QStringLiteral("piece")));
    return copied;
}

TEST(FileCopy, CopiesAPieceOfAnySizeInBoundedStepsWithinTheKernelOrThroughAFixedBuffer)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("source"));
    const QByteArray data = TestFiles::pattern(20 * 1024 * 1024 + 5);
    TestFiles::write(source, data);
    struct Case
    {
        const char *what;
        QString folder;
        bool inKernel;
        qint64 longestStep;
    };
    const Case cases[] = {
        {"on the same file system", dir.path(), true, 8 * 1024 * 1024},
        {"onto another file system", otherFileSystem(), false, 32 * 1024},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (c.folder.isEmpty())
            continue;
        const Copied copied = copyInto(c.folder, source, 3, data.size() - 4);
        EXPECT_EQ(copied.bytes, data.mid(3, data.size() - 4));
        EXPECT_EQ(copied.result.copied, data.size() - 4);
        EXPECT_FALSE(copied.result.stopped);
        EXPECT_EQ(copied.inKernel, c.inKernel);
        EXPECT_EQ(copied.bufferSize, c.inKernel ? 0 : 1024 * 1024) << "no more than a fixed buffer";
        qint64 before = 0;
        for (const qint64 done : copied.steps) {
            EXPECT_LE(done - before, c.longestStep);
            before = done;
        }
        EXPECT_EQ(before, data.size() - 4);
    }
}

TEST(FileCopy, TakesStepsOfATenthOfASecondOnADiskOfAnySpeedAndLongerOnesAsItSpeedsUp)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("source"));
    const QByteArray data = TestFiles::pattern(20 * 1024 * 1024);
    TestFiles::write(source, data);
    constexpr qint64 TenthOfASecond = 100'000'000;
    constexpr qint64 MiB = 1024 * 1024;
    // Nanoseconds a byte: a floppy's pace, a slow network share's, a USB stick's.
    const qint64 rates[] = {15259, 953, 60};
    for (const auto &[folder, longestStep] :
         {std::pair(dir.path(), 8 * MiB), std::pair(otherFileSystem(), qint64(32 * 1024))}) {
        if (folder.isEmpty())
            continue;
        for (const qint64 perByte : rates) {
            SCOPED_TRACE(testing::Message()
                         << folder.toStdString() << ", " << perByte << " ns a byte");
            // Only the first megabyte is waited for: a slow disk takes minutes for the rest.
            const Copied copied = copyInto(folder, source, 0, MiB, -1,
                                           [&](qint64 written) { return written * perByte; });
            EXPECT_EQ(copied.bytes, data.left(MiB));
            qint64 before = 0;
            for (const qint64 done : copied.steps) {
                EXPECT_LE((done - before) * perByte, TenthOfASecond) << "after " << before;
                before = done;
            }
        }
        SCOPED_TRACE(folder.toStdString());
        // Slow for its first megabyte, then fast: the steps grow back to their longest.
        const Copied speeding = copyInto(folder, source, 0, data.size(), -1, [=](qint64 written) {
            return std::min(written, MiB) * 15259 + std::max(written - MiB, qint64(0));
        });
        EXPECT_EQ(speeding.bytes, data);
        qint64 longest = 0;
        for (qsizetype i = 1; i < speeding.steps.size(); ++i)
            longest = std::max(longest, speeding.steps[i] - speeding.steps[i - 1]);
        EXPECT_EQ(longest, longestStep);
    }
}

TEST(FileCopy, StopsWhereAStepSaysAndCopiesLessAtTheEndOfTheSource)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("source"));
    const QByteArray data = TestFiles::pattern(20 * 1024 * 1024);
    TestFiles::write(source, data);
    for (const QString &folder : {dir.path(), otherFileSystem()}) {
        if (folder.isEmpty())
            continue;
        SCOPED_TRACE(folder.toStdString());
        const Copied stopped = copyInto(folder, source, 0, data.size(), 2);
        EXPECT_TRUE(stopped.result.stopped);
        EXPECT_EQ(stopped.result.copied, stopped.steps.last());
        EXPECT_EQ(stopped.bytes, data.left(stopped.result.copied));

        const Copied atTheEnd = copyInto(folder, source, 1000, data.size());
        EXPECT_FALSE(atTheEnd.result.stopped);
        EXPECT_EQ(atTheEnd.result.copied, data.size() - 1000);
        EXPECT_EQ(atTheEnd.bytes, data.mid(1000));
    }
}

TEST(FileCopy, AFullDiskRaisesDiskFull)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("source"));
    TestFiles::write(source, TestFiles::pattern(100000));
    for (const QString &folder : {dir.path(), otherFileSystem()}) {
        if (folder.isEmpty())
            continue;
        SCOPED_TRACE(folder.toStdString());
        const ScopedFileSizeLimit limit(50000);
        try {
            copyInto(folder, source, 0, 100000);
            ADD_FAILURE() << "the copy went through";
        } catch (const AppError &error) {
            EXPECT_EQ(error.number(), AppError::DiskFull);
        }
    }
}

TEST(FileCopy, CopiesOntoADiskInStepsThatStartAtAPage)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("source"));
    const QByteArray data = TestFiles::pattern(3 * 1024 * 1024 + 5);
    TestFiles::write(source, data);
    QByteArray buffer;
    FileCopy copy(buffer);
    for (const qsizetype stopAfter : {-1, 3}) {
        SCOPED_TRACE(stopAfter);
        File from = File::openForReading(source);
        File to = File::createNew(dir.filePath(QStringLiteral("copy%1").arg(stopAfter)), {});
        QList<qint64> steps;
        const FileCopy::Result copied = copy.copyOntoDisk(from, to, data.size(), [&](qint64 done) {
            steps << done;
            return steps.size() != stopAfter;
        });
        to.close();
        ASSERT_FALSE(steps.isEmpty());
        // A disk of any speed is first given a page, so that a floppy's first step is as short
        // as the rest.
        EXPECT_EQ(steps.first(), 4096);
        EXPECT_EQ(copied.copied, steps.last());
        EXPECT_EQ(TestFiles::read(dir.filePath(QStringLiteral("copy%1").arg(stopAfter))),
                  data.left(copied.copied));
        EXPECT_LE(buffer.size(), 1024 * 1024) << "no more than a fixed buffer";
        if (stopAfter > 0) {
            EXPECT_TRUE(copied.stopped);
            EXPECT_EQ(steps.size(), stopAfter);
        } else {
            EXPECT_FALSE(copied.stopped);
            EXPECT_EQ(copied.copied, data.size());
        }
    }
}

TEST(FileCopy, ComparesWhatIsOnTheDiskWithWhatWasToBeWritten)
{
    QTemporaryDir dir;
    const QByteArray data = TestFiles::pattern(2 * 1024 * 1024 + 7);
    TestFiles::write(dir.filePath("expected"), data);
    struct Case
    {
        const char *what;
        QByteArray onDisk;
        bool same;
    };
    QByteArray flipped = data;
    flipped[1458665] = char(flipped[1458665] ^ 0x20);
    const Case cases[] = {
        {"the same bytes", data, true},
        {"a byte changed", flipped, false},
        {"the last byte changed", data.left(data.size() - 1) + char(data.back() ^ 1), false},
        {"shorter", data.left(data.size() - 1), false},
    };
    QByteArray buffer;
    FileCopy copy(buffer);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TestFiles::write(dir.filePath("written"), c.onDisk);
        File expected = File::openForReading(dir.filePath("expected"));
        File written = File::openForReading(dir.filePath("written"));
        QList<qint64> steps;
        const FileCopy::Comparison comparison
            = copy.compare(expected, written, data.size(), [&](qint64 done) {
                  steps << done;
                  return true;
              });
        EXPECT_EQ(comparison.same, c.same);
        EXPECT_FALSE(comparison.stopped);
        EXPECT_EQ(steps.value(0), 4096) << "the disk is first asked for a page";
        EXPECT_LE(buffer.size(), 1024 * 1024) << "no more than the copy's buffer";
    }

    File expected = File::openForReading(dir.filePath("expected"));
    File written = File::openForReading(dir.filePath("expected"));
    int steps = 0;
    const FileCopy::Comparison stopped
        = copy.compare(expected, written, data.size(), [&](qint64) { return ++steps < 2; });
    EXPECT_TRUE(stopped.stopped);
    EXPECT_EQ(steps, 2);
}

} // namespace
