#include "controls/ImageBox.h"
#include "controls/PButton.h"
#include "controls/PictureBox.h"
#include "controls/TextBox.h"
#include "engine/Engine.h"
#include "platform/Platform.h"
#include "tests/support/PaintRecorder.h"
#include "tests/support/ScopedLocale.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TestFiles.h"
#include "tests/support/WindowDrag.h"
#include "tests/support/WindowSystemKeys.h"
#include "tests/ui/Form1Fixture.h"
#include "ui/Form1.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// The real window, shown, with a scripted user, cutting in the test's own folder: what a run
// shows on the screen, and what reaches the window while the run lets it answer its desktop.
class Form1Run : public Form1Behaviour
{
protected:
    // The window with a source of length bytes taken in and the size typed, cutting into the
    // folder "out".
    QString choose(qint64 length, const QString &size)
    {
        const QString source = path("clip.avi");
        TestFiles::write(source, TestFiles::pattern(length));
        state().SourcePath = source;
        form.cmbFilesize->setEditText(size);
        form.txtOut->setText(path("out"));
        form.engine().UpdateEstimate();
        return source;
    }

    // The example of 3 500 000 bytes taken in, to go onto three floppies without clearing.
    void chooseFloppy()
    {
        choose(3500000, "1 457 664");
        form.optWrite[1]->click();
        form.chbClearFDD->setChecked(false);
        form.engine().UpdateEstimate();
    }

    // Runs something at the run's first frame, as a posted call reaches the window then.
    template<typename Action> void duringTheRun(Action action)
    {
        QMetaObject::invokeMethod(&form, action, Qt::QueuedConnection);
    }

    // Presses Enter in the size box and lets the window's event loop go on after the run,
    // as it does once the key's handler returns.
    void cut()
    {
        form.cmbFilesize->setFocus();
        QTest::keyClick(form.cmbFilesize, Qt::Key_Return);
        QCoreApplication::processEvents();
    }

