#include "tests/engine/EngineFixture.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/ScopedFileSizeLimit.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using Reply = Prompter::Reply;

// What keeps a run from losing or spoiling the user's data, whatever changes under it.
class RunSafety : public EngineFixture
{
};

TEST_F(RunSafety, MeasuresTheSourceAgainWhenTheRunStarts)
{
    struct Case
    {
        qint64 lengthAtRun;
        const char *estimate;
    };
    const Case cases[] = {
        {4000000, "files: 3, last file: 1\u00a0084\u00a0672 bytes"},
        {2000000, "files: 2, last file: 542\u00a0336 bytes"},
    };
    for (const Case &c : cases) {
        const QString source = chooseExample();
        TestFiles::write(source, TestFiles::pattern(c.lengthAtRun + 7).mid(7));
        rememberSource(source);
        const QString out = path(QString("out%1").arg(c.lengthAtRun));
        writeToFolder(out);
        cutFile();

        EXPECT_EQ(view.estimate, QString::fromUtf8(c.estimate)) << "the estimate follows";
        EXPECT_EQ(view.source, source + " * " + QString::number(c.lengthAtRun))
            << "and so does the source box";
        expectJoinsBack({out}, source);
    }
    EXPECT_TRUE(prompter.shown().isEmpty());
}

TEST_F(RunSafety, StopsWhenTheSourceEndsEarlierThanMeasured)
{
    insertDisk(1);
    const QString source = chooseExample();
    writeToFloppy(false);
    prompter.answer(Reply::Ok, [&] {
        QFile::resize(source, 2000000);
        rememberSource(source);
    });
    prompter.answer(Reply::Ok);
    cutFile();

    // The piece that came out short is not left behind.
    EXPECT_EQ(prompter.last(),
              errorMessage("The file " + source
                           + " changed while it was cut, so the pieces do not rebuild it. Nothing "
                             "was removed.\r\nCut the file again when nothing changes it."));
    EXPECT_EQ(filesIn(disk(1)), QStringList("clip.avi.1"));
    expectProgressShowsOnDisks(1);
}

TEST_F(RunSafety, RefusesToClearTheFloppyThatHoldsTheSource)
{
    useClearScript();
    insertDisk(1);
    const QString source = makeSource("disk1/clip.avi", 3500000);
    writeToFloppy(true);
    // The source named by its mount point, and by the drive's name.
    for (const QString &sourcePath : {source, QString("A:\\clip.avi")}) {
        choose(sourcePath, "1 457 664");
        showOldProgress();
        prompter.answer(Reply::Ok);
        cutFile();

        EXPECT_EQ(prompter.last(),
                  errorMessage("The file to cut is on the floppy, which would be cleared before "
                               "its first piece is written.\r\nUntick \"Clear disk before "
                               "copying\" or move the file to another disk, and cut again."))
            << sourcePath.toStdString();
        EXPECT_TRUE(clears().isEmpty()) << "nothing is cleared";
        EXPECT_EQ(filesIn(disk(1)), QStringList("clip.avi")) << "nothing is written";
        EXPECT_TRUE(filesIn(path("C")).isEmpty());
        expectProgressReset();
    }
    EXPECT_EQ(prompter.shown().size(), 2);
}

TEST_F(RunSafety, ClearsNothingWhenThePiecesGoIntoAFolderOnTheFloppy)
{
    useClearScript();
    insertDisk(1);
    const QString source = chooseExample();
    writeToFolder("a:/parts");
    view.clearBoxEnabled = true;
    view.clearBoxTicked = true;
    // An earlier floppy run has found the interpreter already.
    engine.state().InterpreterPath = platform.interpreterPath();
    prompter.answer(Reply::Ok);
    cutFile();

    EXPECT_EQ(
        prompter.shown(),
        QList({informationMessage("The floppy will not be cleared: the pieces go into the "
                                  "folder A:\\parts on it, and clearing would remove them.")}));
    EXPECT_TRUE(clears().isEmpty());
    expectJoinsBack({disk(1) + "/parts"}, source);
}

