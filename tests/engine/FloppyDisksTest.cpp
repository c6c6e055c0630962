#include "tests/engine/EngineFixture.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <functional>

namespace {

using Reply = Prompter::Reply;

Prompter::Message nextDisk(const QString &piece, int disk)
{
    return question(QString("File %1 written successfully.\r\nPlease insert floppy number %2.")
                        .arg(piece)
                        .arg(disk));
}

Prompter::Message stillTheDiskWith(const QString &piece, int disk)
{
    return question(QString("The disk in the drive is still the one with %1.\r\nPlease insert "
                            "floppy number %2.")
                        .arg(piece)
                        .arg(disk));
}

Prompter::Message anotherDisk(const QString &why, int disk)
{
    return {why + QString("\r\nPlease insert floppy number %1.").arg(disk), Prompter::Icon::Warning,
            Prompter::Buttons::OkCancel};
}

const Prompter::Message OneMoreDisk = question("Please insert one more floppy.");

QString cancelledAfter(int piece, int count)
{
    return QString("The cut was cancelled after piece %1 of %2. The pieces on the disks do not "
                   "rebuild the file; cut it again.")
        .arg(piece)
        .arg(count);
}

class FloppyDisks : public EngineFixture
{
protected:
    FloppyDisks() { insertDisk(1); }

    // The user takes the disk out and puts disk n in, then answers.
    void swapTo(int n, Reply reply = Reply::Ok)
    {
        prompter.answer(reply, [this, n] { insertDisk(n); });
    }

    QString temporaryScript() const { return path("C/~join~clip.avi.tmp"); }

