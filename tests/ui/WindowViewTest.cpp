#include "ui/WindowView.h"

#include "controls/PictureBox.h"
#include "tests/support/PaintRecorder.h"
#include "tests/support/QtPrinters.h"
#include "tests/ui/Form1Fixture.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The engine's view over the real window's controls, shown as the program shows them.
class WindowViewTest : public Form1Behaviour
{
protected:
    QRgb progressColor() const { return form.picProg->palette().color(QPalette::Highlight).rgba(); }

    PictureBox &picProg = *form.picProg;
    QLabel &lblProg = *form.lblProg;
    QCheckBox &chbClearFDD = *form.chbClearFDD;
    WindowView view {form};
};

TEST_F(WindowViewTest, ProgressCountsStepsAndFillsItsShareOfTheBox)
{
    view.startProgress(3);
    const QImage &surface = picProg.surface();
    const int interior = surface.width();
    ASSERT_EQ(interior, 135) << "a 139-pixel box inside its two-pixel frame";

    view.showProgress(2, 3);
    EXPECT_EQ(lblProg.text(), "2/3");
    const QRgb filled = progressColor();
    EXPECT_EQ(surface.pixel(89, 0), filled) << "two thirds of 135 pixels end at pixel 89";
    EXPECT_NE(surface.pixel(90, 0), filled);
    EXPECT_NE(surface.pixel(0, 1), filled) << "one unit of 90 covers only the top pixel row";

    view.showProgress(3, 3);
    EXPECT_EQ(lblProg.text(), "3/3");
    EXPECT_EQ(surface.pixel(interior - 1, 0), filled);

    view.showProgress(-1, 3);
    EXPECT_EQ(lblProg.text(), "0/3");
    EXPECT_NE(surface.pixel(0, 0), filled);
}

TEST_F(WindowViewTest, APieceFillsTheBoxAsItIsCopiedAWholePixelAtATime)
{
    view.showProgress(-1, 2);
    view.startProgress(2);
    const QImage &surface = picProg.surface();
    const QRgb filled = progressColor();
    const qreal pixel = 2.0 / 135;
    QAccessibleValueInterface *value
        = QAccessible::queryAccessibleInterface(&picProg)->valueInterface();

    view.showPieceProgress(0, 0.005);
    EXPECT_EQ(picProg.filledTo(), 0) << "less than a pixel shows nothing";
    EXPECT_NE(surface.pixel(0, 0), filled);

    view.showPieceProgress(0, 0.5);
    EXPECT_EQ(surface.pixel(32, 0), filled) << "half of the first of two pieces: 33 pixels";
    EXPECT_NE(surface.pixel(33, 0), filled);
    EXPECT_DOUBLE_EQ(value->currentValue().toDouble(), 33 * pixel) << "what the box shows";
    EXPECT_EQ(lblProg.text(), "0/2") << "the caption counts whole pieces";

    view.showPieceProgress(1, 0.25);
    EXPECT_EQ(surface.pixel(83, 0), filled);
    EXPECT_NE(surface.pixel(84, 0), filled);
    view.showProgress(2, 2);
    EXPECT_EQ(surface.pixel(134, 0), filled);
    EXPECT_EQ(value->currentValue().toDouble(), 2);
}

TEST_F(WindowViewTest, ProgressPaintsWhatChangedAndNothingElse)
{
    view.startProgress(3);
    QCoreApplication::processEvents();
    PaintRecorder box(picProg);
    PaintRecorder label(lblProg);
    // A clock that stands still: the first step is shown at once, the others at the next
    // paint.
    view.pacer().setClock([] { return 0; });

    view.showProgress(1, 3);
    EXPECT_EQ(box.paints.size(), 1);
    EXPECT_EQ(label.paints.size(), 1);
    view.showProgress(1, 3);
    QCoreApplication::processEvents();
    EXPECT_EQ(box.paints.size(), 1) << "the same progress again changes no pixel";
    EXPECT_EQ(label.paints.size(), 1) << "nor the same caption";
    view.showProgress(2, 3);
    QCoreApplication::processEvents();
    EXPECT_EQ(box.paints.size(), 2);
    EXPECT_EQ(label.paints.size(), 2);
}

TEST_F(WindowViewTest, TheClearBoxIsOnWhenEnabledAndTickedOrGreyed)
{
    struct Case
    {
        bool enabled;
        Qt::CheckState state;
        bool on;
    };
    const Case cases[] = {
        {true, Qt::Checked, true},
        {true, Qt::PartiallyChecked, true},
        {true, Qt::Unchecked, false},
        {false, Qt::Checked, false},
        {false, Qt::PartiallyChecked, false},
    };
    chbClearFDD.setTristate(true);
    for (const Case &c : cases) {
        chbClearFDD.setEnabled(c.enabled);
        chbClearFDD.setCheckState(c.state);
        EXPECT_EQ(view.clearBoxIsOn(), c.on) << c.enabled << ' ' << c.state;
    }
}

} // namespace