TEST_F(RunSafety, StopsTheRunWhenClearingOverstaysItsTime)
{
    useClearScript("sleep 30");
    platform.setClearTimeLimit(300);
    insertDisk(1);
    chooseExample(100);
    writeToFloppy(true);
    showOldProgress();
    prompter.answer(Reply::Ok);
    QElapsedTimer clock;
    clock.start();
    cutFile();

    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_EQ(prompter.shown(),
              QList({errorMessage("Clearing the floppy did not end in time and was stopped. "
                                  "Nothing was written on this disk; check it and cut again.")}));
    EXPECT_EQ(clears(), QStringList(disk(1)));
    EXPECT_TRUE(filesIn(disk(1)).isEmpty()) << "no piece is written beside the clearing";
    expectProgressReset();
}

TEST_F(RunSafety, WritesNamesThatTheInterpreterWouldReadAsCommandsSoTheyJoinBack)
{
    for (const char *name :
         {"100% a&b^c!(d) e.avi", "%PATH%.avi", "%1 %~dp0.avi", "a  b ;,=.avi"}) {
        const QString source = makeSource(name, 3500000);
        choose(source, "1 457 664");
        const QString out = path(QString("out%1").arg(qHash(QString(name))));
        writeToFolder(out);
        cutFile();
        SCOPED_TRACE(name);
        expectJoinsBack({out}, source);
    }
    EXPECT_TRUE(prompter.shown().isEmpty());
}

TEST_F(RunSafety, RefusesNamesThatWouldBreakOutOfTheirQuotes)
{
    const char *names[]
        = {"a\"b.avi", "a\" & del *.* & \".avi", "a\nb.avi", "a\rb.avi", "a\tb.avi", "a\x01.avi",
           "a\x7f.avi"};
    for (const char *const &name : names) {
        choose(makeSource(name, 100), "1 457 664");
        writeToFolder(path("out"));
        prompter.answer(Reply::Ok);
        cutFile();
        EXPECT_EQ(prompter.shown().value(&name - names),
                  errorMessage("The join script cannot name the file: its name holds a double "
                               "quote or a control character, which would break the script's "
                               "commands.\r\nRename the file and try again."))
            << name;
        EXPECT_FALSE(QFileInfo::exists(path("out"))) << "nothing is written";
    }
}

TEST_F(RunSafety, RefusesNamesTheJoiningMachineCannotHoldBeforeWritingAnything)
{
    for (const char *name : {"a*b.avi", "a:b.avi", "clip.avi ", "clip.", "CON", "lpt1.txt"}) {
        choose(makeSource(name, 100), "1 457 664");
        writeToFolder(path("out"));
        prompter.answer(Reply::Ok);
        cutFile();
        EXPECT_EQ(prompter.last().icon, Prompter::Icon::Error) << name;
        EXPECT_TRUE(prompter.last().text.startsWith("The join script cannot name the file: "))
            << name;
        EXPECT_FALSE(QFileInfo::exists(path("out"))) << "nothing is written";
    }
}

TEST_F(RunSafety, FlushesEachFileOnTheFloppyBeforeTheUserIsToldItIsWritten)
{
    insertDisk(1);
    const QString source = chooseExample();
    writeToFloppy(false);
    prompter.answer(Reply::Ok, [&] {
        EXPECT_EQ(platform.flushes, 1);
        insertDisk(2);
    });
    prompter.answer(Reply::Ok, [&] {
        EXPECT_EQ(platform.flushes, 2);
        insertDisk(3);
    });
    cutFile();
    EXPECT_EQ(platform.flushes, 4) << "the last piece and the script, before the run ends";

    // A folder on the floppy, named by the drive, by the floppy's mount point, or through a
    // link to it: a file dropped from the floppy proposes the second.
    ASSERT_TRUE(QFile::link(disk(3), path("floppy-link")));
    for (const QString &folder :
         {QString("A:/parts"), disk(3) + "/mounted", path("floppy-link/linked")}) {
        platform.flushes = 0;
        writeToFolder(folder);
        cutFile();
        EXPECT_EQ(platform.flushes, 4) << "three pieces and the script in " << folder.toStdString();
    }

    platform.flushes = 0;
    writeToFolder(path("out"));
    cutFile();
    EXPECT_EQ(platform.flushes, 0) << "other disks are left to the system";
    expectJoinsBack({path("out")}, source);
}

