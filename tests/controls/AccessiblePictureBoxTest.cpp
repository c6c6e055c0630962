#include "controls/AccessibleControls.h"
#include "controls/PictureBox.h"

#include <QAccessible>

#include <gtest/gtest.h>

namespace {

// The engine fills the progress from the left, one unit a piece, on a scale as wide as the
// run's count of pieces.
TEST(AccessiblePictureBox, IsAProgressBarWhoseValueIsHowFarItsFillsReach)
{
    AccessibleControls::install();
    PictureBox box;
    box.resize(139, 10);
    box.setScaleWidth(7);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&box);
    EXPECT_EQ(accessible->role(), QAccessible::ProgressBar);
    QAccessibleValueInterface *value = accessible->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->minimumValue().toDouble(), 0);
    EXPECT_EQ(value->maximumValue().toDouble(), 7);
    EXPECT_EQ(value->currentValue().toDouble(), 0);

    for (int piece = 1; piece <= 3; ++piece)
        box.fillBox({0, 0}, {qreal(piece), 1});
    EXPECT_EQ(value->currentValue().toDouble(), 3);
    box.fillBox({0, 0}, {2, 1});
    EXPECT_EQ(value->currentValue().toDouble(), 3) << "a shorter fill leaves the bar as long";
    box.clear();
    EXPECT_EQ(value->currentValue().toDouble(), 0);

    value->setCurrentValue(5);
    EXPECT_EQ(value->currentValue().toDouble(), 0) << "the user cannot move the progress";
}

} // namespace
