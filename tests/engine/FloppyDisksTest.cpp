#include "tests/engine/EngineFixture.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestFiles.h"

#include <QDir>
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

const Prompter::Message OneMoreDisk = question("Please insert one more floppy.");

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
              informationMessage("The cut was cancelled after piece 2 of 3."
                                 + scriptLeftBehind(temporaryScript())));
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
    swapTo(2);
    prompter.answer(Reply::Ok);
    swapTo(3);
    cutFile();

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
    prompter.answer(Reply::Ok, [this] { insertDisk(1); }); // disk 1 comes back instead of 3
    swapTo(3);
    cutFile();

    EXPECT_EQ(prompter.shown(),
              QList({nextDisk("A:\\clip.avi.1", 2), stillTheDiskWith("A:\\clip.avi.1", 2),
                     stillTheDiskWith("A:\\clip.avi.1", 2), nextDisk("A:\\clip.avi.2", 3),
                     stillTheDiskWith("A:\\clip.avi.1", 3)}));
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

    EXPECT_EQ(prompter.shown(),
              QList({nextDisk("A:\\clip.avi.1", 2), stillTheDiskWith("A:\\clip.avi.1", 2),
                     informationMessage("The cut was cancelled after piece 1 of 2."
                                        + scriptLeftBehind(temporaryScript()))}));
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

TEST_F(FloppyDisks, FailsAsADiskThatIsNotReadyWhenNoFloppyIsMounted)
{
    chooseExample();
    writeToFloppy(false);
    ejectDisk();
    showOldProgress();
    prompter.answer(Reply::Ok);
    cutFile();
    EXPECT_EQ(prompter.shown(), QList({errorMessage(generalError(71, "Disk not ready"))}));
    expectProgressReset();
}

} // namespace
