#include "engine/OutputSet.h"

#include "engine/JoinScript.h"
#include "engine/RunControl.h"
#include "platform/FolderLock.h"
#include "platform/OemCodePage.h"
#include "platform/StopSignals.h"
#include "tests/engine/EngineFixture.h"
#include "tests/engine/JoinScriptInterpreter.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/ScopedFailingClose.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <csignal>
#include <functional>
#include <unistd.h>

namespace {

using Reply = Prompter::Reply;
using modMorlend::RunControl;

// What a run leaves behind, taken as a set that someone joins later: after any failure it is
// safe to join, and nothing of the user's in the destination changes without a question.
class OutputSet : public EngineFixture
{
protected:
    // The folder's names and contents, to show that a run left it as it was.
    QMap<QString, QByteArray> contentsOf(const QString &folder)
    {
        QMap<QString, QByteArray> contents;
        for (const QString &name :
             QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name))
            contents.insert(name, TestFiles::read(folder + '/' + name));
        return contents;
    }

    // A folder holding the given files, each with its own name as content.
    QString folderWith(const QString &name, const QStringList &files)
    {
        const QString folder = path(name);
        QDir().mkpath(folder);
        for (const QString &file : files)
            TestFiles::write(folder + '/' + file, file.toUtf8());
        return folder;
    }

    // The join script of a run that cuts source into pieces of 8 bytes, as it is when nothing
    // fails.
    QByteArray wholeScriptOf(const QString &source)
    {
        choose(source, "8");
        writeToFolder(path("whole"));
        cutFile();
        return TestFiles::read(path("whole/aaa.bin.bat"));
    }

    // The script of aaa.bin that a failure left in out, as someone runs it anyway: whole lines
    // of the whole script, which join the start of the file and lose none of the pieces
    // written (pieces of 8 bytes).
    static void expectScriptCutShortLosesNothing(const QString &out, const QByteArray &wholeScript,
                                                 const QByteArray &original,
                                                 qsizetype piecesWritten)
    {
        const QByteArray script = TestFiles::read(out + "/aaa.bin.bat");
        EXPECT_TRUE(script.endsWith("\r\n")) << script.right(40).toStdString();
        EXPECT_TRUE(wholeScript.startsWith(script)) << "the script is the whole one, cut short";

        JoinScriptInterpreter scratch;
        for (const QString &name : filesIn(out))
            scratch.addFile(name.toLatin1(), TestFiles::read(out + '/' + name));
        ASSERT_TRUE(scratch.run("aaa.bin.bat")) << scratch.failure().toStdString();
        const QByteArray joined = scratch.files().value("aaa.bin");
        ASSERT_EQ(joined, original.left(joined.size()));
        QByteArray rest;
        for (qsizetype index = joined.size() / 8 + 1; index <= piecesWritten; ++index) {
            const QByteArray piece = "aaa.bin." + QByteArray::number(index);
            ASSERT_TRUE(scratch.files().contains(piece)) << piece.toStdString() << " was lost";
            rest += scratch.files().value(piece);
        }
        EXPECT_EQ(joined + rest, original.left(piecesWritten * 8));
    }

    static QString replaceQuestion(const QString &where, const QString &files,
                                   const QString &fileName, const QString &names)
    {
        return where + " already holds " + files
            + " with the names of the pieces or the join script of " + fileName + ": " + names
            + ".\r\nOK replaces them, so that only this cut's files have those names; Cancel "
              "stops the cut without touching them.";
    }
};

