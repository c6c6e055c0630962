#include "tests/controls/ButtonFixture.h"
#include "tests/support/QtPrinters.h"

#include <functional>

namespace {

// A button on which the mouse and keys are driven, with a log of the events it raises.
class PButtonInput : public ButtonFixture
{
protected:
    PButtonInput()
    {
        load({{"caption", "Cut"}});
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        // Qt drops a move to where the pointer already is: start away from the button.
        QTest::mouseMove(&window, QPoint(5, 5));
        const auto withButton = [this](const char *name) {
            return [this, name](qint16 Button, qint16, float, float) {
                log << QString("%1(%2)").arg(name).arg(Button);
            };
        };
        QObject::connect(&button, &PButton::Click, [this] { log << "Click"; });
        QObject::connect(&button, &PButton::DblClick, [this] { log << "DblClick"; });
        QObject::connect(&button, &PButton::MouseMove, withButton("MouseMove"));
        QObject::connect(&button, &PButton::MouseUp, withButton("MouseUp"));
        QObject::connect(&button, &PButton::MouseDown, withButton("MouseDown"));
        QObject::connect(&button, &PButton::MouseOver, [this] { log << "MouseOver"; });
        QObject::connect(&button, &PButton::MouseOut, [this] { log << "MouseOut"; });
    }
    ~PButtonInput() override { QTest::mouseRelease(&button, Qt::NoButton); }

    // Pointer positions in the button's own pixels; outside ones still lie in the window.
    void moveTo(QPoint at) { QTest::mouseMove(&button, at); }
    void press(Qt::MouseButton which, QPoint at) { QTest::mousePress(&button, which, {}, at); }
    void release(Qt::MouseButton which, QPoint at) { QTest::mouseRelease(&button, which, {}, at); }
    // The events raised since the last call.
    QStringList events() { return std::exchange(log, {}); }
    bool grabbing() const { return QWidget::mouseGrabber() == &button; }

