#include "controls/ImageBox.h"
#include "controls/PButton.h"
#include "controls/TextBox.h"
#include "tests/support/ExampleScript.h"
#include "tests/support/QtPrinters.h"
#include "tests/ui/Form1Fixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST_F(Form1Behaviour, StartsUpCaptionedWithItsVersionAndTheFloppySizes)
{
    EXPECT_EQ(form.AppVersion(), MORLEND_VERSION);
    EXPECT_EQ(form.windowTitle(), "Morlend " MORLEND_VERSION);
    QStringList sizes;
    for (int i = 0; i < form.cmbFilesize->count(); ++i)
        sizes << form.cmbFilesize->itemText(i);
    EXPECT_EQ(sizes, QStringList({"1 457 664", "1 213 952", "730 112"}));
    EXPECT_EQ(form.cmbFilesize->currentText(), "1 457 664");
    EXPECT_EQ(form.txtEst->text(), "{no source file selected}");
    EXPECT_EQ(form.lblProg->text(), "0/0");
    EXPECT_EQ(state().PieceSize, 1457664);
    EXPECT_FALSE(state().SourceOnClearedDisk);
    EXPECT_FALSE(form.chbClearFDD->isEnabled());
    EXPECT_TRUE(form.chbClearFDD->isChecked());
    EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST_F(Form1Behaviour, ADropTakesTheFirstFileAndProposesAFolderBesideIt)
{
    const QString movie = makeFile("data/movie.avi", 3500000);
    prompter.answer(Prompter::Reply::Ok);
    drop({QUrl::fromLocalFile(movie), QUrl::fromLocalFile(makeFile("data/other.bin", 10)),
          QUrl::fromLocalFile(makeFile("data/third.bin", 20))});
    EXPECT_EQ(prompter.shown(),
              QList({informationMessage("Morlend cuts one file at a time, so of the 3 files "
                                        "dropped it took "
                                        + movie + '.')}))
        << "the others are not left out in silence";
    EXPECT_EQ(state().SourcePath, movie);
    EXPECT_EQ(form.txtOut->text(), path("data/movie_cut"));
    EXPECT_EQ(form.txtFN->text(), movie + " * 3,500,000 bytes");
    EXPECT_EQ(form.txtEst->text(), "files: 3, last file: 584,672 bytes");
    EXPECT_EQ(form.lblProg->text(), "0/3");

    const QString empty = makeFile("data/empty.txt", 0);
    dropFile(empty);
    EXPECT_EQ(form.txtFN->text(), empty + " * 0 bytes");
    EXPECT_EQ(form.txtOut->text(), path("data/empty_cut"));
    EXPECT_EQ(form.txtEst->text(), "files: 0, last file: 0 bytes");
}

TEST_F(Form1Behaviour, CtrlOChoosesAFileInADialogOfTheWindowAndTakesItAsADrop)
{
    platform.setHomeFolder(path("data"));
    // Qt's own dialog keeps the folders it visited in the user's settings; these are the test's.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path("config"));
    const auto restoreSettings = qScopeGuard([] {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    });
    const QString movie = makeFile("data/movie.avi", 3500000);
    QDir(dir.path()).mkdir("other");
    const QString other = makeFile("other/clip.avi", 10);
    // What the user does in the dialog, given where it opened and what owns it.
    const auto inTheDialog = [](const std::function<void(QFileDialog &)> &act) {
        QTimer::singleShot(0, [act] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr) << "a file dialog is open";
            act(*dialog);
        });
    };
    QString openedIn;
    const QWidget *owner = nullptr;
    // The window manager gives the window back its activation when the dialog closes; the
    // offscreen platform leaves that to the test.
    const auto pressCtrlO = [this, &openedIn](QWidget *control) {
        QApplication::setActiveWindow(&form);
        openedIn.clear();
        pressKey(control, Qt::Key_O, Qt::ControlModifier);
    };
    const auto choose = [&](const QString &file) {
        return [&, file](QFileDialog &dialog) {
            openedIn = dialog.directory().path();
            owner = dialog.parentWidget();
            if (file.isEmpty()) {
                dialog.reject();
            } else {
                dialog.selectFile(file);
                static_cast<QDialog &>(dialog).accept();
            }
        };
    };

    inTheDialog(choose(other));
    pressCtrlO(form.cmbFilesize);
    EXPECT_EQ(owner, &form) << "a dialog without a parent opens beneath a window on top";
    EXPECT_EQ(openedIn, path("data")) << "the home folder, before any file";
    EXPECT_EQ(state().SourcePath, other);
    EXPECT_EQ(form.txtFN->text(), other + " * 10 bytes");
    EXPECT_EQ(form.txtOut->text(), path("other/clip_cut"));

    inTheDialog(choose({}));
    pressCtrlO(form.txtOut);
    EXPECT_EQ(openedIn, path("other")) << "the folder of the file taken last";
    EXPECT_EQ(state().SourcePath, other) << "a cancelled dialog changes nothing";

    inTheDialog(choose(movie));
    pressCtrlO(form.txtFN);
    EXPECT_EQ(state().SourcePath, movie);
    EXPECT_EQ(form.txtEst->text(), "files: 3, last file: 584,672 bytes");
    EXPECT_TRUE(prompter.shown().isEmpty());
}