TEST_F(OutputSet, LeavesAScriptCutShortByAFullDiskWithWholeLinesOnlyThatLoseNothingWhenRun)
{
    // 100 pieces of 8 bytes and a script of some 4 KiB: the pieces fit under the limit, the
    // script does not.
    const QString source = makeSource("aaa.bin", 800);
    const QByteArray wholeScript = wholeScriptOf(source);
    ASSERT_GT(wholeScript.size(), 2000);

    struct Case
    {
        const char *what;
        qsizetype limit;
        // What the message says of the script left.
        const char *script;
    };
    const qsizetype secondLineEnd = wholeScript.indexOf("\r\n", 11) + 2;
    const Case cases[] = {
        {"inside a line", 1000 + 3, ", but not the whole join script"},
        {"at a line end", secondLineEnd, ", but not the whole join script"},
        {"inside the closing lines", wholeScript.size() - 4, ", but not the whole join script"},
        {"inside the line after the header", 11 + 5,
         ", and the join script holds no line for them"},
        {"inside the header", 9, ", and no join script is left"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString out = path(QString("limited-%1").arg(c.limit));
        writeToFolder(out);
        prompter.answer(Reply::Ok);
        fileSizeLimit.emplace(c.limit);
        cutFile();

        EXPECT_EQ(prompter.last(),
                  errorMessage(
                      generalError(61, "Disk full")
                      + incompleteSet("pieces 1 to 100 of 100 were written in " + out + c.script)));
        const QString scriptPath = out + "/aaa.bin.bat";
        if (c.limit < 11) {
            EXPECT_FALSE(QFileInfo::exists(scriptPath)) << "a script without a whole line goes";
            continue;
        }
        expectScriptCutShortLosesNothing(out, wholeScript, TestFiles::read(source), 100);
    }
}

// A file system that takes every write and says only as a file is closed that it could not keep
// it (a quota, NFS, sshfs) loses what lies beyond some byte of that file. The script keeps only
// whole lines that the file system kept, and a piece is removed, so that what is left is a set
// that is safe to join, as after a write that fails.
TEST_F(OutputSet, KeepsWholeLinesAndWholePiecesOnlyWhenAFileFailsAsItIsClosed)
{
    // 2 000 pieces of 8 bytes, and a script of some 125 KiB, written out in two blocks.
    const QString source = makeSource("aaa.bin", 16000);
    const QByteArray wholeScript = wholeScriptOf(source);
    ASSERT_GT(wholeScript.size(), 100000);
    const qsizetype lineEndInLastBlock = wholeScript.lastIndexOf("\r\n", 100000) + 2;

    struct Case
    {
        const char *what;
        // The piece whose closing fails; 0 for the script.
        int piece;
        qsizetype keeps;
        // Whether whole lines of the script are left, or none of it.
        bool scriptLeft;
        // A disk that also fails the file's writes beyond this many bytes.
        int writeLimit = 0;
    };
    const Case cases[] = {
        // The run stops at the first block, and the file system kept no line of it.
        {"the script, inside its first block", 0, 1000, false},
        {"the script, inside its last block", 0, wholeScript.size() - 4, true},
        {"the script, at a line end in its last block", 0, lineEndInLastBlock, true},
        {"the first piece", 1, 3, false},
        {"a piece in the middle", 1000, 0, true},
        {"the last piece", 2000, 7, true},
        {"a piece that fails as it is written and again as it is closed", 1, 2, false, 4},
    };
    const QByteArray original = TestFiles::read(source);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString out = path(QString("failing-%1").arg(&c - cases));
        writeToFolder(out);
        prompter.answer(Reply::Ok);
        const QString file = c.piece == 0 ? "aaa.bin.bat" : "aaa.bin." + QString::number(c.piece);
        std::optional<ScopedFailingClose> failingClose;
        failingClose.emplace(QFile::encodeName(out + '/' + file), c.keeps);
        if (c.writeLimit > 0)
            fileSizeLimit.emplace(c.writeLimit);
        cutFile();
        EXPECT_GT(failingClose->failures(), 0);
        failingClose.reset();

        // The pieces before the one that failed stay, each whole; no piece cut short does.
        const QString scriptPath = out + "/aaa.bin.bat";
        EXPECT_EQ(QFileInfo::exists(scriptPath), c.scriptLeft);
        QStringList left = QFileInfo::exists(out) ? filesIn(out) : QStringList();
        left.removeOne("aaa.bin.bat");
        const qsizetype piecesLeft = left.size();
        if (c.piece > 0) {
            EXPECT_EQ(piecesLeft, c.piece - 1);
        }
        for (qsizetype index = 1; index <= piecesLeft; ++index) {
            const QString piece = "aaa.bin." + QString::number(index);
            ASSERT_TRUE(left.contains(piece)) << piece.toStdString();
            EXPECT_EQ(TestFiles::read(out + '/' + piece), original.mid((index - 1) * 8, 8));
        }
        // A script the file system kept no line of is gone, and the message says so.
        const QString script = !c.scriptLeft ? ", and no join script is left"
            : piecesLeft == 2000             ? ", but not the whole join script"
                                             : ", and the join script goes no further";
        const QString set = piecesLeft == 0
            ? QString()
            : incompleteSet(QString("pieces 1 to %1 of 2000 were written in %2%3")
                                .arg(piecesLeft)
                                .arg(out, script));
        EXPECT_EQ(prompter.last(), errorMessage(generalError(61, "Disk full") + set));
        if (piecesLeft == 0) {
            EXPECT_FALSE(QFileInfo::exists(out)) << "a run without a piece leaves nothing";
        }
        if (c.scriptLeft)
            expectScriptCutShortLosesNothing(out, wholeScript, original, piecesLeft);
    }
}

