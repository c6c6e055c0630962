#include "engine/JoinRun.h"

#include "engine/RunControl.h"
#include "platform/FolderLock.h"
#include "platform/StopSignals.h"
#include "tests/engine/EngineFixture.h"
#include "tests/engine/JoinOutcomePrinter.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace modMorlend;
using Kind = JoinOutcome::Kind;
using Reply = Prompter::Reply;

namespace {

// Every folder with what it holds, hidden files and those in folders within included.
QMap<QString, QByteArray> contentsOf(const QString &folder)
{
    QMap<QString, QByteArray> contents;
    for (const QString &name : filesIn(folder)) {
        const QString path = folder + '/' + name;
        const QFileInfo info(path);
        contents.insert(name,
                        info.isSymLink()    ? "link to " + info.symLinkTarget().toUtf8()
                            : info.isDir()  ? "folder"
                            : info.isFile() ? TestFiles::read(path)
                                            : "other");
    }
    return contents;
}

// Joins sets that real cuts wrote, with a scripted user.
class Joining : public EngineFixture
{
public:
    Joining() { writeToFolder(out); }

    // Cuts the example, clip.avi of 3 500 000 bytes, into its three pieces in out; returns the
    // script.
    QString cutExample()
    {
        source = chooseExample();
        cutFile();
        EXPECT_TRUE(prompter.shown().isEmpty()) << prompter.last().text.toStdString();
        return out + "/clip.avi.bat";
    }

    // Runs the join, noting the progress it reports and running onProgress there.
    JoinOutcome join(const JoinRequest &request)
    {
        progress.clear();
        const int filesOpen = QDir("/proc/self/fd")
                                  .entryList(QDir::System | QDir::AllEntries | QDir::NoDotAndDotDot)
                                  .size();
        const JoinOutcome outcome = run.join(request, [this](qint64 written, qint64 length) {
            progress << written;
            wholeLength = length;
            if (onProgress)
                onProgress(written);
        });
        EXPECT_EQ(QDir("/proc/self/fd")
                      .entryList(QDir::System | QDir::AllEntries | QDir::NoDotAndDotDot)
                      .size(),
                  filesOpen)
            << "the join left files open";
        return outcome;
    }

    JoinOutcome joinExample() { return join({out + "/clip.avi.bat", {}, false}); }

