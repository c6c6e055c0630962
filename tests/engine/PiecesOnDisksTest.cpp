#include "engine/PiecesOnDisks.h"

#include "engine/JoinRun.h"
#include "engine/RunControl.h"
#include "tests/engine/EngineFixture.h"
#include "tests/engine/JoinOutcomePrinter.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace modMorlend;
using Kind = JoinOutcome::Kind;
using Reply = Prompter::Reply;

namespace {

const QString NothingWritten = "\r\nNothing was written.";

// The files on a disk with their bytes.
QMap<QString, QByteArray> contentsOf(const QString &folder)
{
    QMap<QString, QByteArray> contents;
    for (const QString &name : filesIn(folder))
        contents.insert(name, TestFiles::read(folder + '/' + name));
    return contents;
}

Prompter::Message askedFor(const QString &said, int piece,
                           Prompter::Icon icon = Prompter::Icon::Information)
{
    const QString request = QString("Please insert the disk with clip.avi.%1.").arg(piece);
    return {said.isEmpty() ? request : said + "\r\n" + request, icon, Prompter::Buttons::OkCancel};
}

Prompter::Message readAndAskedFor(int read, int piece)
{
    return askedFor(QString("File A:\\clip.avi.%1 read successfully.").arg(read), piece);
}

// The example, clip.avi of 3 500 000 bytes, cut by a floppy run onto disks 1 to 3, with
// the script beside the last piece, and joined from there into a folder of its own.
class PiecesOnDisksTest : public EngineFixture
{
protected:
    void SetUp() override
    {
        source = chooseExample();
        writeToFloppy(false);
        insertDisk(1);
        offer(2);
        offer(3);
        cutFile();
        ASSERT_EQ(prompter.shown().size(), 2);
        ASSERT_EQ(filesIn(disk(3)), QStringList({"clip.avi.3", "clip.avi.bat"}));
        prompter = ScriptedPrompter();
        for (int n = 1; n <= 3; ++n)
            disks.insert(n, contentsOf(disk(n)));
        QDir().mkdir(out);
        platform.flushes = 0;
    }

    // The user takes the disk out, puts disk n in, and answers.
    void offer(int n, Reply reply = Reply::Ok)
    {
        prompter.answer(reply, [this, n] { insertDisk(n); });
    }

    // Joins the script on disk start, in the drive, into folder.
    JoinOutcome join(const QString &folder, bool removePieces = false, int start = 3)
    {
        insertDisk(start);
        return run.join({disk(start) + "/clip.avi.bat", folder, removePieces},
                        [this](qint64 read, qint64 length) {
                            progress << qMakePair(read, length);
                            if (onProgress)
                                onProgress(read);
                        });
    }
    JoinOutcome join() { return join(out); }

    JoinOutcome joined() const
    {
        return {Kind::Joined,
                "Joined 3 pieces into " + out + "/clip.avi (3\u00a0500\u00a0000 bytes)."};
    }

    void expectTheWholeAlone() const
    {
        EXPECT_EQ(filesIn(out), QStringList("clip.avi")) << "nothing else is left in the folder";
        EXPECT_EQ(TestFiles::read(out + "/clip.avi"), TestFiles::read(source));
    }

    void expectDisksUnchanged()
    {
        for (int n = 1; n <= 3; ++n)
            EXPECT_EQ(contentsOf(disk(n)), disks.value(n)) << "disk " << n;
    }