TEST_F(OutputSet, RefusesAFolderWithAFileOfTheJoinedNameBeforeWritingAnything)
{
    const QString source = chooseExample();
    struct Case
    {
        const char *what;
        QString folder;
        const char *holds;
    };
    const Case cases[] = {
        {"the source's own folder", dir.path(), "clip.avi"},
        {"another file of that name, as the joining machine compares names",
         folderWith("other", {"CLIP.AVI", "notes.txt"}), "CLIP.AVI"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QMap<QString, QByteArray> before = contentsOf(c.folder);
        writeToFolder(c.folder);
        showOldProgress();
        prompter.answer(Reply::Ok);
        cutFile();

        EXPECT_EQ(prompter.last(),
                  errorMessage("The folder " + c.folder + " holds a file named " + c.holds
                               + ", the name the pieces join back into: joining them there would "
                                 "add them to that file.\r\nChoose another folder, or move that "
                                 "file away, and cut again."));
        EXPECT_EQ(contentsOf(c.folder), before) << "nothing is written";
        expectProgressReset();
    }
}

TEST_F(OutputSet, AsksOnceBeforeReplacingFilesOfTheSetsNamesAndCancelChangesNothing)
{
    const QString source = makeSource("backup", 3000);
    choose(source, "1000");
    const QString out = folderWith("out", {"backup.bat", "backup.1", "backup.txt"});
    writeToFolder(out);
    const QMap<QString, QByteArray> before = contentsOf(out);
    const Prompter::Message question {
        replaceQuestion("The folder " + out, "2 files", "backup", "backup.1 and backup.bat"),
        Prompter::Icon::Warning, Prompter::Buttons::OkCancel, Prompter::DefaultTitle, true};

    prompter.answer(Reply::Cancel);
    cutFile();
    EXPECT_EQ(prompter.shown(), QList({question}));
    EXPECT_EQ(contentsOf(out), before) << "Cancel changes nothing";

    prompter.answer(Reply::Ok);
    cutFile();
    EXPECT_EQ(prompter.shown().size(), 2) << "one question, and no message after it";
    EXPECT_EQ(filesIn(out),
              QStringList({"backup.1", "backup.2", "backup.3", "backup.bat", "backup.txt"}));
    EXPECT_EQ(TestFiles::read(out + "/backup.txt"), "backup.txt");
    QFile::remove(out + "/backup.txt");
    expectJoinsBack({out}, source);
}

TEST_F(OutputSet, ARecutWithFewerPiecesTakesTheEarlierFurtherPiecesAwayWhenTheUserAgrees)
{
    const QString source = makeSource("data.bin", 5000);
    const QString out = path("out");
    writeToFolder(out);
    choose(source, "1000");
    cutFile();
    ASSERT_EQ(filesIn(out).size(), 6);
    // Further names that are no piece of any cut stay.
    QDir(out).mkdir("data.bin.9");
    TestFiles::write(out + "/data.bin.05", "not a piece");
    TestFiles::write(out + "/DATA.BIN.7", "a piece to the joining machine");

    choose(source, "2500");
    prompter.answer(Reply::Ok);
    cutFile();
    EXPECT_EQ(prompter.last().text,
              replaceQuestion("The folder " + out, "7 files", "data.bin",
                              "data.bin.1, data.bin.2, data.bin.3 and 4 more"));
    EXPECT_EQ(
        filesIn(out),
        QStringList({"data.bin.05", "data.bin.1", "data.bin.2", "data.bin.9", "data.bin.bat"}));
    QFile::remove(out + "/data.bin.05");
    QDir(out).rmdir("data.bin.9");
    expectJoinsBack({out}, source);
}

TEST_F(OutputSet, AsksAboutEachFloppyThatHoldsNamesOfTheSetUnlessDisksAreCleared)
{
    const QString source = chooseExample();
    insertDisk(1);
    TestFiles::write(disk(2) + "/clip.avi", "the joined name");
    TestFiles::write(disk(3) + "/clip.avi.7", "old");
    TestFiles::write(disk(3) + "/clip.avi.bat", "old");
    writeToFloppy(false);
    prompter.answer(Reply::Ok, [this] { insertDisk(2); });
    // The disk with a file of the joined name is not taken.
    prompter.answer(Reply::Ok, [this] { insertDisk(3); });
    prompter.answer(Reply::Cancel);
    prompter.answer(Reply::Ok);
    cutFile();

    const QList<Prompter::Message> shown = prompter.shown();
    ASSERT_EQ(shown.size(), 4);
    EXPECT_EQ(shown[1],
              question("The disk in the drive holds a file named clip.avi, the name the "
                       "pieces join back into: joining them beside it would add them "
                       "to that file.\r\nPlease insert floppy number 2."));
    EXPECT_EQ(shown[2].text,
              replaceQuestion("The disk in the drive", "2 files", "clip.avi",
                              "clip.avi.7 and clip.avi.bat"));
    EXPECT_EQ(filesIn(disk(2)), QStringList("clip.avi"));
    EXPECT_EQ(filesIn(disk(3)), QStringList({"clip.avi.7", "clip.avi.bat"}));

    // With clearing on, the user asked for every disk to be emptied, and agrees for each that
    // holds anything.
    useClearScript();
    insertDisk(1);
    writeToFloppy(true);
    prompter.answer(Reply::Ok);
    prompter.answer(Reply::Ok, [this] { insertDisk(2); });
    prompter.answer(Reply::Ok);
    prompter.answer(Reply::Ok, [this] { insertDisk(3); });
    prompter.answer(Reply::Ok);
    cutFile();
    EXPECT_EQ(prompter.shown().size(), 9);
    for (const qsizetype clearing : {4, 6, 8})
        EXPECT_TRUE(prompter.shown()[clearing].text.contains("Clearing it for piece"));
    expectJoinsBack({disk(1), disk(2), disk(3)}, source);
}

TEST_F(OutputSet, ARunThatEndsBeforeItsFirstPieceLeavesTheDestinationAsItWas)
{
    const QString source = chooseExample();
    const QString out = path("out");
    writeToFolder(out);
    cutFile();
    const QMap<QString, QByteArray> goodSet = contentsOf(out);

    // Cancelled at the question, or kept out by another run: the earlier set keeps its script.
    choose(source, "2 000 000");
    prompter.answer(Reply::Cancel);
    cutFile();
    EXPECT_EQ(contentsOf(out), goodSet);
    {
        const FolderLock otherRun(out);
        prompter.answer(Reply::Ok);
        cutFile();
        EXPECT_EQ(contentsOf(out), goodSet);
    }

    // OK at the question, then the run ends before its first piece: what the user agreed to
    // replace comes back, and nothing set aside stays behind. Pieces of 16 MiB take the kernel
    // two steps each, between which Escape is heard.
    const QString large = makeSource("large.bin", 20 * 1024 * 1024);
    const QString earlier = path("earlier");
    choose(large, "16777216");
    writeToFolder(earlier);
    cutFile();
    const QMap<QString, QByteArray> earlierSet = contentsOf(earlier);
    ASSERT_EQ(earlierSet.size(), 3);
    struct Ending
    {
        const char *what;
        std::function<void()> arrange;
    };
    const Ending endings[] = {
        {"the first piece does not fit",
         [this] {
             fileSizeLimit.emplace(1000);
         }},
        {"Escape during the first piece",
         [this] {
             view.onStep = [this] {
                 engine.stopRun(modMorlend::Engine::StopReason::Escape);
             };
         }},
    };
    for (const Ending &ending : endings) {
        SCOPED_TRACE(ending.what);
        choose(large, "10000000");
        prompter.answer(Reply::Ok);
        prompter.answer(Reply::Ok);
        ending.arrange();
        cutFile();
        view.onStep = nullptr;
        EXPECT_EQ(prompter.shown().value(prompter.shown().size() - 2).buttons,
                  Prompter::Buttons::OkCancel)
            << "the question was asked and answered OK";
        EXPECT_EQ(contentsOf(earlier).keys(), earlierSet.keys());
        EXPECT_TRUE(contentsOf(earlier) == earlierSet);
    }
    choose(source, "2 000 000");

    // The first piece does not fit: the folder the run made goes with its script.
    writeToFolder(path("new"));
    prompter.answer(Reply::Ok);
    fileSizeLimit.emplace(1000);
    cutFile();
    EXPECT_FALSE(QFileInfo::exists(path("new")));

    // Cancel at the first floppy's question: the temporary script goes too.
    insertDisk(1);
    TestFiles::write(disk(1) + "/clip.avi.1", "old");
    writeToFloppy(false);
    prompter.answer(Reply::Cancel);
    cutFile();
    EXPECT_TRUE(filesIn(path("C")).isEmpty());
    EXPECT_EQ(filesIn(disk(1)), QStringList("clip.avi.1"));
}

TEST_F(OutputSet, RefusesAFolderThatAnotherRunWritesInto)
{
    chooseExample();
    const QString out = folderWith("out", {});
    const FolderLock otherRun(out);
    ASSERT_TRUE(otherRun.isTaken());
    writeToFolder(out);
    prompter.answer(Reply::Ok);
    cutFile();
    EXPECT_EQ(prompter.last(),
              errorMessage("Another Morlend is writing into the folder " + out
                           + ".\r\nWait until it has finished, and cut again."));
    EXPECT_TRUE(filesIn(out).isEmpty());
}

TEST_F(OutputSet, RefusesASetThatAnotherProgramChangedWhileItWasWritten)
{
    const QString source = chooseExample();
    const QString setChanged = "Another program changed the set while it was written: %1 is not "
                               "the file this cut wrote there.\r\nDo not join the set; cut the "
                               "file again.";
    struct Case
    {
        const char *what;
        qint64 atPiece;
        std::function<void(const QString &out)> change;
        std::function<QString(const QString &out)> message;
    };
    const Case cases[] = {
        {"a piece made anew", 2,
         [](const QString &out) {
             QFile::remove(out + "/clip.avi.1");
             TestFiles::write(out + "/clip.avi.1", TestFiles::pattern(1457664));
         },
         [&](const QString &out) {
             return setChanged.arg(out + "/clip.avi.1");
         }},
        {"a piece removed", 2, [](const QString &out) { QFile::remove(out + "/clip.avi.2"); },
         [&](const QString &out) {
             return setChanged.arg(out + "/clip.avi.2");
         }},
        {"a piece cut short", 2, [](const QString &out) { QFile::resize(out + "/clip.avi.1", 10); },
         [&](const QString &out) {
             return setChanged.arg(out + "/clip.avi.1");
         }},
        {"the folder moved away after the last piece", 3,
         [](const QString &out) { QDir().rename(out, out + "-moved"); },
         [](const QString &out) {
             return "The folder " + out
                 + " was moved or removed while the cut wrote into it, so the pieces are not all "
                   "where the join script looks for them.\r\nDo not join them; cut the file "
                   "again.";
         }},
    };
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString out = path(QString("out%1").arg(++n));
        writeToFolder(out);
        view.onProgress = [&](qint64 index) {
            if (index == c.atPiece)
                c.change(out);
        };
        prompter.answer(Reply::Ok);
        cutFile();
        EXPECT_EQ(prompter.last(), errorMessage(c.message(out)));
        expectProgressReset();
    }
}

