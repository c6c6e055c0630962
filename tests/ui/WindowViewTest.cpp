#include "ui/WindowView.h"

#include "controls/OleColor.h"
#include "controls/PictureBox.h"
#include "controls/TextBox.h"
#include "tests/support/PaintRecorder.h"
#include "tests/support/QtPrinters.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// The controls the engine reads and writes, as the window has them at start-up, and the view
// over them.
class WindowViewTest : public ::testing::Test
{
protected:
    WindowViewTest()
    {
        picProg.setGeometry(3, 216, 139, 10);
        picProg.setScaleWidth(20.25);
        picProg.setScaleHeight(90);
        picProg.setForeColor(OleColor::Highlight);
        lblProg.setGeometry(147, 215, 79, 13);
        optFolder.setChecked(true);
        chbClearFDD.setEnabled(false);
        chbClearFDD.setChecked(true);
    }

    QRgb progressColor() const { return picProg.palette().color(QPalette::Highlight).rgba(); }

    QWidget window;
    QComboBox cmbFilesize {&window};
    TextBox txtEst {&window};
    PictureBox picProg {&window};
    QLabel lblProg {&window};
    QRadioButton optFolder {&window};
    QRadioButton optFloppy {&window};
    TextBox txtOut {&window};
    QCheckBox chbClearFDD {&window};
    WindowView view {{&cmbFilesize,
                      &txtEst,
                      &picProg,
                      &lblProg,
                      {&optFolder, &optFloppy},
                      &txtOut,
                      &chbClearFDD}};
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

TEST_F(WindowViewTest, ProgressPaintsWhatChangedAndNothingElse)
{
    view.startProgress(3);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
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