TEST_F(Form1Behaviour, ADropOfNoFileChangesNothing)
{
    const QString movie = makeFile("data/movie.avi", 3500000);
    dropFile(movie);
    drop({QUrl("https://example.org/movie.avi")});
    EXPECT_EQ(state().SourcePath, movie);
    EXPECT_EQ(form.txtFN->text(), movie + " * 3,500,000 bytes");
}

TEST_F(Form1Behaviour, ADropOfAFileThatCannotBeCutChangesNothingAndSaysWhy)
{
    const QString movie = makeFile("data/movie.avi", 3500000);
    QDir(dir.path()).mkpath("data/album");
    QFile::link(path("data/album"), path("data/album-link"));
    QFile::link(path("data/gone.avi"), path("data/dangling"));
    ASSERT_EQ(mkfifo(QFile::encodeName(path("data/pipe")).constData(), 0600), 0);
    struct Case
    {
        const char *dropped;
        const char *why;
    };
    const Case cases[] = {
        {"data/album", " is a folder, not a file."},
        {"data/album-link", " is a folder, not a file."},
        {"data/gone.avi", " cannot be read: File not found"},
        {"data/dangling", " cannot be read: File not found"},
        {"data/pipe", " cannot be read: Path/File access error"},
    };
    dropFile(movie);
    const QString estimate = form.txtEst->text();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.dropped);
        prompter.answer(Prompter::Reply::Ok);
        dropFile(path(c.dropped));
        EXPECT_EQ(prompter.last(), errorMessage(path(c.dropped) + c.why));
        EXPECT_EQ(state().SourcePath, movie);
        EXPECT_EQ(form.txtFN->text(), movie + " * 3,500,000 bytes");
        EXPECT_EQ(form.txtOut->text(), path("data/movie_cut"));
        EXPECT_EQ(form.txtEst->text(), estimate);
    }

    QFile::link(movie, path("data/movie-link.avi"));
    dropFile(path("data/movie-link.avi"));
    EXPECT_EQ(form.txtFN->text(), path("data/movie-link.avi") + " * 3,500,000 bytes")
        << "a link to a file is taken";
    EXPECT_EQ(prompter.shown().size(), qsizetype(std::size(cases)));
}