TEST_F(OutputSet, AStopSignalDuringARunStopsItAfterThePieceAndSaysSoOnStandardError)
{
    StopSignals::install();
    const QString source = chooseExample(5000000);
    const QString out = path("out");
    writeToFolder(out);
    view.onProgress = [](qint64 index) {
        if (index == 2)
            ::raise(SIGTERM);
    };
    testing::internal::CaptureStderr();
    cutFile();
    const std::string said = testing::internal::GetCapturedStderr();

    EXPECT_EQ(StopSignals::received(), SIGTERM);
    EXPECT_TRUE(prompter.shown().isEmpty()) << "no one is left to answer a box";
    EXPECT_EQ(said,
              "Morlend: Morlend was sent SIGTERM, so the cut stopped after piece 2 of 4. The "
              "pieces written so far and the join script as far as it goes are kept; they "
              "do not rebuild the whole file.\n");
    EXPECT_EQ(filesIn(out), QStringList({"clip.avi.1", "clip.avi.2", "clip.avi.bat"}));
    // The script joins every piece written.
    EXPECT_TRUE(TestFiles::read(out + "/clip.avi.bat").endsWith("del \"clip.avi.2\"\r\n"));
    expectProgressReset();

    // At a disk prompt the question is declined rather than shown.
    insertDisk(1);
    writeToFloppy(false);
    view.onProgress = {};
    prompter.answer(Reply::Ok, [] { ::raise(SIGINT); });
    testing::internal::CaptureStderr();
    cutFile();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Morlend: Morlend was sent SIGINT, so the cut stopped after piece 1 of 4. The "
              "pieces written so far and the join script as far as it goes are kept; they do "
              "not rebuild the whole file. The join script, as far as it goes, is the file "
                  + path("C/~join~clip.avi.tmp").toStdString()
                  + ": the disks cannot be joined without it.\n");
    EXPECT_EQ(filesIn(disk(1)), QStringList("clip.avi.1"));
}

} // namespace