    // What the screen shows of a control, and what the control looks like drawn afresh.
    QImage onScreen(const QWidget *control) const
    {
        const QRect area(control->mapTo(&form, QPoint(0, 0)), control->size());
        return form.screen()
            ->grabWindow(form.winId(), area.x(), area.y(), area.width(), area.height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    static QImage drawnAfresh(QWidget *control)
    {
        return control->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    // The screen shows index of count pieces, exactly as a progress box and a caption drawn
    // for it show them.
    void expectProgressShown(qint64 index, qint64 count)
    {
        EXPECT_EQ(form.lblProg->text(), QString("%1/%2").arg(index).arg(count));
        EXPECT_EQ(onScreen(form.lblProg), drawnAfresh(form.lblProg)) << "the caption";
        EXPECT_EQ(onScreen(form.picProg), drawnAfresh(form.picProg)) << "the progress box";
        const QImage &surface = form.picProg->surface();
        const int filled = int(qRound64(surface.width() * double(index) / double(count)));
        const QRgb colour = form.picProg->palette().color(QPalette::Highlight).rgba();
        EXPECT_EQ(surface.pixel(filled - 1, 0), colour) << "filled to " << filled;
        if (filled < surface.width()) {
            EXPECT_NE(surface.pixel(filled, 0), colour) << "and no further";
        }
    }
};

TEST_F(Form1Run, ARunOfManyPiecesReachesTheScreenFarLessOftenThanItWritesPieces)
{
    const qint64 pieces = 3000;
    choose(pieces, "1");
    PaintRecorder caption(*form.lblProg);
    cut();
    EXPECT_EQ(QDir(path("out")).count() - 2, pieces + 1) << "every piece and the script";
    EXPECT_EQ(form.lblProg->text(), "3000/3000");
    EXPECT_GE(caption.paints.size(), 1);
    EXPECT_LT(caption.paints.size() * 10, pieces)
        << "the caption changed " << pieces << " times and was painted " << caption.paints.size()
        << " times";
    expectProgressShown(pieces, pieces);
}

TEST_F(Form1Run, TheProgressShowsAtEveryDiskPromptAndAfterTheRunExactlyAsDrawn)
{
    chooseFloppy();
    for (qint64 disk = 1; disk <= 2; ++disk)
        prompter.answer(Prompter::Reply::Ok, [&, disk] {
            SCOPED_TRACE(disk);
            expectProgressShown(disk, 3);
        });
    cut();
    ASSERT_EQ(prompter.shown().size(), 2);
    expectProgressShown(3, 3);
}

TEST_F(Form1Run, DuringARunTheWindowAnswersWhatIsPostedToIt)
{
    choose(200, "1");
    QString progressSeen;
    duringTheRun([&] { progressSeen = form.lblProg->text(); });
    cut();
    EXPECT_EQ(progressSeen, "0/200")
        << "answered at the first frame, while the first piece is copied";
    EXPECT_EQ(form.lblProg->text(), "200/200");
}

TEST_F(Form1Run, EscapeDuringARunStopsItAtOnceAndTheWindowStays)
{
    choose(200, "1");
    duringTheRun([&] { QTest::keyClick(form.windowHandle(), Qt::Key_Escape); });
    prompter.answer(Prompter::Reply::Ok);
    cut();
    // It arrives at the first frame, as the first piece, a single step, is copied whole.
    EXPECT_EQ(prompter.last(),
              informationMessage("Escape was pressed, so the cut stopped after piece 1 of 200.\r\n"
                                 "The pieces written so far and the join script as far as it "
                                 "goes are kept; they do not rebuild the whole file."));
    EXPECT_EQ(QDir(path("out")).entryList(QDir::Files),
              QStringList({"clip.avi.1", "clip.avi.bat"}));
    EXPECT_EQ(TestFiles::read(path("out/clip.avi.bat")),
              "@echo off\r\nren \"clip.avi.1\" \"clip.avi\"\r\n")
        << "the script joins the piece written";
    EXPECT_TRUE(form.isVisible()) << "Escape stops the run, not the program";
    EXPECT_EQ(form.lblProg->text(), "0/200");
}

TEST_F(Form1Run, KeysPressedDuringARunDoNothingAfterIt)
{
    choose(200, "1");
    QSignalSpy runStarts(form.txtOut, &TextBox::Change);
    // A file dialog opened inside the run would wait there; the timer closes it as it waits.
    bool dialogOpened = false;
    QTimer closeDialogs;
    QObject::connect(&closeDialogs, &QTimer::timeout, [&] {
        if (QWidget *dialog = QApplication::activeModalWidget()) {
            dialogOpened = true;
            dialog->close();
        }
    });
    closeDialogs.start(10);
    duringTheRun([&] {
        QTest::keyClick(form.windowHandle(), Qt::Key_Return);
        QTest::keyClick(form.windowHandle(), Qt::Key_5);
        QTest::keyClick(form.windowHandle(), Qt::Key_O, Qt::ControlModifier);
    });
    cut();
    EXPECT_EQ(runStarts.count(), 1) << "Enter pressed during the run cuts nothing again";
    EXPECT_EQ(form.cmbFilesize->currentText(), "1") << "nor is anything typed";
    EXPECT_FALSE(dialogOpened) << "nor a file chosen with Ctrl+O";
    EXPECT_EQ(form.lblProg->text(), "200/200");
}

// A key held down repeats itself after the run, or after a message box of the run closes: Enter
// held does not cut again, however its repeats come. An X server repeats a held key as a
// release and a press of one moment, which Qt does not always recognise.
TEST_F(Form1Run, EnterHeldDownCutsOnce)
{
    choose(200, "100");
    QSignalSpy runStarts(form.txtOut, &TextBox::Change);
    cut();
    ASSERT_EQ(runStarts.count(), 1);
    struct Press
    {
        const char *what;
        ulong releasedAt;
        ulong pressedAt;
        bool autoRepeat;
        bool cuts;
    };
    const Press presses[] = {
        {"a repeat that Qt recognises", 1000, 1040, true, false},
        {"a release and a press of one moment", 2000, 2000, false, false},
        {"a press after the key was let go", 3000, 3150, false, true},
        {"keys that a program makes, without a time", 0, 0, false, true},
    };
    for (const Press &press : presses) {
        SCOPED_TRACE(press.what);
        const qsizetype before = runStarts.count();
        // The run asks before it replaces the set the run before it wrote.
        if (press.cuts)
            prompter.answer(Prompter::Reply::Ok);
        sendKeyAsTheWindowSystem(form.cmbFilesize, QEvent::KeyRelease, Qt::Key_Return,
                                 press.releasedAt);
        sendKeyAsTheWindowSystem(form.cmbFilesize, QEvent::KeyPress, Qt::Key_Return,
                                 press.pressedAt, press.autoRepeat);
        EXPECT_EQ(runStarts.count(), before + (press.cuts ? 1 : 0));
    }
}

// Where a screen reader listens, Qt's bridge to it holds each key back and hands the control a
// copy, before or after the window saw the window system's own: Enter cuts once either way.
TEST_F(Form1Run, EnterHandedOnByAScreenReadersBridgeCutsOnce)
{
    choose(200, "100");
    QSignalSpy runStarts(form.txtOut, &TextBox::Change);
    cut();
    form.cmbFilesize->setFocus();
    const qsizetype before = runStarts.count();
    prompter.answer(Prompter::Reply::Ok);
    sendKeyAsAScreenReadersBridge(form.cmbFilesize, QEvent::KeyPress, Qt::Key_Return, 5000);
    EXPECT_EQ(runStarts.count(), before + 1) << "the copy alone";
    sendKeyAsAScreenReadersBridge(form.cmbFilesize, QEvent::KeyRelease, Qt::Key_Return, 5040);

    prompter.answer(Prompter::Reply::Ok);
    sendKeyAsTheWindowSystem(form.cmbFilesize, QEvent::KeyPress, Qt::Key_Return, 6000);
    sendKeyAsAScreenReadersBridge(form.cmbFilesize, QEvent::KeyPress, Qt::Key_Return, 6000);
    EXPECT_EQ(runStarts.count(), before + 2) << "the window system's key and its copy";
}

// The cut that Enter starts runs while the key is on its way: it goes on to the control's
// parents once the cut ends, and the focus may have moved to one of them meanwhile (a box took
// it and gave it back elsewhere).
TEST_F(Form1Run, EnterStartsOneCutWhereverTheFocusIsWhenItEnds)
{
    choose(200, "100");
    QSignalSpy runStarts(form.txtOut, &TextBox::Change);
    cut();
    for (QWidget *focusAfter : {static_cast<QWidget *>(&form), static_cast<QWidget *>(nullptr)}) {
        SCOPED_TRACE(focusAfter ? "the window" : "nothing");
        const qsizetype before = runStarts.count();
        prompter.answer(Prompter::Reply::Ok, [&] {
            if (focusAfter)
                focusAfter->setFocus();
            else
                form.txtOut->clearFocus();
        });
        form.txtOut->setFocus();
        QTest::keyClick(form.txtOut, Qt::Key_Return);
        EXPECT_EQ(runStarts.count(), before + 1);
    }
}

TEST_F(Form1Run, ClosingTheWindowDuringARunStopsItAndSaysSo)
{
    choose(2000, "10");
    // As the window manager's close button asks the window; it arrives at the first frame, as
    // the first piece is copied whole, with a key that would start another cut.
    QCoreApplication::postEvent(form.windowHandle(), new QCloseEvent);
    duringTheRun([&] { QTest::keyClick(form.windowHandle(), Qt::Key_Return); });
    prompter.answer(Prompter::Reply::Ok, [&] {
        EXPECT_TRUE(form.isVisible()) << "the window stays while the message shows";
        EXPECT_EQ(form.lblProg->text(), "0/200") << "the progress is reset, as after a cancel";
    });
    cut();
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(prompter.last(),
              informationMessage("The window is being closed, so the cut stopped after piece 1 "
                                 "of 200.\r\nThe pieces written so far and the join script as "
                                 "far as it goes are kept; they do not rebuild the whole file."));
    EXPECT_EQ(QDir(path("out")).entryList(QDir::Files),
              QStringList({"clip.avi.1", "clip.avi.bat"}));
    EXPECT_FALSE(form.isVisible()) << "and then the window closes";
}

TEST_F(Form1Run, WhatReachesTheWindowDuringARunChangesNothingOfIt)
{
    const QString source = choose(102400, "512");
    const QString other = path("other.bin");
    TestFiles::write(other, TestFiles::pattern(10));
    QSignalSpy runStarts(form.txtOut, &TextBox::Change);
    Qt::DropAction dropAnswer = Qt::CopyAction;
    duringTheRun([&] {
        // A file dragged onto the drop area.
        QMimeData data;
        WindowDrag::carryFiles(data, {other});
        WindowDrag drag(form, data, Qt::CopyAction);
        const QPoint dropArea = form.imgDnD->mapTo(&form, form.imgDnD->rect().center());
        drag.enter(dropArea);
        dropAnswer = drag.drop(dropArea);
        // Cut pressed, and a size typed, through assistive technology.
        emit form.cbCut->Click();
        form.cmbFilesize->setEditText("100");
    });
    cut();
    EXPECT_EQ(dropAnswer, Qt::IgnoreAction) << "the drop is refused";
    EXPECT_EQ(state().SourcePath, source);
    EXPECT_EQ(runStarts.count(), 1) << "one run, none inside it";
    QStringList pieces = QDir(path("out")).entryList({"clip.avi.*"}, QDir::Files);
    EXPECT_EQ(pieces.size(), 201) << "200 pieces of 512 bytes and the script";
    EXPECT_EQ(QFileInfo(path("out/clip.avi.200")).size(), 512);
    EXPECT_EQ(form.txtEst->text(), "files: 1024, last file: 100 bytes")
        << "the size typed during the run is planned once it has ended";
    EXPECT_EQ(form.lblProg->text(), "0/1024");
}

} // namespace