// A disk that fails to write the script out may hold any part of it.
TEST_F(RunSafety, RemovesAScriptThatTheFloppyFailedToWriteOut)
{
    insertDisk(1);
    const QString source = chooseExample();
    writeToFolder("A:/parts");
    platform.failingFlush = 4;
    prompter.answer(Reply::Ok);
    cutFile();
    EXPECT_EQ(prompter.last(),
              errorMessage(generalError(57, "Device I/O error")
                           + incompleteSet("pieces 1 to 3 of 3 were written in A:\\parts, and no "
                                           "join script is left")));
    EXPECT_EQ(filesIn(disk(1) + "/parts"), QStringList({"clip.avi.1", "clip.avi.2", "clip.avi.3"}));
}

// The permission bits of what path names, as stat gives them.
mode_t modeOf(const QString &path)
{
    struct stat info
    {
    };
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & 07777;
}

// Sets the process's umask while it lives.
class ScopedUmask
{
public:
    explicit ScopedUmask(mode_t mask)
        : m_previous(::umask(mask))
    {
    }
    ~ScopedUmask() { ::umask(m_previous); }
    ScopedUmask(const ScopedUmask &) = delete;
    ScopedUmask &operator=(const ScopedUmask &) = delete;

private:
    mode_t m_previous;
};

// A private file stays private in its pieces. The join renames, appends to and deletes the
// pieces, so their owner may read and write them; nobody else gets more than the source gives,
// and no piece is a program.
TEST_F(RunSafety, SharesThePiecesAndTheScriptNoFurtherThanTheSource)
{
    struct Case
    {
        const char *what;
        mode_t source;
        mode_t outputs;
        mode_t umask = 022;
        // The source's group is not the one the folder gives its files.
        bool otherGroup = false;
    };
    const Case cases[] = {
        {"a private file", 0600, 0600},
        {"a file its group reads", 0640, 0640},
        {"a file everyone reads", 0644, 0644},
        {"a file everyone reads, under a private umask", 0644, 0600, 077},
        {"a file everyone may write, within the umask", 0666, 0644},
        {"a file everyone may write, under an open umask", 0666, 0666, 0},
        // Its group reads it less than everyone else: the group's members would read the
        // pieces as everyone else.
        {"a file everyone but its group reads", 0604, 0600},
        {"a read-only file", 0444, 0644},
        {"a program", 0755, 0644},
        {"a program that takes its owner's and its group's rights", 06755, 0644},
        {"a file of another group", 0640, 0600, 022, true},
        {"a file nobody may read but the superuser", 0000, 0600},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        // Modes do not hold back the superuser, and only he gives a file away to a group.
        if ((c.source & 0400) == 0 && ::geteuid() != 0)
            continue;
        if (c.otherGroup && ::geteuid() != 0)
            continue;
        const QString source = makeSource(QString("clip%1.avi").arg(&c - cases), 3000);
        if (c.otherGroup) {
            ASSERT_EQ(::chown(QFile::encodeName(source).constData(), -1, ::getegid() + 4242), 0);
        }
        ASSERT_EQ(::chmod(QFile::encodeName(source).constData(), c.source), 0);
        choose(source, "1000");
        const QString out = path(QString("out%1").arg(&c - cases));
        writeToFolder(out);
        const ScopedUmask umask(c.umask);
        cutFile();
        const QStringList written = filesIn(out);
        ASSERT_EQ(written.size(), 4);
        for (const QString &name : written)
            EXPECT_EQ(modeOf(out + '/' + name), c.outputs) << name.toStdString();
    }

    // The floppy run's script waits in the temporary folder, shared as the pieces are.
    const QString source = chooseExample();
    ASSERT_EQ(::chmod(QFile::encodeName(source).constData(), 0600), 0);
    insertDisk(1);
    writeToFloppy(false);
    prompter.answer(Reply::Ok, [&] {
        EXPECT_EQ(modeOf(path("C/~join~clip.avi.tmp")), 0600u);
        EXPECT_EQ(modeOf(disk(1) + "/clip.avi.1"), 0600u);
        insertDisk(2);
    });
    prompter.answer(Reply::Cancel);
    prompter.answer(Reply::Ok);
    cutFile();
}