    const QPoint inside {10, 10};
    const QPoint insideToo {30, 12};
    const QPoint outside {-20, 5};
    const QPoint outsideToo {100, 40};
    QStringList log;
};

TEST_F(PButtonInput, HoverShowsOverAndLeavingShowsNormal)
{
    moveTo(inside);
    EXPECT_EQ(events(), QStringList({"MouseMove(0)", "MouseOver"}));
    EXPECT_EQ(look(), PButton::Over);
    EXPECT_FALSE(grabbing()) << "the button sees the pointer leave without a grab";

    moveTo(insideToo);
    EXPECT_EQ(events(), QStringList({"MouseMove(0)"}));

    moveTo(outside);
    EXPECT_EQ(events(), QStringList({"MouseMove(0)", "MouseOut"}));
    EXPECT_EQ(look(), PButton::Normal);
    EXPECT_FALSE(grabbing());
}

TEST_F(PButtonInput, DraggingOutWithTheLeftButtonShowsOver)
{
    moveTo(inside);
    press(Qt::LeftButton, inside);
    EXPECT_EQ(events(), QStringList({"MouseMove(0)", "MouseOver", "MouseDown(1)"}));
    EXPECT_EQ(look(), PButton::Pressed);

    moveTo(outside);
    EXPECT_EQ(events(), QStringList({"MouseMove(1)", "MouseOut"}));
    EXPECT_EQ(look(), PButton::Over);
    moveTo(insideToo);
    EXPECT_EQ(events(), QStringList({"MouseMove(1)", "MouseOver"}));
    EXPECT_EQ(look(), PButton::Pressed);
    moveTo(outsideToo);
    EXPECT_EQ(events(), QStringList({"MouseMove(1)", "MouseOut"}));

    release(Qt::LeftButton, outsideToo);
    EXPECT_EQ(events(), QStringList({"MouseUp(1)"})) << "no click outside";
    EXPECT_EQ(look(), PButton::Normal);
}

TEST_F(PButtonInput, AClickEndsInTheNormalLookUntilThePointerMovesAgain)
{
    moveTo(inside);
    events();
    QTest::mouseClick(&button, Qt::LeftButton, {}, inside);
    EXPECT_EQ(events(), QStringList({"MouseDown(1)", "MouseUp(1)", "Click"}));
    EXPECT_EQ(look(), PButton::Normal) << "although the pointer is still over the button";
    EXPECT_FALSE(grabbing());

    moveTo(insideToo);
    EXPECT_EQ(events(), QStringList({"MouseMove(0)", "MouseOver"}));
    EXPECT_EQ(look(), PButton::Over);
}

TEST_F(PButtonInput, ADoubleClickClicksOnce)
{
    moveTo(inside);
    events();
    QTest::mouseClick(&button, Qt::LeftButton, {}, inside);
    QTest::mouseDClick(&button, Qt::LeftButton, {}, inside);
    release(Qt::LeftButton, inside);
    EXPECT_EQ(events(),
              QStringList({"MouseDown(1)", "MouseUp(1)", "Click", "DblClick", "MouseUp(1)"}));
    EXPECT_EQ(look(), PButton::Over);
}

TEST_F(PButtonInput, MovingOutWithTheRightButtonLeavesEveryTime)
{
    moveTo(inside);
    press(Qt::RightButton, inside);
    EXPECT_EQ(look(), PButton::Pressed);
    events();

    moveTo(outside);
    EXPECT_EQ(events(), QStringList({"MouseMove(2)", "MouseOut"}));
    EXPECT_EQ(look(), PButton::Normal);
    moveTo(outsideToo);
    EXPECT_EQ(events(), QStringList({"MouseMove(2)", "MouseOut"}));

    release(Qt::RightButton, outsideToo);
    EXPECT_EQ(events(), QStringList({"MouseUp(2)"}));
    EXPECT_FALSE(grabbing());
}

TEST_F(PButtonInput, ARightClickOverTheButtonIsNoClick)
{
    moveTo(inside);
    events();
    QTest::mouseClick(&button, Qt::RightButton, {}, inside);
    EXPECT_EQ(events(), QStringList({"MouseDown(2)", "MouseUp(2)"}));
    EXPECT_EQ(look(), PButton::Over);
}

TEST_F(PButtonInput, EnablingAgainShowsNormalWhereverThePointerIs)
{
    moveTo(inside);
    button.setEnabled(false);
    EXPECT_EQ(look(), PButton::Disabled);
    EXPECT_FALSE(grabbing()) << "a disabled button holds no grab";
    button.setEnabled(true);
    EXPECT_EQ(look(), PButton::Normal);

    button.setEnabled(false);
    button.Release();
    EXPECT_EQ(look(), PButton::Normal) << "Release shows the normal look even when disabled";
}

TEST_F(PButtonInput, MeetsThePointerAfreshOnceItCanFollowItAgain)
{
    moveTo(inside);
    button.hide();
    EXPECT_EQ(look(), PButton::Normal) << "hidden";
    button.show();
    events();
    moveTo(insideToo);
    EXPECT_EQ(events(), QStringList({"MouseMove(0)", "MouseOver"}));

    window.setEnabled(false);
    EXPECT_EQ(look(), PButton::Normal) << "disabled with its window";
    window.setEnabled(true);
    events();
    moveTo(inside);
    EXPECT_EQ(events(), QStringList({"MouseMove(0)", "MouseOver"}));
    EXPECT_FALSE(grabbing());
}

TEST_F(PButtonInput, ReleaseEndsAnyGrab)
{
    QWidget grabber(&window);
    grabber.show();
    grabber.grabMouse();
    button.Release();
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

// A click raised by a key while the pointer rests on the button may open a message box, which
// a grab held by the button would keep from the mouse.
TEST_F(PButtonInput, AClickRaisedByAKeyFindsTheMouseFree)
{
    struct Case
    {
        const char *how;
        QJsonObject layout;
        std::function<void()> press;
    };
    const Case cases[] = {
        {"Enter",
         {{"caption", "Cut"}, {"defaultok", true}},
         [this] {
             button.InputKey(13);
         }},
        {"Escape",
         {{"caption", "Exit"}, {"defaultcancel", true}},
         [this] {
             button.InputKey(27);
         }},
        {"access key",
         {{"caption", "&Cut"}},
         [this] {
             QTest::keyClick(&window, Qt::Key_C, Qt::AltModifier);
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.how);
        load(c.layout);
        moveTo(outside);
        moveTo(inside);
        ASSERT_EQ(look(), PButton::Over);
        QList<QWidget *> grabbers;
        const auto connection = QObject::connect(
            &button, &PButton::Click, [&grabbers] { grabbers << QWidget::mouseGrabber(); });
        c.press();
        QObject::disconnect(connection);
        EXPECT_EQ(grabbers, QList<QWidget *>({nullptr}));
    }
}

TEST_F(PButtonInput, AnAccessKeyClicksWithoutChangingTheLook)
{
    button.setCaption("&Cut");
    button.setPicture_W(16);
    moveTo(inside);
    events();
    QTest::keyClick(&window, Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(events(), QStringList({"Click"}));
    EXPECT_EQ(look(), PButton::Over);
}

TEST_F(PButtonInput, EnterAndEscapeClickTheDefaultButtons)
{
    struct Case
    {
        bool ok, cancel, enabled;
        int clicksOnEnter, clicksOnEscape;
    };
    const Case cases[] = {
        {true, false, true, 1, 0},  {true, false, false, 1, 0}, {false, true, true, 0, 1},
        {false, true, false, 0, 1}, {true, true, true, 1, 0},   {false, false, true, 0, 0},
    };
    for (const Case &c : cases) {
        load({{"defaultok", c.ok}, {"defaultcancel", c.cancel}, {"enabled", c.enabled}});
        const int lookBefore = look();
        events();
        button.InputKey(13);
        EXPECT_EQ(events().count("Click"), c.clicksOnEnter) << c.ok << c.cancel << c.enabled;
        button.InputKey(27);
        EXPECT_EQ(events().count("Click"), c.clicksOnEscape) << c.ok << c.cancel << c.enabled;
        button.InputKey(32);
        EXPECT_TRUE(events().isEmpty());
        EXPECT_EQ(look(), lookBefore) << "keys leave the look alone";
    }
}

} // namespace