TEST_F(Form1Behaviour, ADropOfANameThatIsNoTextInTheSystemsEncodingIsRefused)
{
    // A Latin-1 name from an old disk, and a file whose name is what it reads as in UTF-8.
    const QString lookAlike = path("data/Gr\uFFFD\uFFFDe.txt");
    TestFiles::write(lookAlike, "another file");
    const QByteArray latin1 = QFile::encodeName(path("data"))
        + "/Gr\xFC\xDF"
          "e.txt";
    const int descriptor = ::open(latin1.constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(descriptor, 0);
    ::close(descriptor);
    const QUrl address = QUrl::fromEncoded("file://" + QUrl::toPercentEncoding(path("data"), "/")
                                           + "/Gr%FC%DFe.txt");

    prompter.answer(Prompter::Reply::Ok);
    drop({address});
    EXPECT_EQ(prompter.last(),
              errorMessage(lookAlike
                           + " cannot be read: its name is not text in this system's encoding "
                             "(UTF-8), so the file cannot be opened by it.\r\nRename the file and "
                             "try again."));
    EXPECT_TRUE(state().SourcePath.isEmpty()) << "the look-alike file is not taken";
    EXPECT_EQ(form.txtFN->text(), "{none}");
    // Qt could not name it to remove the test's folder.
    ::unlink(latin1.constData());
}

// Qt's line edits take dropped text, and a file manager's drag of a file carries its address as
// text as well.
TEST_F(Form1Behaviour, OnlyTheDropAreaTakesDrops)
{
    const QString movie = makeFile("data/movie.avi", 3500000);
    dropFile(movie);
    QMimeData files;
    WindowDrag::carryFiles(files, {makeFile("data/other.bin", 10)});
    const QList<QWidget *> others {form.txtFN,       form.txtEst,      form.txtOut,
                                   form.cmbFilesize, form.optWrite[0], form.chbClearFDD,
                                   form.cbCut,       form.lblProg};
    for (QWidget *control : others) {
        SCOPED_TRACE(control->metaObject()->className());
        WindowDrag drag(form, files, Qt::CopyAction | Qt::MoveAction);
        EXPECT_EQ(drag.enter(centreOf(control)), Qt::IgnoreAction);
        EXPECT_EQ(drag.move(centreOf(control)), Qt::IgnoreAction);
        EXPECT_EQ(drag.drop(centreOf(control)), Qt::IgnoreAction);
    }
    EXPECT_EQ(state().SourcePath, movie);
    EXPECT_EQ(form.txtOut->text(), path("data/movie_cut"));
    EXPECT_EQ(form.cmbFilesize->currentText(), "1 457 664");
    EXPECT_EQ(form.txtFN->text(), movie + " * 3,500,000 bytes");
}

TEST_F(Form1Behaviour, TheDropAreaTakesAFileAsACopyWithShiftOrCtrlHeld)
{
    const QString movie = makeFile("data/movie.avi", 3500000);
    QMimeData files;
    WindowDrag::carryFiles(files, {movie});
    WindowDrag drag(form, files, Qt::CopyAction | Qt::MoveAction | Qt::LinkAction);
    const QPoint area = centreOf(form.imgDnD);
    EXPECT_EQ(drag.enter(area, Qt::ShiftModifier), Qt::CopyAction);
    EXPECT_EQ(drag.move(area, Qt::ControlModifier), Qt::CopyAction);
    EXPECT_EQ(drag.drop(area, Qt::ShiftModifier), Qt::CopyAction);
    EXPECT_EQ(state().SourcePath, movie);
}

TEST_F(Form1Behaviour, TheClearBoxFollowsTheDestinationsDrive)
{
    struct Step
    {
        const char *typed; // into txtOut, replacing its text; nullptr: pick an option instead
        int option;
        bool enabled;
    };
    const Step steps[] = {
        {"", 0, false},
        {nullptr, 1, true},
        {nullptr, 0, false},
        {"a:/out", 0, true},
        {"c:/out", 0, false},
        {"A:", 0, true},
        {"floppy-is-elsewhere", 0, false},
    };
    for (const Step &step : steps) {
        if (step.typed) {
            form.txtOut->clear();
            typeInto(form.txtOut, step.typed);
        } else {
            QTest::mouseClick(form.optWrite[step.option], Qt::LeftButton);
        }
        EXPECT_EQ(form.chbClearFDD->isEnabled(), step.enabled)
            << (step.typed ? step.typed : "option") << " " << step.option;
        EXPECT_TRUE(form.chbClearFDD->isChecked()) << "the tick is never changed";
    }
    form.txtOut->setText(path("floppy/parts"));
    EXPECT_TRUE(form.chbClearFDD->isEnabled()) << "a folder at the floppy's mount point";
}

TEST_F(Form1Behaviour, WarnsWhileTheSourceIsOnTheDiskToBeCleared)
{
    const QString onFloppy = makeFile("floppy/clip.avi", 3500000);
    const QString estimate = "files: 3, last file: 584,672 bytes";
    const QString notice = "{file is on disk being cleared}";

    QTest::mouseClick(form.optWrite[1], Qt::LeftButton);
    dropFile(onFloppy);
    EXPECT_EQ(form.txtEst->text(), notice);
    EXPECT_TRUE(state().SourceOnClearedDisk);

    QTest::mouseClick(form.chbClearFDD, Qt::LeftButton);
    EXPECT_EQ(form.txtEst->text(), estimate) << "untick";
    QTest::mouseClick(form.chbClearFDD, Qt::LeftButton);
    EXPECT_EQ(form.txtEst->text(), notice) << "tick again";

    form.cmbFilesize->setFocus();
    form.cmbFilesize->setCurrentIndex(2);
    form.cmbFilesize->setCurrentIndex(0);
    EXPECT_EQ(form.txtEst->text(), estimate) << "a size change shows the estimate";
    dropFile(onFloppy);
    EXPECT_EQ(form.txtEst->text(), notice) << "the same file dropped again";

    form.txtOut->setText(path("data/out"));
    QTest::mouseClick(form.optWrite[0], Qt::LeftButton);
    EXPECT_FALSE(form.chbClearFDD->isEnabled());
    EXPECT_EQ(form.txtEst->text(), estimate) << "the folder option on another disk";

    dropFile(onFloppy);
    EXPECT_EQ(form.txtOut->text(), path("floppy/clip_cut"));
    EXPECT_TRUE(form.chbClearFDD->isEnabled()) << "the proposed folder lies on the floppy";
    EXPECT_EQ(form.txtEst->text(), estimate) << "a folder on the floppy is never cleared";
}

TEST_F(Form1Behaviour, ShowsTheClearedDiskNoticeExactlyWhenCutRefusesAndAfterwards)
{
    const QString notice = "{file is on disk being cleared}";
    const QString refusal = "The file to cut is on the floppy, which would be cleared before its "
                            "first piece is written.\r\nUntick \"Clear disk before copying\" or "
                            "move the file to another disk, and cut again.";
    struct Case
    {
        const char *what;
        int option;
        QString folder;
        // What Cut says: the refusal, that a folder on the floppy is not cleared, or nothing.
        std::optional<QString> message;
    };
    const QString notCleared = "The floppy will not be cleared: the pieces go into the folder %1 "
                               "on it, and clearing would remove them.";
    const Case cases[] = {
        {"the floppy's option", 1, {}, refusal},
        {"the drive's name", 0, "A:", refusal},
        {"the drive's name and separators", 0, "a://", refusal},
        {"a folder on the floppy by the drive's name", 0, "A:/parts", notCleared.arg("A:\\parts")},
        {"a folder on the floppy by its mount point", 0, path("floppy/more"),
         notCleared.arg(path("floppy/more"))},
        {"a folder on another disk", 0, path("data/out"), std::nullopt},
    };
    dropFile(makeFile("floppy/clip.avi", 100));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QTest::mouseClick(form.optWrite[c.option], Qt::LeftButton);
        if (c.option == 0)
            form.txtOut->setText(c.folder);
        const bool noticeShown = form.txtEst->text() == notice;
        EXPECT_EQ(noticeShown, c.message == refusal);

        const qsizetype shownBefore = prompter.shown().size();
        if (c.message)
            prompter.answer(Prompter::Reply::Ok);
        QTest::mouseClick(form.cbCut, Qt::LeftButton);
        QStringList said;
        for (const Prompter::Message &message : prompter.shown().mid(shownBefore))
            said << message.text;
        EXPECT_EQ(said, c.message ? QStringList(*c.message) : QStringList());
        EXPECT_EQ(form.txtEst->text() == notice, noticeShown) << "the run leaves it as it was";
        EXPECT_TRUE(QFileInfo::exists(path("floppy/clip.avi")));
    }
}