TEST_F(RunSafety, StopsWhenTheSourceChangesWhileItIsCut)
{
    struct Change
    {
        const char *what;
        QIODevice::OpenMode mode;
        int firstDisk;
    };
    const Change changes[] = {
        {"bytes appended", QIODevice::Append, 1},
        {"a byte already cut changed in place", QIODevice::ReadWrite, 3},
    };
    for (const Change &change : changes) {
        SCOPED_TRACE(change.what);
        const int first = change.firstDisk;
        insertDisk(first);
        const QString source = chooseExample();
        TestFiles::age(source);
        writeToFloppy(false);
        prompter.answer(Reply::Ok, [&] {
            QFile file(source);
            ASSERT_TRUE(file.open(change.mode));
            file.write("X");
            file.close();
            rememberSource(source);
            insertDisk(first + 1);
        });
        prompter.answer(Reply::Ok);
        cutFile();

        EXPECT_EQ(prompter.last(),
                  errorMessage("The file " + source
                               + " changed while it was cut, so the pieces do not rebuild it. "
                                 "Nothing was removed.\r\n"
                                 "Cut the file again when nothing changes it."));
        EXPECT_EQ(filesIn(disk(first)), QStringList("clip.avi.1"));
        EXPECT_TRUE(filesIn(disk(first + 1)).isEmpty()) << "no piece is written after the change";
        EXPECT_EQ(filesIn(path("C")), QStringList("~join~clip.avi.tmp"))
            << "the script as far as it goes stays, as after a cancel";
        expectProgressShowsOnDisks(1);
        QFile::remove(path("C/~join~clip.avi.tmp"));
    }
}

TEST_F(RunSafety, RemovesAPieceThatCouldNotBeWrittenWhole)
{
    const QString source = chooseExample();
    writeToFolder(path("limited"));
    prompter.answer(Reply::Ok);
    fileSizeLimit.emplace(1000000);
    cutFile();
    EXPECT_EQ(prompter.shown().value(0), errorMessage(generalError(61, "Disk full")));
    EXPECT_FALSE(QFileInfo::exists(path("limited")))
        << "no part of piece 1 stays, nor the script and folder of a run without a piece";

    // The second disk fills up: the run asks for another one, and the user gives up.
    insertDisk(1);
    writeToFloppy(false);
    prompter.answer(Reply::Ok, [this] {
        insertDisk(2);
        fileSizeLimit.emplace(1000000);
    });
    prompter.answer(Reply::Cancel);
    prompter.answer(Reply::Ok);
    cutFile();
    EXPECT_EQ(prompter.shown().value(2).text,
              "The disk in the drive is full.\r\nPlease insert floppy number 2.");
    EXPECT_EQ(filesIn(disk(1)), QStringList("clip.avi.1")) << "the pieces written whole stay";
    EXPECT_TRUE(filesIn(disk(2)).isEmpty());
    EXPECT_EQ(TestFiles::read(disk(1) + "/clip.avi.1"), TestFiles::read(source).left(1457664));
}