    // What the run asks before it clears disk n, which holds what.
    Prompter::Message clearQuestion(int n, const QString &holds, int piece)
    {
        return {QString("The disk in the drive, %1, holds %2.\r\nClearing it for piece %3 removes "
                        "all of that. OK clears the disk; Cancel leaves it as it is, and the cut "
                        "asks for another disk.")
                    .arg(disk(n), holds)
                    .arg(piece),
                Prompter::Icon::Warning, Prompter::Buttons::OkCancel, Prompter::DefaultTitle, true};
    }
};

// Every way of naming the floppy as the destination: its option, or its drive name typed as
// the folder, in either case, with or without separators of either kind.
struct FloppyName
{
    const char *testName;
    const char *folderText; // nullptr: the floppy option
};

void PrintTo(const FloppyName &name, std::ostream *out)
{
    *out << name.testName;
}

class FloppyDestination : public FloppyDisks, public ::testing::WithParamInterface<FloppyName>
{
};

TEST_P(FloppyDestination, SpreadsTheExampleOverThreeDisksAndPutsTheScriptOnTheLast)
{
    const QString source = chooseExample();
    if (GetParam().folderText)
        writeToFolder(GetParam().folderText);
    else
        writeToFloppy(false);
    swapTo(2);
    swapTo(3);
    cutFile();

    EXPECT_EQ(prompter.shown(),
              QList({nextDisk("A:\\clip.avi.1", 2), nextDisk("A:\\clip.avi.2", 3)}));
    EXPECT_EQ(filesIn(disk(1)), QStringList("clip.avi.1"));
    EXPECT_EQ(filesIn(disk(2)), QStringList("clip.avi.2"));
    EXPECT_EQ(filesIn(disk(3)), QStringList({"clip.avi.3", "clip.avi.bat"}));
    EXPECT_EQ(TestFiles::read(disk(1) + "/clip.avi.1") + TestFiles::read(disk(2) + "/clip.avi.2")
                  + TestFiles::read(disk(3) + "/clip.avi.3"),
              TestFiles::read(source));
    EXPECT_EQ(TestFiles::read(disk(3) + "/clip.avi.bat"), ExampleScript);
    expectJoinsBack({disk(1), disk(2), disk(3)}, source);
    EXPECT_FALSE(QFileInfo::exists(temporaryScript())) << "the temporary script is removed";
    EXPECT_EQ(view.progress(), "3/3");
}

INSTANTIATE_TEST_SUITE_P(FloppyDisks, FloppyDestination,
                         ::testing::Values(FloppyName {"Option", nullptr},
                                           FloppyName {"LowerCaseName", "a:"},
                                           FloppyName {"NameAndBackslash", "A:\\"},
                                           FloppyName {"NameAndSlash", "A:/"},
                                           FloppyName {"NameAndTwoSeparators", "a:\\/"}),
                         [](const auto &info) { return info.param.testName; });

TEST_F(FloppyDisks, WarnsOfAnExtraDiskWhenTheScriptWillNotFitBesideAFullLastPiece)
{
    const QString source = chooseExample(2 * 1457664);
    writeToFloppy(false);
    swapTo(2);
    prompter.answer(Reply::Ok);
    swapTo(3);
    cutFile();

    EXPECT_EQ(prompter.shown(),
              QList({nextDisk("A:\\clip.avi.1", 2),
                     warningMessage("You probably will need one more FDD for clip.avi.bat"),
                     OneMoreDisk}));
    EXPECT_TRUE(engine.state().NeedExtraDisk);
    EXPECT_EQ(filesIn(disk(2)), QStringList("clip.avi.2"));
    EXPECT_EQ(filesIn(disk(3)), QStringList("clip.avi.bat"));
    EXPECT_EQ(TestFiles::read(disk(3) + "/clip.avi.bat"),
              "@echo off\r\nren \"clip.avi.1\" \"clip.avi\"\r\n"
              "copy /b \"clip.avi\"+\"clip.avi.2\" \"clip.avi\"\r\ndel \"clip.avi.2\"\r\n"
              "del \"clip.avi.bat\"");
    expectJoinsBack({disk(1), disk(2), disk(3)}, source);
}

TEST_F(FloppyDisks, CountsTheScriptInWholeSectorsBesideTheLastPiece)
{
    // Two pieces of clip.avi give a script of less than a sector: it takes 512 bytes on disk.
    const qint64 scriptLength = QByteArray("@echo off\r\nren \"clip.avi.1\" \"clip.avi\"\r\n"
                                           "copy /b \"clip.avi\"+\"clip.avi.2\" \"clip.avi\"\r\n"
                                           "del \"clip.avi.2\"\r\ndel \"clip.avi.bat\"")
                                    .size();
    ASSERT_LT(scriptLength, 512);
    struct Case
    {
        qint64 lastPiece;
        bool extraDisk;
    };
    // The sector and the last piece fill the disk exactly, or by one byte more.
    for (const Case &c : {Case {4096 - 512, false}, Case {4096 - 511, true}}) {
        SCOPED_TRACE(c.lastPiece);
        prompter = ScriptedPrompter();
        const QString source = makeSource("clip.avi", 4096 + c.lastPiece);
        choose(source, "4096");
        writeToFloppy(false);
        insertDisk(1);
        swapTo(2);
        if (c.extraDisk) {
            prompter.answer(Reply::Ok);
            swapTo(3);
        }
        cutFile();
        EXPECT_EQ(engine.state().NeedExtraDisk, c.extraDisk);
        EXPECT_EQ(prompter.shown().size(), c.extraDisk ? 3 : 1);
        EXPECT_EQ(filesIn(disk(2)).contains("clip.avi.bat"), !c.extraDisk);
        for (int n = 1; n <= 3; ++n)
            QDir(disk(n)).removeRecursively();
    }
}

TEST_F(FloppyDisks, AsksForAnotherDiskWhenTheOneInTheDriveCannotTakeThePiece)
{
    const QString source = chooseExample();
    struct Case
    {
        const char *what;
        // Done as the user answers the prompt for disk 2; then the disk that fails is taken out
        // for disk 3.
        std::function<void()> atThePrompt;
        QString problem;
    };
    const Case cases[] = {
        {"no disk in the drive", [this] { ejectDisk(); }, "There is no disk in the drive."},
        {"a full disk",
         [this] {
             insertDisk(2);
             fileSizeLimit.emplace(1000000);
         },
         "The disk in the drive is full."},
        {"a disk taken out while the piece is written",
         [this] {
             insertDisk(2);
             view.onStep = [this] {
                 ejectDisk();
             };
         },
         "The disk was taken out while A:\\clip.avi.2 was written, so that file on it is "
         "incomplete: do not use it. The cut writes piece 2 anew onto the next disk."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        for (int n = 1; n <= 4; ++n)
            QDir(disk(n)).removeRecursively();
        insertDisk(1);
        writeToFloppy(false);
        prompter.answer(Reply::Ok, c.atThePrompt);
        prompter.answer(Reply::Ok, [this] {
            fileSizeLimit.reset();
            view.onStep = {};
            insertDisk(3);
        });
        swapTo(4);
        cutFile();

        EXPECT_EQ(prompter.shown().value(1),
                  Prompter::Message({c.problem + "\r\nPlease insert floppy number 2.",
                                     Prompter::Icon::Warning, Prompter::Buttons::OkCancel}));
        EXPECT_EQ(filesIn(disk(3)), QStringList("clip.avi.2")) << "the same piece, anew";
        expectJoinsBack({disk(1), disk(3), disk(4)}, source);
        prompter = ScriptedPrompter();
    }
}

TEST_F(FloppyDisks, CancelAtTheNextDiskKeepsWhatIsWrittenAndSaysWhereTheScriptIs)
{
    chooseExample();
    writeToFloppy(false);
    swapTo(2);
    swapTo(3, Reply::Cancel);
    prompter.answer(Reply::Ok);
    cutFile();

    EXPECT_EQ(prompter.last(),
              informationMessage(cancelledAfter(2, 3) + scriptLeftBehind(temporaryScript())));
    EXPECT_EQ(filesIn(disk(1)), QStringList("clip.avi.1"));
    EXPECT_EQ(filesIn(disk(2)), QStringList("clip.avi.2"));
    EXPECT_TRUE(filesIn(disk(3)).isEmpty());
    EXPECT_EQ(TestFiles::read(temporaryScript()),
              "@echo off\r\nren \"clip.avi.1\" \"clip.avi\"\r\n")
        << "the lines for piece 2 are not written";
    expectProgressShowsOnDisks(2);
}

TEST_F(FloppyDisks, CancelAtOneMoreDiskLeavesTheScriptInTheTemporaryFolder)
{
    chooseExample(2 * 1457664);
    writeToFloppy(false);
    swapTo(2);
    prompter.answer(Reply::Ok);
    prompter.answer(Reply::Cancel);
    prompter.answer(Reply::Ok);
    cutFile();

    EXPECT_EQ(prompter.shown().value(2), OneMoreDisk);
    EXPECT_EQ(prompter.last(),
              informationMessage("All 2 pieces are on their disks, but the join script is not: it "
                                 "is the file "
                                 + temporaryScript()
                                 + ", and the disks cannot be joined without it. Copy it onto a "
                                   "disk as clip.avi.bat."));
    EXPECT_EQ(filesIn(disk(2)), QStringList("clip.avi.2"));
    EXPECT_TRUE(TestFiles::read(temporaryScript()).endsWith("del \"clip.avi.bat\""));
    expectProgressShowsOnDisks(2);
}

TEST_F(FloppyDisks, AsksForOneMoreDiskAfterAFailedHandOverAndTriesAgain)
{
    chooseExample();
    writeToFloppy(false);
    // Something on the last disk already has the script's name and cannot be replaced.
    QDir(disk(3)).mkdir("clip.avi.bat");
    swapTo(2);
    swapTo(3);
    prompter.answer(Reply::Ok);
    swapTo(4);
    cutFile();

    EXPECT_EQ(prompter.shown().mid(2),
              QList({errorMessage("The file A:\\clip.avi.bat cannot be written: a folder has its "
                                  "name.\r\nRemove or rename the folder, or write somewhere "
                                  "else."),
                     OneMoreDisk}));
    EXPECT_EQ(TestFiles::read(disk(4) + "/clip.avi.bat"), ExampleScript);
    EXPECT_FALSE(QFileInfo::exists(temporaryScript()));
    EXPECT_EQ(view.progress(), "3/3");
}

TEST_F(FloppyDisks, ClearsEveryDiskBeforeItsPieceButNotTheExtraOne)
{
    useClearScript();
    for (int n = 1; n <= 3; ++n)
        TestFiles::write(disk(n) + "/old.txt", "old");
    chooseExample(2 * 1457664);
    writeToFloppy(true);
    prompter.answer(Reply::Ok);
    swapTo(2);
    prompter.answer(Reply::Ok);
    prompter.answer(Reply::Ok);
    swapTo(3);
    cutFile();

    EXPECT_EQ(prompter.shown(),
              QList({clearQuestion(1, "1 file: old.txt", 1), nextDisk("A:\\clip.avi.1", 2),
                     clearQuestion(2, "1 file: old.txt", 2),
                     warningMessage("You probably will need one more FDD for clip.avi.bat"),
                     OneMoreDisk}));
    EXPECT_EQ(clears(), QStringList({disk(1), disk(2)}));
    EXPECT_EQ(filesIn(disk(1)), QStringList("clip.avi.1"));
    EXPECT_EQ(filesIn(disk(2)), QStringList("clip.avi.2"));
    EXPECT_EQ(filesIn(disk(3)), QStringList({"clip.avi.bat", "old.txt"}));
}

TEST_F(FloppyDisks, ClearsOncePerPieceForTheExample)
{
    useClearScript();
    const QString source = chooseExample();
    writeToFloppy(true);
    swapTo(2);
    swapTo(3);
    cutFile();
    EXPECT_EQ(clears(), QStringList({disk(1), disk(2), disk(3)}));
    expectJoinsBack({disk(1), disk(2), disk(3)}, source);
}

TEST_F(FloppyDisks, AsksAgainRatherThanClearADiskThatHoldsAPieceOfTheRun)
{
    useClearScript();
    const QString source = chooseExample();
    // An earlier run left a piece of the same name and length on disk 2.
    TestFiles::write(disk(2) + "/clip.avi.1", TestFiles::read(source).left(1457664));
    TestFiles::age(disk(2) + "/clip.avi.1");
    writeToFloppy(true);
    prompter.answer(Reply::Ok); // disk 1 stays in the drive
    prompter.answer(Reply::Ok); // and again
    swapTo(2);
    prompter.answer(Reply::Ok); // the earlier piece may go
    prompter.answer(Reply::Ok, [this] { insertDisk(1); }); // disk 1 comes back instead of 3
    swapTo(3);
    cutFile();

    EXPECT_EQ(
        prompter.shown(),
        QList({nextDisk("A:\\clip.avi.1", 2), stillTheDiskWith("A:\\clip.avi.1", 2),
               stillTheDiskWith("A:\\clip.avi.1", 2), clearQuestion(2, "1 file: clip.avi.1", 2),
               nextDisk("A:\\clip.avi.2", 3), stillTheDiskWith("A:\\clip.avi.1", 3)}));
    EXPECT_EQ(clears(), QStringList({disk(1), disk(2), disk(3)}));
    expectJoinsBack({disk(1), disk(2), disk(3)}, source);
}

TEST_F(FloppyDisks, CancelWhileTheSameDiskIsInTheDriveEndsTheRunAsAtTheNextDisk)
{
    useClearScript();
    chooseExample(2000000);
    writeToFloppy(true);
    prompter.answer(Reply::Ok);
    prompter.answer(Reply::Cancel);
    prompter.answer(Reply::Ok);
    cutFile();

    EXPECT_EQ(
        prompter.shown(),
        QList({nextDisk("A:\\clip.avi.1", 2), stillTheDiskWith("A:\\clip.avi.1", 2),
               informationMessage(cancelledAfter(1, 2) + scriptLeftBehind(temporaryScript()))}));
    EXPECT_EQ(clears(), QStringList(disk(1)));
    EXPECT_EQ(filesIn(disk(1)), QStringList("clip.avi.1"));
    expectProgressShowsOnDisks(1);
}

TEST_F(FloppyDisks, WritesTheNextPieceOnTheSameDiskWhenNothingIsCleared)
{
    const QString source = chooseExample();
    writeToFloppy(false);
    prompter.answer(Reply::Ok);
    prompter.answer(Reply::Ok);
    cutFile();

    EXPECT_EQ(prompter.shown(),
              QList({nextDisk("A:\\clip.avi.1", 2), nextDisk("A:\\clip.avi.2", 3)}));
    EXPECT_EQ(filesIn(disk(1)),
              QStringList({"clip.avi.1", "clip.avi.2", "clip.avi.3", "clip.avi.bat"}));
    expectJoinsBack({disk(1)}, source);
}

TEST_F(FloppyDisks, WritesThePieceWhateverTheClearingCommandDid)
{
    useClearScript("exit 3");
    const QString source = chooseExample(100);
    writeToFloppy(true);
    cutFile();
    EXPECT_EQ(clears(), QStringList(disk(1)));
    expectJoinsBack({disk(1)}, source);
}

TEST_F(FloppyDisks, AsksForTheFirstDiskWhenNoneIsInTheDriveAtCut)
{
    const QString source = chooseExample(100);
    writeToFloppy(false);
    ejectDisk();
    prompter.answer(Reply::Ok, [this] { insertDisk(1); });
    cutFile();
    EXPECT_EQ(prompter.shown(), QList({anotherDisk("There is no disk in the drive.", 1)}));
    expectJoinsBack({disk(1)}, source);

    // Cancel there writes nothing, and says nothing more.
    prompter = ScriptedPrompter();
    QDir(disk(1)).removeRecursively();
    ejectDisk();
    showOldProgress();
    prompter.answer(Reply::Cancel);
    cutFile();
    EXPECT_EQ(prompter.shown().size(), 1);
    EXPECT_TRUE(filesIn(path("C")).isEmpty()) << "the script goes with the run";
    expectProgressReset();
}

TEST_F(FloppyDisks, AsksBeforeClearingADiskThatHoldsFilesAndTakesAnotherOnCancel)
{
    useClearScript();
    const QString source = chooseExample(100);
    writeToFloppy(true);
    struct Case
    {
        const char *what;
        std::function<void()> fill;
        QString holds;
    };
    const Case cases[] = {
        {"a file", [this] { TestFiles::write(disk(1) + "/thesis.doc", "work"); },
         "1 file: thesis.doc"},
        {"files and a folder, hidden ones too",
         [this] {
             TestFiles::write(disk(1) + "/b.txt", "b");
             TestFiles::write(disk(1) + "/.hidden", "h");
             QDir(disk(1)).mkpath("Old/deeper");
             TestFiles::write(disk(1) + "/A.txt", "a");
         },
         "3 files and 1 folder: .hidden, A.txt, b.txt and 1 more"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        for (int n = 1; n <= 2; ++n)
            QDir(disk(n)).removeRecursively();
        c.fill();
        const QStringList kept = filesIn(disk(1));
        insertDisk(1);
        prompter = ScriptedPrompter();
        prompter.answer(Reply::Cancel);
        swapTo(2);
        cutFile();

        EXPECT_EQ(prompter.shown(),
                  QList({clearQuestion(1, c.holds, 1),
                         anotherDisk("The disk in the drive was not cleared.", 1)}));
        EXPECT_EQ(filesIn(disk(1)), kept) << "nothing of it is cleared";
        EXPECT_EQ(clears(), QStringList(disk(2)));
        expectJoinsBack({disk(2)}, source);
        QFile::remove(path("clears.log"));
    }

    // OK clears it; an empty disk is cleared without a word.
    prompter = ScriptedPrompter();
    insertDisk(1);
    prompter.answer(Reply::Ok);
    cutFile();
    EXPECT_EQ(prompter.shown(),
              QList({clearQuestion(1,
                                   "3 files and 1 folder: .hidden, A.txt, "
                                   "b.txt and 1 more",
                                   1)}));
    EXPECT_EQ(filesIn(disk(1)), QStringList({"clip.avi.1", "clip.avi.bat"}));
    prompter = ScriptedPrompter();
    QDir(disk(1)).removeRecursively();
    insertDisk(1);
    cutFile();
    EXPECT_TRUE(prompter.shown().isEmpty());
    EXPECT_EQ(clears(), QStringList({disk(1), disk(1)}));
}

TEST_F(FloppyDisks, TakesNoDiskButTheOneFloppyAndSaysWhatItFoundInstead)
{
    const QString source = chooseExample(100);
    writeToFloppy(true);
    useClearScript();
    struct Case
    {
        const char *what;
        FloppyDrive::Lookup lookup;
        QString problem;
    };
    const Case cases[] = {
        {"a large volume at a usual folder",
         {{}, {{"/media/floppy0", "/dev/sdc1", false}}},
         "There is no disk in the drive.\r\nThe volume at /media/floppy0 (/dev/sdc1) is larger "
         "than a floppy disk, so it is not taken for drive A:."},
        {"two floppy disks",
         {{{disk(1), "/dev/fd0", true}, {disk(3), "/dev/sdb", false}}, {}},
         "2 floppy disks are mounted: " + disk(1) + " (/dev/fd0, write-protected) and " + disk(3)
             + " (/dev/sdb). Unmount all of them but one, so that the cut knows which disk is "
               "drive A:."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        for (int n = 1; n <= 3; ++n)
            QDir(disk(n)).removeRecursively();
        TestFiles::write(disk(3) + "/theirs.txt", "theirs");
        QFile::remove(path("clears.log"));
        prompter = ScriptedPrompter();
        platform.setFloppyLookup(c.lookup);
        swapTo(2);
        cutFile();

        EXPECT_EQ(prompter.shown(), QList({anotherDisk(c.problem, 1)}));
        EXPECT_EQ(clears(), QStringList(disk(2))) << "only the disk taken for the drive";
        EXPECT_EQ(filesIn(disk(3)), QStringList("theirs.txt"));
        expectJoinsBack({disk(2)}, source);
    }
}

TEST_F(FloppyDisks, LooksAtTheExtraDiskForTheScriptAsAtAPiecesDiskWithClearingOn)
{
    useClearScript();
    const QString source = makeSource("fax.bin", 2 * 1457664);
    choose(source, "1 457 664");
    writeToFloppy(true);
    // Another case of the joined name, and an earlier cut's script.
    TestFiles::write(disk(3) + "/FAX.BIN", "someone's fax");
    TestFiles::write(disk(4) + "/fax.bin.bat", "old");
    swapTo(2);
    prompter.answer(Reply::Ok);
    swapTo(3);
    prompter.answer(Reply::Ok);
    swapTo(4);
    prompter.answer(Reply::Ok);
    cutFile();

    const QList<Prompter::Message> shown = prompter.shown();
    ASSERT_EQ(shown.size(), 6);
    EXPECT_EQ(shown[3],
              errorMessage("The disk in the drive holds a file named FAX.BIN, the name the pieces "
                           "join back into: joining them beside it would add them to that file."));
    EXPECT_EQ(shown[4], OneMoreDisk);
    EXPECT_EQ(shown[5].text,
              "The disk in the drive already holds 1 file with the names of the pieces or the "
              "join script of fax.bin: fax.bin.bat.\r\nOK replaces them, so that only this cut's "
              "files have those names; Cancel stops the cut without touching them.");
    EXPECT_EQ(filesIn(disk(3)), QStringList("FAX.BIN"));
    EXPECT_EQ(TestFiles::read(disk(3) + "/FAX.BIN"), "someone's fax");
    EXPECT_EQ(clears(), QStringList({disk(1), disk(2)})) << "no disk of the script is cleared";
    expectJoinsBack({disk(1), disk(2), disk(4)}, source);
}

TEST_F(FloppyDisks, ReadsEachFileBackFromItsDiskAndTakesAnotherDiskForOneThatDiffers)
{
    const QString source = chooseExample();
    writeToFloppy(false);
    // A disk that stores a wrong byte: the file name on disk n has one flipped once it is
    // whole, before it is read back.
    const auto flipOn = [this](int n, const QString &name, qint64 length) {
        view.onStep = [this, n, name, length] {
            QFile written(disk(n) + '/' + name);
            if (written.size() != length || !written.open(QIODevice::ReadWrite))
                return;
            written.seek(length / 2);
            const char byte = written.read(1).at(0);
            written.seek(length / 2);
            written.write(QByteArray(1, char(byte ^ 0x20)));
            view.onStep = {};
        };
    };
    prompter.answer(Reply::Ok, [&] {
        insertDisk(2);
        flipOn(2, "clip.avi.2", 1457664);
    });
    swapTo(3);
    prompter.answer(Reply::Ok, [&] {
        insertDisk(4);
        flipOn(4, "~join~clip.avi.tmp", ExampleScript.size());
    });
    prompter.answer(Reply::Ok);
    swapTo(5);
    cutFile();

    EXPECT_EQ(prompter.shown(),
              QList({nextDisk("A:\\clip.avi.1", 2),
                     anotherDisk("The disk in the drive is damaged: A:\\clip.avi.2, read back "
                                 "from it, differs from what was written. The cut writes piece 2 "
                                 "anew onto the next disk.",
                                 2),
                     nextDisk("A:\\clip.avi.2", 3),
                     errorMessage("The disk in the drive is damaged: the join script, read back "
                                  "from it, differs from what was written.\r\nThe join script is "
                                  "not on the disk with A:\\clip.avi.3."),
                     OneMoreDisk}));
    EXPECT_TRUE(filesIn(disk(2)).isEmpty()) << "the bad copies are removed";
    EXPECT_EQ(filesIn(disk(4)), QStringList("clip.avi.3"));
    expectJoinsBack({disk(1), disk(3), disk(4), disk(5)}, source);
}

TEST_F(FloppyDisks, LeavesNoScriptCutShortWhenTheDiskFailsDuringTheHandOver)
{
    const QString source = chooseExample();
    writeToFloppy(false);
    struct Case
    {
        const char *what;
        // Done once the last piece is on its disk.
        std::function<void()> fail;
        QString said;
        QStringList left;
    };
    const Case cases[] = {
        {"a folder that takes the script's name as it is copied",
         [this] {
             view.onStep = [this] {
                 QDir(disk(3)).mkdir("clip.avi.bat");
             };
         },
         "An error #75 occured:\r\nPath/File access error\r\nMorlend\r\nThe join script is "
         "not on the disk with A:\\clip.avi.3.",
         {"clip.avi.3", "clip.avi.bat"}},
        {"a disk taken out as the script is copied",
         [this] {
             view.onStep = [this] {
                 ejectDisk();
             };
         },
         "An error #71 occured:\r\nDisk not ready\r\nMorlend\r\nThe join script is not on the "
         "disk with A:\\clip.avi.3. A:\\~join~clip.avi.tmp on it is an incomplete copy of the "
         "script: delete it.",
         {"clip.avi.3", "~join~clip.avi.tmp"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        for (int n = 1; n <= 4; ++n)
            QDir(disk(n)).removeRecursively();
        insertDisk(1);
        prompter = ScriptedPrompter();
        swapTo(2);
        swapTo(3);
        view.onProgress = [&](qint64 piece) {
            if (piece == 3)
                c.fail();
        };
        prompter.answer(Reply::Ok, [this] {
            view.onStep = {};
            view.onProgress = {};
        });
        swapTo(4);
        cutFile();

        EXPECT_EQ(prompter.shown().mid(2), QList({errorMessage(c.said), OneMoreDisk}));
        EXPECT_EQ(filesIn(disk(3)), c.left) << "no script, whole or cut short";
        EXPECT_FALSE(QFileInfo(disk(3) + "/clip.avi.bat").isFile());
        EXPECT_EQ(TestFiles::read(disk(4) + "/clip.avi.bat"), ExampleScript);
        QFile::remove(disk(3) + "/~join~clip.avi.tmp");
        QDir(disk(3)).rmdir("clip.avi.bat");
        expectJoinsBack({disk(1), disk(2), disk(3), disk(4)}, source);
    }
}

TEST_F(FloppyDisks, KeepsItsTemporaryScriptToItselfAndRemovesOneThatJoinsNothing)
{
    // Another window's run, or an earlier one that was cancelled, has a script waiting.
    TestFiles::write(temporaryScript(), "@echo off\r\nren \"clip.avi.1\" \"clip.avi\"\r\n");
    const QString source = chooseExample();
    writeToFloppy(false);
    swapTo(2);
    swapTo(3);
    cutFile();
    expectJoinsBack({disk(1), disk(2), disk(3)}, source);
    EXPECT_EQ(filesIn(path("C")), QStringList("~join~clip.avi.tmp"))
        << "the other script stays, and this run's own is removed";
    EXPECT_EQ(TestFiles::read(temporaryScript()),
              "@echo off\r\nren \"clip.avi.1\" \"clip.avi\"\r\n");

    // Cancelled after its first piece, a run's script holds no piece's lines: it goes, and the
    // message names no script.
    prompter = ScriptedPrompter();
    for (int n = 1; n <= 3; ++n)
        QDir(disk(n)).removeRecursively();
    insertDisk(1);
    swapTo(2, Reply::Cancel);
    prompter.answer(Reply::Ok);
    cutFile();
    EXPECT_EQ(prompter.last(), informationMessage(cancelledAfter(1, 3)));
    EXPECT_EQ(filesIn(path("C")), QStringList("~join~clip.avi.tmp"));
    expectProgressShowsOnDisks(1);
}

} // namespace