TEST_F(Form1Behaviour, EnterCutsFromAnyControlAndTheScriptHasItsExactBytes)
{
    struct Case
    {
        QWidget *control;
        Qt::KeyboardModifiers modifiers;
    };
    const Case cases[] = {
        {form.cmbFilesize, Qt::NoModifier},
        {form.txtOut, Qt::NoModifier},
        {form.txtOut, Qt::ShiftModifier},
        {form.optWrite[0], Qt::NoModifier},
    };
    const QString source = makeFile("data/clip.avi", 3500000);
    for (const Case &c : cases) {
        QDir(path("data/clip_cut")).removeRecursively();
        dropFile(source);
        pressKey(c.control, Qt::Key_Return, c.modifiers);
        SCOPED_TRACE(c.control->metaObject()->className());
        EXPECT_EQ(TestFiles::read(path("data/clip_cut/clip.avi.1"))
                      + TestFiles::read(path("data/clip_cut/clip.avi.2"))
                      + TestFiles::read(path("data/clip_cut/clip.avi.3")),
                  TestFiles::read(source));
        EXPECT_EQ(TestFiles::read(path("data/clip_cut/clip.avi.bat")), ExampleScript);
        EXPECT_EQ(form.lblProg->text(), "3/3");
    }
    EXPECT_EQ(form.cmbFilesize->count(), 3) << "Enter adds nothing to the size list";
    EXPECT_TRUE(prompter.shown().isEmpty()) << "Enter never opens the About box";
}