TEST_F(RunSafety, RefusesToWriteAnOutputThatIsTheSourceUnderAnotherName)
{
    const QString source = chooseExample();
    struct Case
    {
        const char *output;
        bool (*link)(const QString &, const QString &);
    };
    const auto hardLink = TestFiles::makeHardLink;
    const Case cases[] = {
        {"clip.avi.2",
         [](const QString &t, const QString &n) {
             return QFile::link(t, n);
         }},
        {"clip.avi.3", hardLink},
        {"clip.avi.bat", hardLink},
    };
    for (const Case &c : cases) {
        const QString out = path(QString("out-%1").arg(c.output));
        QDir(dir.path()).mkdir(QFileInfo(out).fileName());
        ASSERT_TRUE(c.link(source, out + '/' + c.output));
        writeToFolder(out);
        prompter.answer(Reply::Ok);
        cutFile();
        EXPECT_EQ(prompter.last(),
                  errorMessage(QString("The file %1/%2 is the file to cut under another name, and "
                                       "writing it would destroy the file.\r\nRemove it or choose "
                                       "another destination.")
                                   .arg(out, c.output)));
        EXPECT_EQ(filesIn(out), QStringList(c.output)) << "nothing is written";
    }
    EXPECT_EQ(prompter.shown().size(), std::size(cases));
}

TEST_F(RunSafety, RefusesAPieceThatIsTheSourceOnADiskInsertedLater)
{
    insertDisk(1);
    const QString source = chooseExample();
    writeToFloppy(false);
    ASSERT_TRUE(QFile::link(source, disk(2) + "/clip.avi.2"));
    prompter.answer(Reply::Ok, [this] { insertDisk(2); });
    prompter.answer(Reply::Ok);
    cutFile();
    EXPECT_EQ(prompter.last(),
              errorMessage("The file A:\\clip.avi.2 is the file to cut under another name, and "
                           "writing it would destroy the file.\r\nRemove it or choose another "
                           "destination."
                           + incompleteSet("piece 1 of 3 was written on its disk, and the join "
                                           "script goes no further")
                           + scriptLeftBehind(path("C/~join~clip.avi.tmp"))));
    EXPECT_EQ(filesIn(disk(1)), QStringList("clip.avi.1"));
    expectProgressShowsOnDisks(1);
}

TEST_F(RunSafety, AStopInTheMiddleOfAPieceRemovesItAndLeavesTheSetAsACancelDoes)
{
    const QString source = makeSource("clip.avi", 48 * 1024 * 1024);
    choose(source, "16777216");
    const QString out = path("out");
    writeToFolder(out);
    // Stopped as the second piece is copied.
    view.onStep = [this] {
        if (view.filledTo == 1)
            engine.stopRun(modMorlend::Engine::StopReason::Escape);
    };
    prompter.answer(Reply::Ok);
    cutFile();

    EXPECT_EQ(prompter.last(),
              informationMessage("Escape was pressed, so the cut stopped after piece 1 of 3.\r\n"
                                 "The pieces written so far and the join script as far as it "
                                 "goes are kept; they do not rebuild the whole file."));
    EXPECT_EQ(filesIn(out), QStringList({"clip.avi.1", "clip.avi.bat"}));
    EXPECT_EQ(TestFiles::read(out + "/clip.avi.bat"),
              "@echo off\r\nren \"clip.avi.1\" \"clip.avi\"\r\n");
    expectProgressReset();
}

TEST_F(RunSafety, APieceOfAnySizePassesThroughNoMoreThanAFixedBuffer)
{
    // The kernel copies within one file system; onto another, the bytes pass through the buffer.
    const QString elsewhere = QDir("/dev/shm").exists() ? "/dev/shm" : QString();
    const QString source = makeSource("clip.avi", 20 * 1024 * 1024);
    choose(source, "2147483647");
    QTemporaryDir other(elsewhere + "/morlend-XXXXXX");
    for (const QString &out :
         {path("out"), elsewhere.isEmpty() ? QString() : other.filePath("out")}) {
        if (out.isEmpty())
            continue;
        SCOPED_TRACE(out.toStdString());
        writeToFolder(out);
        qsizetype largestBuffer = 0;
        int steps = 0;
        view.onStep = [&] {
            ++steps;
            largestBuffer = std::max(largestBuffer, engine.state().PieceBuffer.size());
        };
        cutFile();
        EXPECT_GT(steps, 2) << "the window was answered while the piece was copied";
        EXPECT_LE(largestBuffer, 1024 * 1024);
        EXPECT_TRUE(engine.state().PieceBuffer.isEmpty()) << "freed when the run ends";
        expectJoinsBack({out}, source);
    }
}

} // namespace
