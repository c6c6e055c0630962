#include "controls/ImageBox.h"

#include "controls/CopyOffer.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/WindowDrag.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

// A window with a drop area in it, and a drag of one file as a file manager makes it.
class DropArea : public ::testing::Test
{
protected:
    DropArea()
    {
        window.resize(200, 100);
        box.setGeometry(20, 20, 100, 30);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        WindowDrag::carryFiles(files, {"/tmp/clip.avi"});
        QObject::connect(&box, &ImageBox::OLEDragDrop,
                         [this](const QMimeData *data) { dropped += data->urls().size(); });
    }

    QWidget window;
    ImageBox box {&window};
    QMimeData files;
    int dropped = 0;
    const QPoint over {60, 35};
    const QPoint beside {150, 80};
    static constexpr Qt::DropActions Any = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
};

TEST_F(DropArea, TakesFilesAsACopyWhateverKeysAreHeld)
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

TEST_F(DropArea, RefusesAnythingButFilesAndADragItCannotCopy)
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

// A file manager asked to move (Shift held) offers the move alone.
TEST_F(DropArea, TakesADragThatOffersOnlyAMoveAsACopyWhereTheWindowIsOfferedCopies)
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
