#include "ui/JoinWindow.h"

#include "controls/TextBox.h"
#include "platform/Platform.h"
#include "tests/support/ExampleScript.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/ScopedLocale.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TestFiles.h"

#include <QAccessible>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>
#include <memory>

using namespace modMorlend;
using Kind = JoinOutcome::Kind;

namespace {

// The example's three pieces and script in a folder of the test's own, and the window on them.
class JoinWindowTest : public ::testing::Test
{
protected:
    JoinWindowTest()
    {
        for (int piece = 0; piece < 3; ++piece) {
            TestFiles::write(path(QString("clip.avi.%1").arg(piece + 1)),
                             whole.mid(piece * 1457664, 1457664));
        }
        TestFiles::write(script, ExampleScript);
        platform.setHomeFolder(dir.path());
    }

    JoinWindow &open(const JoinRequest &request)
    {
        window = std::make_unique<JoinWindow>(prompter, platform, request);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return *window;
    }
    JoinWindow &open() { return open({script, {}, false}); }

    template<typename Control> Control *control(const char *name) const
    {
        Control *found = window->findChild<Control *>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString shown(const char *name) const { return control<QLabel>(name)->text(); }
    QString path(const QString &name) const { return dir.filePath(name); }
    void press(Qt::Key key, bool autoRepeat = false)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(), autoRepeat);
        QApplication::sendEvent(QApplication::focusWidget(), &press);
    }

    ScopedLocale locale {ScopedLocale::english()};
    QTemporaryDir dir;
    const QString script = path("clip.avi.bat");
    const QByteArray whole = TestFiles::pattern(3500000);
    ScriptedPrompter prompter;
    Platform platform;
    std::unique_ptr<JoinWindow> window;
};

TEST_F(JoinWindowTest, ShowsWhatTheScriptJoinsAndJoinsItAtEnter)
{
    open();
    EXPECT_EQ(window->windowTitle(), "Join pieces - Morlend");
    EXPECT_EQ(shown("name"), "clip.avi");
    EXPECT_EQ(shown("pieces"), "3 in " + dir.path() + ", 3,500,000 bytes in all");
    EXPECT_EQ(control<TextBox>("folder")->text(), dir.path());
    EXPECT_EQ(QApplication::focusWidget(), control<QPushButton>("join"));
    // A screen reader names the folder box by its caption.
    EXPECT_EQ(
        QAccessible::queryAccessibleInterface(control<TextBox>("folder"))->text(QAccessible::Name),
        "Into folder:");

    press(Qt::Key_Return);
    ASSERT_TRUE(window->outcome());
    EXPECT_EQ(window->outcome()->kind, Kind::Joined);
    EXPECT_EQ(shown("result"),
              "Joined 3 pieces into " + dir.path() + "/clip.avi (3,500,000 bytes).");
    EXPECT_EQ(TestFiles::read(path("clip.avi")), whole);
    EXPECT_EQ(control<QProgressBar>("progress")->value(), 1000);
    EXPECT_FALSE(control<QPushButton>("join")->isEnabled());
    EXPECT_EQ(control<QPushButton>("cancel")->text(), "Close");
    EXPECT_EQ(QApplication::focusWidget(), control<QPushButton>("cancel"));
    EXPECT_TRUE(prompter.shown().isEmpty());
}

TEST_F(JoinWindowTest, JoinsIntoTheFolderTypedAndRemovesThePiecesWhenTicked)
{
    QDir(dir.path()).mkdir("other");
    open();
    control<TextBox>("folder")->setText("~/other");
    control<QCheckBox>("removePieces")->setChecked(true);
    window->join();
    EXPECT_EQ(window->outcome()->kind, Kind::Joined);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList("other"));
    EXPECT_EQ(TestFiles::read(path("other/clip.avi")), whole);
}

// Enter joins from the folder box too, once a folder is typed there: the window says so.
TEST_F(JoinWindowTest, JoinsAtEnterTypedInTheFolderBox)
{
    QDir(dir.path()).mkdir("other");
    open();
    TextBox *folder = control<TextBox>("folder");
    folder->setFocus();
    folder->clear();
    QTest::keyClicks(folder, "~/other");
    QTest::keyClick(folder, Qt::Key_Return);
    ASSERT_TRUE(window->outcome());
    EXPECT_EQ(window->outcome()->kind, Kind::Joined);
    EXPECT_EQ(TestFiles::read(path("other/clip.avi")), whole);
}

// The folder box reads as the cut's: a name that is no whole path joins nothing.
TEST_F(JoinWindowTest, RefusesAFolderTextThatNamesNoFolder)
{
    open();
    control<TextBox>("folder")->setText("relative");
    window->join();
    EXPECT_FALSE(window->outcome());
    EXPECT_EQ(shown("result"),
              "\"relative\" names no folder to join into: type the folder's whole path, beginning "
              "with / (or with ~ for your home folder), or A: for the floppy.");
    EXPECT_FALSE(QFile::exists(path("clip.avi")));
}