    const QString out = path("out");
    QString source;
    QMap<int, QMap<QString, QByteArray>> disks;
    RunControl control {prompter};
    JoinRun run {control, platform};
    QList<QPair<qint64, qint64>> progress;
    std::function<void(qint64)> onProgress;
};

// The disk with the script gives its piece at once, and the others come in any order: the set
// joins as cmd joins the disks' files gathered in one folder.
TEST_F(PiecesOnDisksTest, JoinsDisksOfferedInAnyOrderAsTheScriptWould)
{
    EXPECT_TRUE(std::get<JoinPlan>(run.look(disk(3) + "/clip.avi.bat")).onDisks);
    offer(2);
    offer(1);
    EXPECT_EQ(join(), joined());
    EXPECT_EQ(prompter.shown(), QList({readAndAskedFor(3, 1), readAndAskedFor(2, 1)}));
    expectTheWholeAlone();
    expectJoinsBack({disk(1), disk(2), disk(3)}, source);
    expectDisksUnchanged();
    EXPECT_EQ(progress.last(), qMakePair(qint64(3500000), qint64(3500000)));
    EXPECT_EQ(platform.flushes, 0) << "nothing of the user's goes";
}

TEST_F(PiecesOnDisksTest, JoinsDisksOfferedInTheirOrder)
{
    offer(1);
    offer(2);
    EXPECT_EQ(join(), joined());
    EXPECT_EQ(prompter.shown(), QList({readAndAskedFor(3, 1), readAndAskedFor(1, 2)}));
    expectTheWholeAlone();
}

// A script on one more disk than the pieces took holds no piece: the first disk is asked for
// without a word about the one in the drive.
TEST_F(PiecesOnDisksTest, AsksForTheFirstDiskAfterAScriptAlone)
{
    for (int n = 1; n <= 3; ++n)
        QDir(disk(n)).removeRecursively();
    const QString twoPieces = chooseExample(2 * 1457664);
    writeToFloppy(false);
    insertDisk(1);
    offer(2);
    prompter.answer(Reply::Ok);
    offer(3);
    cutFile();
    ASSERT_EQ(filesIn(disk(3)), QStringList("clip.avi.bat"));
    prompter = ScriptedPrompter();

    offer(1);
    offer(2);
    EXPECT_EQ(
        join(),
        (JoinOutcome {Kind::Joined,
                      "Joined 2 pieces into " + out + "/clip.avi (2\u00a0915\u00a0328 bytes)."}));
    EXPECT_EQ(prompter.shown(), QList({askedFor({}, 1), readAndAskedFor(1, 2)}));
    EXPECT_EQ(TestFiles::read(out + "/clip.avi"), TestFiles::read(twoPieces));
}

// Each disk that does not give the piece asked for is named, and the disk asked for again.
TEST_F(PiecesOnDisksTest, NamesAWrongDiskAndAsksAgain)
{
    struct Case
    {
        const char *what;
        // Done as the user answers the prompt for disk 1 the first time.
        std::function<void()> offerInstead;
        Prompter::Message said;
    };
    const QString other = path("other");
    const Case cases[] = {
        {"no disk", [this] { ejectDisk(); },
         askedFor("There is no disk in the drive.", 1, Prompter::Icon::Warning)},
        {"a disk of another set",
         [&] {
             TestFiles::write(other + "/clip.avi.txt", "theirs");
             platform.setFloppyMountPoint(other);
         },
         askedFor("The disk in the drive holds no piece of clip.avi.", 1, Prompter::Icon::Warning)},
        {"the same disk again", [] {},
         askedFor("The disk in the drive holds A:\\clip.avi.3, which is read already.", 1)},
        {"an empty piece",
         [&] {
             TestFiles::write(other + "/clip.avi.1", "");
             platform.setFloppyMountPoint(other);
         },
         askedFor("clip.avi.1 is empty, and a cut writes no empty piece.", 1,
                  Prompter::Icon::Warning)},
        {"a folder at the piece's name",
         [&] {
             QDir(other).mkpath("clip.avi.1");
             platform.setFloppyMountPoint(other);
         },
         askedFor("clip.avi.1 is a folder, not a piece.", 1, Prompter::Icon::Warning)},
        {"two disks mounted",
         [this] {
             platform.setFloppyLookup(
                 {{{disk(1), "/dev/fd0", false}, {disk(2), "/dev/sdb", true}}, {}});
         },
         askedFor("2 floppy disks are mounted: " + disk(1) + " (/dev/fd0) and " + disk(2)
                      + " (/dev/sdb, write-protected). Unmount all of them but one, so that the "
                        "join knows which disk is drive A:.",
                  1, Prompter::Icon::Warning)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QDir(out).removeRecursively();
        QDir().mkdir(out);
        QDir(other).removeRecursively();
        QDir().mkdir(other);
        prompter = ScriptedPrompter();
        prompter.answer(Reply::Ok, c.offerInstead);
        offer(1);
        offer(2);
        EXPECT_EQ(join(), joined());
        EXPECT_EQ(prompter.shown(), QList({readAndAskedFor(3, 1), c.said, readAndAskedFor(1, 2)}));
        expectTheWholeAlone();
    }
    expectDisksUnchanged();
}

// The pieces before the last have the length of the first of them found, and the last is no
// longer: a piece of another length is named with the one it differs from.
TEST_F(PiecesOnDisksTest, RefusesAPieceOfAnotherLengthAndAsksForItsDiskAgain)
{
    const QString other = path("other");
    QDir().mkdir(other);
    TestFiles::write(other + "/clip.avi.1", TestFiles::pattern(1000000));
    offer(2);
    prompter.answer(Reply::Ok, [&] { platform.setFloppyMountPoint(other); });
    offer(1);
    EXPECT_EQ(join(), joined());
    EXPECT_EQ(prompter.shown().value(2),
              askedFor("A:\\clip.avi.1 has 1\u00a0000\u00a0000 bytes, and A:\\clip.avi.2 has "
                       "1\u00a0457\u00a0664 "
                       "bytes: the pieces before the last have one length.",
                       1, Prompter::Icon::Warning));
    expectTheWholeAlone();
}

// A last piece read first waits for the length of the others; one longer than they are is no
// piece of the set, and its disk is asked for again.
TEST_F(PiecesOnDisksTest, AsksAgainForALastPieceLongerThanTheOthers)
{
    const QString longLast = path("long");
    QDir().mkdir(longLast);
    TestFiles::write(longLast + "/clip.avi.3", TestFiles::pattern(1457665));
    TestFiles::write(longLast + "/clip.avi.bat", TestFiles::read(disk(3) + "/clip.avi.bat"));
    prompter.answer(Reply::Ok, [this] { insertDisk(1); });
    offer(2);
    offer(3);
    platform.setFloppyMountPoint(longLast);
    EXPECT_EQ(run.join({longLast + "/clip.avi.bat", out, false}, [](qint64, qint64) {}), joined());
    EXPECT_EQ(prompter.shown(),
              QList({readAndAskedFor(3, 1),
                     askedFor("File A:\\clip.avi.1 read successfully.\r\nA:\\clip.avi.3, the last "
                              "piece, read before, has 1\u00a0457\u00a0665 bytes, more than the "
                              "1\u00a0457\u00a0664 "
                              "bytes of A:\\clip.avi.1: it is no piece of this set.",
                              2, Prompter::Icon::Warning),
                     readAndAskedFor(2, 3)}));
    expectTheWholeAlone();
}

// A disk taken out while its piece is read: the copy comes up short, the disk is asked for
// again, and the piece read anew into its place.
TEST_F(PiecesOnDisksTest, AsksAgainForADiskTakenOutWhileItsPieceIsRead)
{
    const QByteArray first = TestFiles::read(disk(1) + "/clip.avi.1");
    prompter.answer(Reply::Ok, [this] {
        insertDisk(1);
        onProgress = [this](qint64 read) {
            if (read <= 584672 + 8192)
                return;
            onProgress = {};
            ::truncate(QFile::encodeName(disk(1) + "/clip.avi.1"), 4096);
            ejectDisk();
        };
    });
    prompter.answer(Reply::Ok, [&] {
        TestFiles::write(disk(1) + "/clip.avi.1", first);
        insertDisk(1);
    });
    offer(2);
    EXPECT_EQ(join(), joined());
    EXPECT_EQ(prompter.shown().value(1),
              askedFor("The disk was taken out while A:\\clip.avi.1 was read.", 1,
                       Prompter::Icon::Warning));
    expectTheWholeAlone();
}

// Cancel at a prompt, Escape and a stop while a prompt waits leave nothing in the folder, and
// nothing on the disks changed.
TEST_F(PiecesOnDisksTest, LeavesNothingWhenCancelledOrStopped)
{
    prompter.answer(Reply::Cancel);
    EXPECT_EQ(join(), (JoinOutcome {Kind::Stopped, "The join was cancelled." + NothingWritten}));
    EXPECT_TRUE(filesIn(out).isEmpty());

    offer(1);
    prompter.answer(Reply::Ok,
                    [this] { control.requestStop(RunControl::StopReason::WindowClosed); });
    EXPECT_EQ(join(),
              (JoinOutcome {Kind::Stopped,
                            "The window is being closed, so the join stopped." + NothingWritten}));
    EXPECT_TRUE(filesIn(out).isEmpty());
    expectDisksUnchanged();
}

// A folder that fills fails the join, whichever piece it was, with nothing written; no disk is
// blamed.
TEST_F(PiecesOnDisksTest, FailsWithNothingWrittenWhenTheFolderFills)
{
    QFile::copy(disk(3) + "/clip.avi.bat", disk(1) + "/clip.avi.bat");
    struct Case
    {
        // The disk in the drive at the start, and the one offered next.
        int start;
        int next;
        // The piece whose copy fills the folder: one read from its disk, or the last piece
        // going from the start of the whole to its place.
        const char *piece;
    };
    for (const Case c : {Case {1, 2, "clip.avi.2"}, Case {3, 1, "clip.avi.3"}}) {
        SCOPED_TRACE(c.piece);
        prompter = ScriptedPrompter();
        offer(c.next);
        fileSizeLimit.emplace(2000000);
        const JoinOutcome outcome = join(out, false, c.start);
        fileSizeLimit.reset();
        EXPECT_EQ(outcome,
                  (JoinOutcome {Kind::Failed,
                                QString("Joining A:\\%1 failed: Disk full.").arg(c.piece)
                                    + NothingWritten}));
        EXPECT_EQ(prompter.shown().size(), 1);
        EXPECT_TRUE(filesIn(out).isEmpty());
    }
}

// The floppy cannot hold the whole, and its disk changes: the whole goes into a folder on
// another disk, which must be named.
TEST_F(PiecesOnDisksTest, JoinsOnlyIntoAFolderOffTheFloppy)
{
    const QString refusal = "The pieces of clip.avi are on floppy disks, which the join asks for "
                            "one after another: name a folder on another disk to join them into.";
    for (const QString &folder : {QString(), QString("A:"), disk(3)}) {
        SCOPED_TRACE(folder.toStdString());
        EXPECT_EQ(join(folder), (JoinOutcome {Kind::NotJoinable, refusal + NothingWritten}));
    }
    EXPECT_TRUE(prompter.shown().isEmpty());
    expectDisksUnchanged();
}

// The pieces and the script stay on their disks, which are out of the drive by then.
TEST_F(PiecesOnDisksTest, KeepsThePiecesOnTheirDisks)
{
    offer(1);
    offer(2);
    EXPECT_EQ(join(out, true),
              (JoinOutcome {Kind::PiecesKept,
                            joined().message
                                + "\r\nThe pieces and the join script stay on their floppy "
                                  "disks."}));
    expectTheWholeAlone();
    expectDisksUnchanged();
}

// A disk that holds the whole set is joined as any folder is, beside the script.
TEST_F(PiecesOnDisksTest, JoinsASetWhollyOnTheDiskInTheDrive)
{
    for (int n = 1; n <= 2; ++n) {
        const QString piece = QString("/clip.avi.%1").arg(n);
        QFile::copy(disk(n) + piece, disk(3) + piece);
    }
    EXPECT_FALSE(std::get<JoinPlan>(run.look(disk(3) + "/clip.avi.bat")).onDisks);
    EXPECT_EQ(join({}).kind, Kind::Joined);
    EXPECT_TRUE(prompter.shown().isEmpty());
    EXPECT_EQ(TestFiles::read(disk(3) + "/clip.avi"), TestFiles::read(source));
}

} // namespace