TEST_F(Form1Behaviour, APickedOrTypedSizeCuts)
{
    const QString source = makeFile("data/clip.avi", 3500000);
    dropFile(source);
    form.cmbFilesize->setFocus();
    form.cmbFilesize->lineEdit()->selectAll();
    QTest::keyClicks(form.cmbFilesize, "2000000");
    EXPECT_EQ(form.txtEst->text(), "files: 2, last file: 1,500,000 bytes");
    QTest::mouseClick(form.cbCut, Qt::LeftButton);
    EXPECT_EQ(QDir(path("data/clip_cut")).entryList(QDir::Files),
              QStringList({"clip.avi.1", "clip.avi.2", "clip.avi.bat"}));
}

// Qt's editable combo box would complete "7" to "730 112" from its list.
TEST_F(Form1Behaviour, TheSizeBoxTakesExactlyWhatIsTypedAndOffersItsListWhenOpened)
{
    const QString source = makeFile("data/clip.avi", 2000);
    dropFile(source);
    struct Case
    {
        const char *typed;
        const char *estimate;
    };
    const Case cases[] = {
        {"7", "files: 286, last file: 5 bytes"},
        {"1 2", "files: 167, last file: 8 bytes"},
        {"730", "files: 3, last file: 540 bytes"},
    };
    for (const Case &c : cases) {
        form.cmbFilesize->setFocus();
        form.cmbFilesize->lineEdit()->selectAll();
        QTest::keyClicks(form.cmbFilesize, c.typed);
        EXPECT_EQ(form.cmbFilesize->currentText(), c.typed);
        EXPECT_EQ(form.txtEst->text(), c.estimate) << c.typed;
    }
    QTest::keyClick(form.cmbFilesize, Qt::Key_Return);
    EXPECT_EQ(TestFiles::read(path("data/clip_cut/clip.avi.3")).size(), 540);
    EXPECT_EQ(form.cmbFilesize->currentText(), "730");

    form.cmbFilesize->showPopup();
    QAbstractItemView *list = form.cmbFilesize->view();
    QStringList offered;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        offered << list->model()->index(row, 0).data().toString();
    EXPECT_EQ(offered, QStringList({"1 457 664", "1 213 952", "730 112"})) << "typing adds nothing";
    const QRect last = list->visualRect(list->model()->index(2, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, last.center());
    EXPECT_EQ(form.cmbFilesize->currentText(), "730 112");
    EXPECT_EQ(form.txtEst->text(), "files: 1, last file: 2,000 bytes");
}

// Qt makes whichever option last had the focus the group's tab stop, and moves between options
// by their places without selecting them when the focused one is not selected.
TEST_F(Form1Behaviour, TabEntersTheOptionsAtTheSelectedOneAndArrowsSelectAsAClickDoes)
{
    const auto focusAfter = [](QWidget *from, Qt::Key key, Qt::KeyboardModifiers keys = {}) {
        from->setFocus();
        QTest::keyClick(from, key, keys);
        return QApplication::focusWidget();
    };
    QWidget *const folder = form.optWrite[0];
    QWidget *const floppy = form.optWrite[1];
    EXPECT_EQ(focusAfter(form.txtOut, Qt::Key_Tab, Qt::ShiftModifier), folder);
    EXPECT_EQ(focusAfter(folder, Qt::Key_Tab, Qt::ShiftModifier), form.txtEst);
    EXPECT_EQ(focusAfter(form.txtEst, Qt::Key_Tab), folder);
    EXPECT_EQ(focusAfter(folder, Qt::Key_Tab), form.txtOut);

    struct Step
    {
        QWidget *from;
        Qt::Key arrow;
        QWidget *selected;
    };
    const Step steps[] = {
        {folder, Qt::Key_Down, floppy},  {floppy, Qt::Key_Up, folder},
        {folder, Qt::Key_Right, floppy}, {floppy, Qt::Key_Left, folder},
        {folder, Qt::Key_Up, floppy},    {floppy, Qt::Key_Down, folder},
    };
    for (const Step &step : steps) {
        EXPECT_EQ(focusAfter(step.from, step.arrow), step.selected);
        EXPECT_TRUE(static_cast<QRadioButton *>(step.selected)->isChecked());
        EXPECT_EQ(form.chbClearFDD->isEnabled(), step.selected == floppy)
            << "the destination follows, as after a click";
    }

    QTest::keyClick(folder, Qt::Key_Down);
    EXPECT_EQ(focusAfter(form.txtOut, Qt::Key_Tab, Qt::ShiftModifier), floppy);
    EXPECT_EQ(focusAfter(floppy, Qt::Key_Tab, Qt::ShiftModifier), form.txtEst);
    EXPECT_EQ(focusAfter(form.txtEst, Qt::Key_Tab), floppy);
    EXPECT_EQ(focusAfter(floppy, Qt::Key_Tab), form.txtOut);
}

TEST_F(Form1Behaviour, EscapeAndExitEndTheProgram)
{
    pressKey(form.txtOut, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());

    Form1 again {prompter, platform};
    again.show();
    QTest::mouseClick(again.cbExit, Qt::LeftButton);
    EXPECT_FALSE(again.isVisible());
}

TEST_F(Form1Behaviour, F1AndTheAboutButtonShowWhoMadeIt)
{
    const QString about = "Morlend " MORLEND_VERSION "\r\n"
                          "Written by Ravik, 2026. Free to use and to pass on.\r\n"
                          "View readme.txt and license.txt for more information.\r\n"
                          "\r\n"
                          "E-MAIL: ravik@example.org\r\n"
                          "WEB: https://example.org/morlend or https://morlend.example.org";
    const Prompter::Message expected {about, Prompter::Icon::Information, Prompter::Buttons::Ok,
                                      "About Morlend by Ravik"};
    prompter.answer(Prompter::Reply::Ok);
    pressKey(form.cmbFilesize, Qt::Key_F1);
    prompter.answer(Prompter::Reply::Ok);
    QTest::mouseClick(form.cbAbout, Qt::LeftButton);
    EXPECT_EQ(prompter.shown(), QList<Prompter::Message>({expected, expected}));
}

} // namespace