// Escape stops a join at once, leaving nothing, and the window stays to join again; closing
// the window stops it the same way, and then the window closes.
TEST_F(JoinWindowTest, StopsAJoinAtEscapeOrWhenClosed)
{
    open();
    QApplication::postEvent(window.get(),
                            new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    window->join();
    EXPECT_EQ(window->outcome()->kind, Kind::Stopped);
    EXPECT_EQ(shown("result"), "Escape was pressed, so the join stopped.\nNothing was written.");
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(control<QPushButton>("join")->isEnabled());
    EXPECT_EQ(control<QProgressBar>("progress")->value(), 0);

    QMetaObject::invokeMethod(window.get(), &QWidget::close, Qt::QueuedConnection);
    window->join();
    EXPECT_EQ(shown("result"),
              "The window is being closed, so the join stopped.\nNothing was written.");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList({"clip.avi.1", "clip.avi.2", "clip.avi.3", "clip.avi.bat"}));
}

// Enter pressed again during a join, by habit, neither stops it nor starts another.
TEST_F(JoinWindowTest, TakesEnterDuringAJoinForNothing)
{
    open();
    QApplication::postEvent(window.get(),
                            new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
    window->join();
    EXPECT_EQ(window->outcome()->kind, Kind::Joined);
    EXPECT_EQ(TestFiles::read(path("clip.avi")), whole);
}

// What is wrong with the set shows at once; Join stays offered, as the set may be put right,
// but Enter held down joins nothing.
TEST_F(JoinWindowTest, ShowsWhatIsWrongWithTheSetAndJoinsOnlyAtAFreshEnter)
{
    QFile::remove(path("clip.avi.2"));
    open();
    EXPECT_EQ(shown("name"), "clip.avi.bat");
    EXPECT_EQ(shown("pieces"), "none joined");
    EXPECT_EQ(shown("result"), "clip.avi.2 is missing from " + dir.path() + ".");

    press(Qt::Key_Return, true);
    EXPECT_FALSE(window->outcome()) << "a key held down joined";
    press(Qt::Key_Return);
    ASSERT_TRUE(window->outcome());
    EXPECT_EQ(window->outcome()->kind, Kind::NotJoinable);
    EXPECT_EQ(shown("result"),
              "clip.avi.2 is missing from " + dir.path() + ".\nNothing was written.");
}

TEST_F(JoinWindowTest, AsksBeforeReplacingAFileOfTheJoinedName)
{
    TestFiles::write(path("clip.avi"), "mine");
    open();
    prompter.answer(Prompter::Reply::Cancel);
    window->join();
    EXPECT_EQ(prompter.last().icon, Prompter::Icon::Warning);
    EXPECT_TRUE(prompter.last().cancelIsDefault);
    EXPECT_EQ(shown("result"), path("clip.avi") + " was kept.\nNothing was written.");
    EXPECT_EQ(TestFiles::read(path("clip.avi")), "mine");
}

// A script in the floppy's root whose disk lacks pieces: the window asks for each disk over
// itself and joins into a folder off the floppy, the home folder unless another is typed. The
// pieces stay on their disks, which are out of the drive by then.
TEST_F(JoinWindowTest, JoinsFromFloppyDisksIntoTheHomeFolder)
{
    for (int piece = 1; piece <= 3; ++piece) {
        const QString disk = path(QString("disk%1").arg(piece));
        QDir().mkdir(disk);
        QFile::rename(path(QString("clip.avi.%1").arg(piece)),
                      disk + QString("/clip.avi.%1").arg(piece));
    }
    QFile::rename(script, path("disk3/clip.avi.bat"));
    platform.setFloppyMountPoint(path("disk3"));
    open({path("disk3/clip.avi.bat"), {}, true});
    EXPECT_EQ(shown("pieces"), "3 on floppy disks, asked for one after another");
    EXPECT_EQ(control<TextBox>("folder")->text(), dir.path());
    EXPECT_FALSE(control<QCheckBox>("removePieces")->isChecked());

    prompter.answer(Prompter::Reply::Cancel);
    window->join();
    EXPECT_EQ(shown("result"), "The join was cancelled.\nNothing was written.");
    EXPECT_FALSE(control<QCheckBox>("removePieces")->isEnabled());

    // A prompt comes over the progress of the pieces read, 584 672 bytes of three pieces as
    // long, then 2 042 336 of 3 500 000.
    QList<int> progressAtPrompts;
    for (int disk = 1; disk <= 2; ++disk) {
        prompter.answer(Prompter::Reply::Ok, [this, disk, &progressAtPrompts] {
            progressAtPrompts << control<QProgressBar>("progress")->value();
            platform.setFloppyMountPoint(path(QString("disk%1").arg(disk)));
        });
    }
    window->join();
    EXPECT_EQ(window->outcome()->kind, Kind::Joined);
    EXPECT_EQ(progressAtPrompts, QList({333, 583}));
    EXPECT_EQ(prompter.last().text,
              "File A:\\clip.avi.1 read successfully.\r\nPlease insert the disk with clip.avi.2.");
    EXPECT_EQ(TestFiles::read(path("clip.avi")), whole);
    EXPECT_EQ(QDir(path("disk3")).entryList(QDir::Files),
              QStringList({"clip.avi.3", "clip.avi.bat"}));
}

} // namespace
