#include "ui/RunPacer.h"

#include "tests/support/PaintRecorder.h"
#include "tests/support/WindowDrag.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QScreen>
#include <QShortcut>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>
#include <utility>

namespace {

// A shown window with a caption and a text box, paced by a clock the test sets.
class RunPacerTest : public ::testing::Test
{
protected:
    RunPacerTest()
    {
        window.resize(200, 60);
        caption.setGeometry(0, 0, 100, 20);
        edit.setGeometry(0, 30, 100, 20);
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        edit.setFocus();
        QCoreApplication::processEvents();
        pacer.setClock([this] { return now; });
        recorder.paints.clear();
    }

    // One step of a run that changes the caption, at the time given.
    void step(qint64 at, const QString &text)
    {
        now = at;
        caption.setText(text);
        pacer.pace();
    }

    // What the window system shows of a control of the window.
    QImage onScreen(const QWidget &control) const
    {
        const QRect area(control.mapTo(&window, QPoint(0, 0)), control.size());
        return window.screen()
            ->grabWindow(window.winId(), area.x(), area.y(), area.width(), area.height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

    qint64 frame() const { return qint64(1e9 / window.screen()->refreshRate()); }

    // Types at the window as the window system delivers keys: to the window, after a look for
    // a shortcut, once the window answers.
    void typeWhileAnswering(const QList<QKeyCombination> &keys)
    {
        QMetaObject::invokeMethod(
            &window,
            [this, keys] {
                for (const QKeyCombination key : keys)
                    QTest::keyClick(window.windowHandle(), key.key(), key.keyboardModifiers());
            },
            Qt::QueuedConnection);
    }

    QWidget window;
    QLabel caption {&window};
    QLineEdit edit {&window};
    PaintRecorder recorder {caption};
    RunPacer pacer {window};
    qint64 now = 0;
};

TEST_F(RunPacerTest, ShowsTheWindowAtMostOnceAFrameOfItsScreen)
{
    ASSERT_GT(window.screen()->refreshRate(), 0);
    const struct
    {
        qint64 at;
        int paints;
    } steps[] = {
        {0, 1}, // the first step is shown at once
        {frame() - 1, 1}, // within the frame
        {frame(), 2}, // a frame later
        {frame() + frame() / 2, 2}, //
        {2 * frame() - 1, 2}, //
        {2 * frame(), 3}, //
        {10 * frame(), 4}, // a long step is shown once
        {10 * frame() + 1, 4}, //
    };
    int index = 0;
    for (const auto &s : steps) {
        const QString text = QString::number(++index);
        step(s.at, text);
        EXPECT_EQ(recorder.paints.size(), s.paints) << "step " << index;
    }
    pacer.show();
    EXPECT_EQ(recorder.paints.size(), 5) << "shown on demand, whatever the clock says";
    EXPECT_EQ(onScreen(caption), caption.grab().toImage().convertToFormat(QImage::Format_RGB32))
        << "the screen shows the last caption";
}

TEST_F(RunPacerTest, KeysTypedWhileTheWindowAnswersGoButEscapeStopsTheRun)
{
    int shortcuts = 0;
    QObject::connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_K), &window),
                     &QShortcut::activated, [&shortcuts] { ++shortcuts; });
    int escapes = 0;
    pacer.setOnEscape([&escapes] { ++escapes; });
    typeWhileAnswering({Qt::Key_A, Qt::CTRL | Qt::Key_K, Qt::Key_Escape, Qt::Key_B});
    step(0, "1");
    EXPECT_EQ(escapes, 1);
    EXPECT_EQ(shortcuts, 0) << "no shortcut acts in the middle of a run";
    QCoreApplication::processEvents();
    EXPECT_EQ(edit.text(), "") << "nothing typed acts, nor waits in the window's queue";
    EXPECT_EQ(shortcuts, 0);
}

TEST_F(RunPacerTest, InputPendingWhenTheRunEndsNeverArrives)
{
    step(0, "1");
    // Typed after the last frame the run answered.
    typeWhileAnswering({Qt::Key_A});
    pacer.dropPendingInput();
    QCoreApplication::processEvents();
    EXPECT_EQ(edit.text(), "");
}

TEST_F(RunPacerTest, TheWindowAnswersCallsAndCloseRequestsButNoTimers)
{
    bool called = false;
    QMetaObject::invokeMethod(
        &window, [&called] { called = true; }, Qt::QueuedConnection);
    bool timedOut = false;
    QTimer::singleShot(1, &window, [&timedOut] { timedOut = true; });
    QTest::qSleep(5);
    struct CloseWatch : QObject
    {
        bool eventFilter(QObject *, QEvent *event) override
        {
            closes += event->type() == QEvent::Close;
            return false;
        }
        int closes = 0;
    } watch;
    window.installEventFilter(&watch);
    QCoreApplication::postEvent(window.windowHandle(), new QCloseEvent);

    step(0, "1");
    EXPECT_TRUE(called) << "a call posted to the window, as assistive technology reads it";
    EXPECT_EQ(watch.closes, 1) << "the window manager's request to close";
    EXPECT_FALSE(timedOut) << "timers wait as the user's input does";
    QCoreApplication::processEvents();
    EXPECT_TRUE(timedOut);
}

TEST_F(RunPacerTest, DragsOverTheWindowAreRefusedWhileItAnswers)
{
    struct DropTarget : QWidget
    {
        using QWidget::QWidget;
        void dragEnterEvent(QDragEnterEvent *event) override { event->acceptProposedAction(); }
        void dropEvent(QDropEvent *event) override
        {
            event->acceptProposedAction();
            ++drops;
        }
        int drops = 0;
    } target(&window);
    target.setAcceptDrops(true);
    target.setGeometry(100, 0, 100, 60);
    target.show();
    QMimeData data;
    data.setText("dropped");
    const QPoint centre(150, 30);
    const auto dragAndDrop = [&] {
        WindowDrag drag(window, data, Qt::CopyAction);
        const Qt::DropAction entered = drag.enter(centre);
        return std::pair(entered, drag.drop(centre));
    };
    std::pair<Qt::DropAction, Qt::DropAction> whileAnswering;
    QMetaObject::invokeMethod(
        &window, [&] { whileAnswering = dragAndDrop(); }, Qt::QueuedConnection);

    step(0, "1");
    EXPECT_EQ(whileAnswering, std::pair(Qt::IgnoreAction, Qt::IgnoreAction));
    EXPECT_EQ(target.drops, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(target.drops, 0) << "a refused drop does not come back";
    EXPECT_EQ(dragAndDrop(), std::pair(Qt::CopyAction, Qt::CopyAction)) << "outside a run";
    EXPECT_EQ(target.drops, 1);
}

} // namespace
