#include "controls/CopyOffer.h"

#include "tests/controls/DropAreaWindow.h"
#include "tests/support/QtPrinters.h"

#include <QWindow>

#include <gtest/gtest.h>

namespace {

using CopyOfferTest = DropAreaWindow;

// A file manager asked to move (Shift held) offers the move alone.
TEST_F(CopyOfferTest, TakesADragThatOffersOnlyAMoveAsACopyWhereTheWindowIsOfferedCopies)
{
    CopyOffer offer;
    window.windowHandle()->installEventFilter(&offer);
    WindowDrag drag(window, files, Qt::MoveAction);
    EXPECT_EQ(drag.enter(beside, Qt::ShiftModifier), Qt::IgnoreAction)
        << "nothing takes drops there";
    EXPECT_EQ(drag.move(over, Qt::ShiftModifier), Qt::CopyAction);
    EXPECT_EQ(drag.move(over, Qt::ShiftModifier), Qt::CopyAction);
    EXPECT_EQ(drag.drop(over, Qt::ShiftModifier), Qt::CopyAction);
    EXPECT_EQ(dropped, 1);
}

} // namespace