namespace {

TEST_F(OutputSet, RefusesNamesLongerThanTheFolderTakesBeforeTheFirstPiece)
{
    // 251 bytes: the 999th piece's name has 255, the 1 000th 256, one more than names have on
    // the usual Linux volumes.
    const QString name = QString(247, 'n') + ".bin";
    ASSERT_EQ(pathconf(dir.path().toUtf8().constData(), _PC_NAME_MAX), 255);
    const QString source = makeSource(name, 1000);
    const QString out = path("out");
    writeToFolder(out);

    choose(source, "1");
    prompter.answer(Reply::Ok);
    cutFile();
    EXPECT_EQ(
        prompter.shown(),
        QList({errorMessage("The pieces of " + name + " cannot be named in " + out + ": " + name
                            + ".1000 would have 256 bytes, and names there have at "
                              "most 255.\r\nRename the file to a shorter name, and "
                              "cut again.")}));
    EXPECT_FALSE(QFileInfo::exists(out)) << "nothing is written, not even the folder";

    choose(source, "2");
    cutFile();
    EXPECT_EQ(prompter.shown().size(), 1) << "500 pieces have names that fit";
    expectJoinsBack({out}, source);
}

TEST_F(OutputSet, TakesTheRootFolderForTheRunsOwnFolder)
{
    // Pieces in the root have an empty folder part; they are still the run's folder's, made
    // with an exclusive create rather than in the place of whatever has their name.
    modMorlend::EngineState state;
    state.OutFolder = "/";
    RunControl control(view, prompter);
    const modMorlend::OutputSet outputs(platform, state, control);
    EXPECT_TRUE(outputs.isInRunFolder("/clip.avi.1"));
    EXPECT_FALSE(outputs.isInRunFolder("/tmp/clip.avi.1"));
    state.OutFolder = path("out");
    EXPECT_TRUE(outputs.isInRunFolder(path("out/clip.avi.1")));
    EXPECT_FALSE(outputs.isInRunFolder(path("out/sub/clip.avi.1")));
    EXPECT_FALSE(outputs.isInRunFolder(path("out")));
}

} // namespace
