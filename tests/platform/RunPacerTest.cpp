#include "RunPacer.h"

#include "PaintRecorder.h"
#include "WindowDrag.h"

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
class Pacing : public ::testing::Test
{
protected:
    Pacing()
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

    QWidget window;
    QLabel caption {&window};
    QLineEdit edit {&window};
    PaintRecorder recorder {caption};
    RunPacer pacer {window};
    qint64 now = 0;
};

TEST_F(Pacing, ShowsTheWindowAtMostOnceAFrameOfItsScreen)
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

} // namespace
