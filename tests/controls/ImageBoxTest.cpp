#include "controls/ImageBox.h"

#include "tests/controls/DropAreaWindow.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using ImageBoxTest = DropAreaWindow;

TEST_F(ImageBoxTest, TakesFilesAsACopyWhateverKeysAreHeld)
{
    const Qt::KeyboardModifiers none, shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
    // The keys held as the drag comes in, as it moves over the area and as it is dropped.
    struct Case
    {
        Qt::KeyboardModifiers enter, move, drop;
    };
    const Case cases[] = {
        {none, none, none},   {shift, shift, shift},
        {ctrl, ctrl, ctrl},   {shift | ctrl, shift | ctrl, shift | ctrl},
        {none, shift, shift}, {shift, none, none},
        {ctrl, shift, shift}, {none, none, shift},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.enter << " " << c.move << " " << c.drop);
        WindowDrag drag(window, files, Any);
        EXPECT_EQ(drag.enter(over, c.enter), Qt::CopyAction);
        EXPECT_EQ(drag.move(over, c.move), Qt::CopyAction);
        EXPECT_EQ(drag.drop(over, c.drop), Qt::CopyAction);
    }
    EXPECT_EQ(dropped, int(std::size(cases)));
}

TEST_F(ImageBoxTest, RefusesAnythingButFilesAndADragItCannotCopy)
{
    QMimeData text;
    text.setText("file:///tmp/clip.avi");
    WindowDrag textDrag(window, text, Any);
    EXPECT_EQ(textDrag.enter(over), Qt::IgnoreAction);
    EXPECT_EQ(textDrag.drop(over), Qt::IgnoreAction);

    WindowDrag moveOnly(window, files, Qt::MoveAction | Qt::LinkAction);
    EXPECT_EQ(moveOnly.enter(over, Qt::ShiftModifier), Qt::IgnoreAction)
        << "never answers move: the source could delete its file";
    EXPECT_EQ(moveOnly.move(over, Qt::ShiftModifier), Qt::IgnoreAction);
    EXPECT_EQ(moveOnly.drop(over, Qt::ShiftModifier), Qt::IgnoreAction);
    EXPECT_EQ(dropped, 0);
}

} // namespace