    const QString out = path("out");
    QString source;
    RunControl control {prompter};
    JoinRun run {control, platform};
    QList<qint64> progress;
    qint64 wholeLength = 0;
    std::function<void(qint64)> onProgress;
};

TEST_F(Joining, JoinsTheSetBesideItsScriptAndKeepsThePieces)
{
    const QString script = cutExample();
    const QMap<QString, QByteArray> set = contentsOf(out);

    EXPECT_EQ(
        joinExample(),
        (JoinOutcome {Kind::Joined,
                      "Joined 3 pieces into " + out + "/clip.avi (3\u00a0500\u00a0000 bytes)."}));
    EXPECT_TRUE(prompter.shown().isEmpty());
    EXPECT_EQ(TestFiles::read(out + "/clip.avi"), TestFiles::read(source));
    QMap<QString, QByteArray> joined = set;
    joined.insert("clip.avi", TestFiles::read(source));
    EXPECT_EQ(contentsOf(out), joined) << "the pieces and the script stay";
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_TRUE(std::is_sorted(progress.cbegin(), progress.cend()));
    EXPECT_EQ(progress.last(), 3500000);
    EXPECT_EQ(wholeLength, 3500000);
    // The whole is not forced onto the disk where nothing of the user's goes.
    EXPECT_EQ(platform.flushes, 0);
    EXPECT_EQ(std::get<JoinPlan>(run.look(script)).length, 3500000);
}

// Into another folder, and with the pieces removed: the script goes first, since run on the
// pieces left it would add them to the whole.
TEST_F(Joining, JoinsIntoAnotherFolderAndRemovesThePiecesWhenAsked)
{
    cutExample();
    const QString other = path("other");
    QDir().mkdir(other);

    EXPECT_EQ(join({out + "/clip.avi.bat", other, true}),
              (JoinOutcome {Kind::Joined,
                            "Joined 3 pieces into " + other
                                + "/clip.avi (3\u00a0500\u00a0000 bytes). The pieces "
                                  "and the join script were removed."}));
    EXPECT_EQ(contentsOf(other),
              (QMap<QString, QByteArray> {{"clip.avi", TestFiles::read(source)}}));
    EXPECT_TRUE(filesIn(out).isEmpty());
    // The whole and its name are on the disk before any piece goes.
    EXPECT_EQ(platform.flushes, 1);
}

// As the joining machine finds them: a piece whose name differs only in case, as a disk that
// keeps names in capitals gives it, is the piece.
TEST_F(Joining, FindsAPieceNamedInOtherCase)
{
    cutExample();
    QFile::rename(out + "/clip.avi.2", out + "/CLIP.AVI.2");

    EXPECT_EQ(join({out + "/clip.avi.bat", {}, true}).kind, Kind::Joined);
    EXPECT_EQ(contentsOf(out), (QMap<QString, QByteArray> {{"clip.avi", TestFiles::read(source)}}));
}

// The first thing that is wrong, in plain words, with nothing written or changed.
TEST_F(Joining, RefusesASetThatIsNotWholeWritingNothing)
{
    struct Case
    {
        const char *what;
        std::function<void(const QString &out)> spoil;
        Kind kind;
        QString message;
        QString folder = {};
        // A look reads the script and the set alone, not where they go.
        bool seenByALook = true;
    };
    const QString script = path("out/clip.avi.bat");
    const Case cases[] = {
        {"a piece missing", [](const QString &out) { QFile::remove(out + "/clip.avi.2"); },
         Kind::NotJoinable, "clip.avi.2 is missing from " + path("out") + "."},
        {"a piece short",
         [](const QString &out) { ::truncate(QFile::encodeName(out + "/clip.avi.2"), 1000000); },
         Kind::NotJoinable,
         "clip.avi.2 has 1\u00a0000\u00a0000 bytes, the pieces before the last have "
         "1\u00a0457\u00a0664 bytes."},
        {"the last piece long",
         [](const QString &out) { ::truncate(QFile::encodeName(out + "/clip.avi.3"), 1457665); },
         Kind::NotJoinable,
         "clip.avi.3, the last piece, has 1\u00a0457\u00a0665 bytes, more than the "
         "1\u00a0457\u00a0664 bytes of each piece before it."},
        {"a piece empty",
         [](const QString &out) { ::truncate(QFile::encodeName(out + "/clip.avi.1"), 0); },
         Kind::NotJoinable, "clip.avi.1 is empty, and a cut writes no empty piece."},
        {"a folder at a piece's name",
         [](const QString &out) {
             QFile::remove(out + "/clip.avi.2");
             QDir(out).mkdir("clip.avi.2");
         },
         Kind::NotJoinable, "clip.avi.2 is a folder, not a piece."},
        {"a pipe at a piece's name",
         [](const QString &out) {
             QFile::remove(out + "/clip.avi.2");
             TestFiles::makePipe(out + "/clip.avi.2");
         },
         Kind::NotJoinable, "clip.avi.2 is no file but a pipe, a device or a socket, not a piece."},
        {"a link that leads nowhere",
         [](const QString &out) {
             QFile::remove(out + "/clip.avi.2");
             QFile::link(out + "/gone", out + "/clip.avi.2");
         },
         Kind::NotJoinable, "clip.avi.2 is a link that leads nowhere, not a piece."},
        {"two pieces in other cases",
         [](const QString &out) {
             QFile::copy(out + "/clip.avi.2", out + "/CLIP.AVI.2");
             QFile::rename(out + "/clip.avi.2", out + "/Clip.Avi.2");
         },
         Kind::NotJoinable,
         "clip.avi.2 is missing, and CLIP.AVI.2 and Clip.Avi.2 differ from its name only in "
         "case: the joining machine would take them for one name."},
        {"a script cut short",
         [](const QString &out) {
             const QByteArray script = TestFiles::read(out + "/clip.avi.bat");
             QFile::remove(out + "/clip.avi.bat");
             TestFiles::write(out + "/clip.avi.bat", script.left(script.lastIndexOf('\n') + 1));
         },
         Kind::NotAScript,
         script
             + " is not a join script as Morlend writes it: line 6 is the last, and the line by "
               "which the script deletes itself (del \"clip.avi.bat\") is missing: the set is "
               "incomplete, as a cut that was stopped leaves it."},
        {"no script", [](const QString &out) { QFile::remove(out + "/clip.avi.bat"); },
         Kind::NotAScript, script + " is missing."},
        {"a folder for a script",
         [](const QString &out) {
             QFile::remove(out + "/clip.avi.bat");
             QDir(out).mkdir("clip.avi.bat");
         },
         Kind::NotAScript, script + " is no file, so it is no join script."},
        {"a folder at the joined name",
         [](const QString &out) { QDir(out).mkdir("clip.avi"); },
         Kind::NotJoinable,
         "A folder has the name the pieces join into: " + path("out/clip.avi") + ".",
         {},
         false},
        {"no folder to join into", [](const QString &) {}, Kind::NotJoinable,
         "There is no folder " + path("nowhere") + " to join into.", path("nowhere"), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (QFileInfo::exists(out))
            QDir(out).removeRecursively();
        cutExample();
        c.spoil(out);
        const QMap<QString, QByteArray> before = contentsOf(out);

        EXPECT_EQ(join({script, c.folder, true}),
                  (JoinOutcome {c.kind, c.message + "\r\nNothing was written."}));
        EXPECT_EQ(contentsOf(out), before);
        if (c.seenByALook) {
            const std::variant<JoinPlan, JoinOutcome> look = run.look(script);
            ASSERT_TRUE(std::holds_alternative<JoinOutcome>(look));
            EXPECT_EQ(std::get<JoinOutcome>(look), (JoinOutcome {c.kind, c.message}))
                << "a look says what a join would";
        }
    }
    EXPECT_TRUE(prompter.shown().isEmpty());
}

TEST_F(Joining, RefusesAFolderThatAnotherMorlendWritesInto)
{
    cutExample();
    const QMap<QString, QByteArray> before = contentsOf(out);
    const FolderLock otherRun(out);

    EXPECT_EQ(joinExample(),
              (JoinOutcome {Kind::NotJoinable,
                            "Another Morlend is writing into the folder " + out
                                + ".\r\nWait until it has finished, and join again.\r\nNothing "
                                  "was written."}));
    EXPECT_EQ(contentsOf(out), before);
}

// A file of the joined name is replaced only when the user agrees; Enter answers Cancel.
TEST_F(Joining, AsksBeforeReplacingAFileOfTheJoinedName)
{
    cutExample();
    TestFiles::write(out + "/clip.avi", "mine");
    const QMap<QString, QByteArray> before = contentsOf(out);
    const Prompter::Message question {
        out
            + "/clip.avi already exists.\r\nOK replaces it with the joined file; Cancel keeps it "
              "and writes nothing.",
        Prompter::Icon::Warning, Prompter::Buttons::OkCancel, Prompter::DefaultTitle, true};

    prompter.answer(Reply::Cancel);
    EXPECT_EQ(
        join({out + "/clip.avi.bat", {}, true}),
        (JoinOutcome {Kind::NotReplaced, out + "/clip.avi was kept.\r\nNothing was written."}));
    EXPECT_EQ(prompter.last(), question);
    EXPECT_EQ(contentsOf(out), before);

    prompter.answer(Reply::Ok);
    EXPECT_EQ(joinExample().kind, Kind::Joined);
    EXPECT_EQ(TestFiles::read(out + "/clip.avi"), TestFiles::read(source));
    EXPECT_EQ(platform.flushes, 1) << "the whole is on the disk before the user's file goes";
}

// The name is taken only if it is still free when the whole is complete: a file that appeared
// meanwhile is asked about as one that was there.
TEST_F(Joining, AsksAboutAFileThatAppearsWhileThePiecesAreJoined)
{
    cutExample();
    onProgress = [this](qint64) {
        if (!QFileInfo::exists(out + "/clip.avi"))
            TestFiles::write(out + "/clip.avi", "theirs");
    };
    prompter.answer(Reply::Cancel);
    EXPECT_EQ(
        joinExample(),
        (JoinOutcome {Kind::NotReplaced, out + "/clip.avi was kept.\r\nNothing was written."}));
    EXPECT_EQ(prompter.last().text,
              out
                  + "/clip.avi appeared while the pieces were joined.\r\nOK replaces it with the "
                    "joined file; Cancel keeps it and writes nothing.");
    EXPECT_EQ(TestFiles::read(out + "/clip.avi"), "theirs");
    EXPECT_EQ(filesIn(out),
              QStringList({"clip.avi", "clip.avi.1", "clip.avi.2", "clip.avi.3", "clip.avi.bat"}));

    QFile::remove(out + "/clip.avi");
    prompter.answer(Reply::Ok);
    EXPECT_EQ(joinExample().kind, Kind::Joined);
    EXPECT_EQ(TestFiles::read(out + "/clip.avi"), TestFiles::read(source));
}

// Escape, the window closed or a stop signal stop the join between two steps of the copy, with
// nothing written, also when a signal comes while a question waits.
TEST_F(Joining, StopsWhenAskedLeavingNothing)
{
    cutExample();
    const QMap<QString, QByteArray> before = contentsOf(out);
    onProgress = [this](qint64) {
        control.requestStop(RunControl::StopReason::Escape);
    };
    EXPECT_EQ(joinExample(),
              (JoinOutcome {Kind::Stopped,
                            "Escape was pressed, so the join stopped.\r\nNothing was written."}));
    EXPECT_EQ(contentsOf(out), before);

    StopSignals::install();
    RunControl fresh {prompter};
    JoinRun signalled {fresh, platform};
    EXPECT_EQ(signalled.join({out + "/clip.avi.bat", {}, false},
                             [](qint64, qint64) { ::raise(SIGTERM); }),
              (JoinOutcome {Kind::Stopped,
                            "Morlend was sent SIGTERM, so the join stopped.\r\n"
                            "Nothing was written."}));
    EXPECT_EQ(contentsOf(out), before);

    TestFiles::write(out + "/clip.avi", "mine");
    prompter.answer(Reply::Ok, [] { ::raise(SIGINT); });
    EXPECT_EQ(signalled.join({out + "/clip.avi.bat", {}, false}, [](qint64, qint64) {}),
              (JoinOutcome {Kind::Stopped,
                            "Morlend was sent SIGINT, so the join stopped.\r\n"
                            "Nothing was written."}));
    EXPECT_EQ(TestFiles::read(out + "/clip.avi"), "mine");
}

TEST_F(Joining, StopsWhenAPieceChangesWhileItIsJoined)
{
    cutExample();
    onProgress = [this](qint64) {
        QFile piece(out + "/clip.avi.3");
        piece.open(QIODevice::Append);
        piece.write("x");
    };
    EXPECT_EQ(joinExample(),
              (JoinOutcome {Kind::NotJoinable,
                            "clip.avi.3 changed while the pieces were joined, so they do not make "
                            "the whole they made when they were looked at.\r\nNothing was "
                            "written."}));
    EXPECT_FALSE(QFileInfo::exists(out + "/clip.avi"));
    EXPECT_EQ(filesIn(out).size(), 4) << "no unfinished file stays";
}

TEST_F(Joining, LeavesNothingWhenTheDiskFills)
{
    cutExample();
    const QMap<QString, QByteArray> before = contentsOf(out);
    fileSizeLimit.emplace(2000000);
    const JoinOutcome outcome = joinExample();
    fileSizeLimit.reset();
    EXPECT_EQ(outcome,
              (JoinOutcome {Kind::Failed,
                            "Joining clip.avi.2 failed: Disk full.\r\nNothing was "
                            "written."}));
    EXPECT_EQ(contentsOf(out), before);
}

// Removing is only for the files that were joined: one that changed since is kept and named.
TEST_F(Joining, KeepsWhatChangedSinceItWasJoined)
{
    cutExample();
    onProgress = [this](qint64 written) {
        if (written > 1457664)
            TestFiles::age(out + "/clip.avi.1");
    };
    EXPECT_EQ(join({out + "/clip.avi.bat", {}, true}),
              (JoinOutcome {Kind::PiecesKept,
                            "Joined 3 pieces into " + out
                                + "/clip.avi (3\u00a0500\u00a0000 bytes).\r\nKept, as they "
                                  "changed since or cannot be removed: clip.avi.1."}));
    EXPECT_EQ(filesIn(out), QStringList({"clip.avi", "clip.avi.1"}));
    EXPECT_EQ(TestFiles::read(out + "/clip.avi"), TestFiles::read(source));
}

// The whole may be read and written by the user; others get to do with it what every piece lets
// them, and the user's file creation mask takes away what it takes from any new file.
TEST_F(Joining, GivesTheWholeThePermissionsThePiecesShare)
{
    struct Case
    {
        mode_t pieces[3];
        mode_t mask;
        mode_t whole;
    };
    const Case cases[] = {
        {{0644, 0644, 0644}, 022, 0644}, {{0600, 0600, 0600}, 022, 0600},
        {{0644, 0600, 0644}, 022, 0600}, {{0755, 0755, 0755}, 022, 0755},
        {{0755, 0644, 0755}, 022, 0644}, {{0444, 0444, 0444}, 022, 0644},
        {{0666, 0666, 0666}, 077, 0600},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << std::oct << c.pieces[1] << " " << c.mask);
        QDir(out).removeRecursively();
        cutExample();
        for (int piece = 0; piece < 3; ++piece)
            ::chmod(QFile::encodeName(out + QString("/clip.avi.%1").arg(piece + 1)),
                    c.pieces[piece]);
        const mode_t previous = ::umask(c.mask);
        const JoinOutcome outcome = joinExample();
        ::umask(previous);
        ASSERT_EQ(outcome.kind, Kind::Joined);
        struct stat info
        {
        };
        ::stat(QFile::encodeName(out + "/clip.avi"), &info);
        EXPECT_EQ(info.st_mode & 07777, c.whole);
    }
}

} // namespace
