#include "controls/AccessibleControls.h"
#include "tests/controls/ButtonFixture.h"
#include "tests/support/QtPrinters.h"

#include <QAccessible>
#include <QDialog>

namespace {

QAccessibleInterface *accessibleOf(QWidget *widget)
{
    return QAccessible::queryAccessibleInterface(widget);
}

const QString press = QAccessibleActionInterface::pressAction();

// A button as assistive technology reaches it, with the clicks it raises counted.
class AccessiblePButtonTest : public ButtonFixture
{
protected:
    static void SetUpTestSuite() { AccessibleControls::install(); }

    AccessiblePButtonTest()
    {
        load({{"caption", "Cut"}});
        QObject::connect(&button, &PButton::Click, [this] { ++clicks; });
    }

    QAccessibleInterface *accessible() { return accessibleOf(&button); }
    void pressThroughAssistiveTechnology() { accessible()->actionInterface()->doAction(press); }

    int clicks = 0;
};

TEST_F(AccessiblePButtonTest, IsAPushButtonNamedByItsCaptionAsItReads)
{
    EXPECT_EQ(accessible()->role(), QAccessible::Button);
    const std::pair<const char *, const char *> captions[] = {
        {"Cut", "Cut"},       {"E&xit", "Exit"}, {"Fish && Chips", "Fish & Chips"},
        {"&&&Both", "&Both"}, {"Tail&", "Tail"}, {"", ""},
    };
    for (const auto &[caption, name] : captions) {
        SCOPED_TRACE(caption);
        button.setCaption(caption);
        EXPECT_EQ(accessible()->text(QAccessible::Name), name);
    }
}

// A click of the mouse ends with the normal look and then Click; so does a press.
TEST_F(AccessiblePButtonTest, PressClicksAsTheMouseDoesOnceTheRequestIsAnswered)
{
    QTest::mouseMove(&button, QPoint(10, 10));
    ASSERT_EQ(look(), PButton::Over);
    EXPECT_EQ(accessible()->actionInterface()->actionNames(), QStringList {press});

    pressThroughAssistiveTechnology();
    EXPECT_EQ(clicks, 0) << "a click that opens a message box would keep the request waiting";
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(look(), PButton::Normal);
    EXPECT_EQ(button.State(), PButton::Normal);
}

TEST_F(AccessiblePButtonTest, PressDoesNothingWhereAClickCouldNotReachTheButton)
{
    button.setEnabled(false);
    EXPECT_TRUE(accessible()->state().disabled);
    pressThroughAssistiveTechnology();
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks, 0) << "disabled";

    button.setEnabled(true);
    QDialog box;
    box.setWindowModality(Qt::ApplicationModal);
    box.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &box);
    pressThroughAssistiveTechnology();
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks, 0) << "under a modal box";

    RecordingHost boxHost;
    PButton inTheBox(boxHost, &box);
    int boxClicks = 0;
    QObject::connect(&inTheBox, &PButton::Click, [&boxClicks] { ++boxClicks; });
    accessibleOf(&inTheBox)->actionInterface()->doAction(press);
    QCoreApplication::processEvents();
    EXPECT_EQ(boxClicks, 1) << "a button of the modal box itself takes the press";

    box.hide();
    pressThroughAssistiveTechnology();
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks, 1) << "once the box has gone";
}

TEST_F(AccessiblePButtonTest, AnnouncesTheWindowsKeyForItAsTheShortcutOfItsPress)
{
    QAccessibleActionInterface *actions = accessible()->actionInterface();
    EXPECT_EQ(actions->keyBindingsForAction(press), QStringList {});
    const std::pair<Qt::Key, const char *> keys[]
        = {{Qt::Key_Enter, "Enter"}, {Qt::Key_Escape, "Esc"}, {Qt::Key_F1, "F1"}};
    for (const auto &[key, announced] : keys) {
        button.setKeyBinding(key);
        EXPECT_EQ(actions->keyBindingsForAction(press), QStringList {announced});
        EXPECT_EQ(accessible()->text(QAccessible::Accelerator), announced);
    }
    EXPECT_EQ(actions->keyBindingsForAction(QAccessibleActionInterface::toggleAction()),
              QStringList {});
}

} // namespace
