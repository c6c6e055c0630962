#include "ui/MessageBoxPrompter.h"

#include "platform/StopSignals.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/WindowSystemKeys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <csignal>
#include <gtest/gtest.h>

namespace {

struct Seen
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QWidget *parent = nullptr;
};

TEST(MessageBoxPrompter, ShowsAModalBoxOverTheWindowWithTheProgramsTitle)
{
    QWidget window;
    MessageBoxPrompter prompter(&window);
    struct Case
    {
        Prompter::Message message;
        QMessageBox::StandardButton press;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        Prompter::Reply reply;
    };
    const Case cases[] = {
        {{"General error.", Prompter::Icon::Error},
         QMessageBox::Ok,
         QMessageBox::Critical,
         QMessageBox::Ok,
         Prompter::Reply::Ok},
        {{"You probably will need one more FDD", Prompter::Icon::Warning},
         QMessageBox::Ok,
         QMessageBox::Warning,
         QMessageBox::Ok,
         Prompter::Reply::Ok},
        {{"Please insert one more floppy.", Prompter::Icon::Information,
          Prompter::Buttons::OkCancel},
         QMessageBox::Cancel,
         QMessageBox::Information,
         QMessageBox::Ok | QMessageBox::Cancel,
         Prompter::Reply::Cancel},
        {{"Please insert one more floppy.", Prompter::Icon::Information,
          Prompter::Buttons::OkCancel},
         QMessageBox::Ok,
         QMessageBox::Information,
         QMessageBox::Ok | QMessageBox::Cancel,
         Prompter::Reply::Ok},
        {{"About", Prompter::Icon::Information, Prompter::Buttons::Ok, "About Morlend"},
         QMessageBox::Ok,
         QMessageBox::Information,
         QMessageBox::Ok,
         Prompter::Reply::Ok},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message.text.toStdString());
        Seen seen;
        QTimer::singleShot(0, [&seen, &c] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                    box->parentWidget()};
            box->button(c.press)->click();
        });
        EXPECT_EQ(prompter.ask(c.message), c.reply);
        EXPECT_EQ(seen.title, c.message.title);
        EXPECT_EQ(seen.text, c.message.text);
        EXPECT_EQ(seen.icon, c.icon);
        EXPECT_EQ(seen.buttons, c.buttons);
        EXPECT_EQ(seen.parent, &window);
    }
    EXPECT_EQ(Prompter::Message {}.title, "Morlend");
}

TEST(MessageBoxPrompter, EnterAnswersCancelWhereOkWouldReplaceTheUsersFiles)
{
    MessageBoxPrompter prompter;
    for (const bool cancelIsDefault : {false, true}) {
        SCOPED_TRACE(cancelIsDefault);
        QTimer::singleShot(
            0, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return); });
        const Prompter::Message question {"Replace them?", Prompter::Icon::Warning,
                                          Prompter::Buttons::OkCancel, Prompter::DefaultTitle,
                                          cancelIsDefault};
        EXPECT_EQ(prompter.ask(question),
                  cancelIsDefault ? Prompter::Reply::Cancel : Prompter::Reply::Ok);
    }
}

// Enter held as the box comes (it started the cut) repeats itself into the box; so would
// Escape. Only a key pressed while the box shows answers it.
TEST(MessageBoxPrompter, AKeyHeldAsTheBoxComesAnswersNothing)
{
    MessageBoxPrompter prompter;
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        SCOPED_TRACE(key);
        QTimer::singleShot(0, [key] {
            QWidget *box = QApplication::activeModalWidget();
            const auto send = [key, box](QEvent::Type type, ulong time, bool autoRepeat) {
                sendKeyAsTheWindowSystem(box, type, key, time, autoRepeat);
            };
            // A repeat that Qt recognises, and one that comes as a release and a press of one
            // moment, as the X server repeats a held key.
            send(QEvent::KeyPress, 1000, true);
            send(QEvent::KeyRelease, 1040, false);
            send(QEvent::KeyPress, 1040, false);
            EXPECT_TRUE(box->isVisible()) << "the box is still there";
            send(QEvent::KeyRelease, 1080, false);
            send(QEvent::KeyPress, 1500, false);
        });
        EXPECT_EQ(
            prompter.ask({"Replace them?", Prompter::Icon::Warning, Prompter::Buttons::OkCancel}),
            key == Qt::Key_Return ? Prompter::Reply::Ok : Prompter::Reply::Cancel);
    }
}

TEST(MessageBoxPrompter, AStopSignalDuringARunAnswersTheBoxWithCancel)
{
    StopSignals::install();
    MessageBoxPrompter prompter;
    const StopSignals::DuringRun run;
    QTimer::singleShot(0, [] { ::raise(SIGHUP); });
    EXPECT_EQ(prompter.ask({"Please insert floppy number 2.", Prompter::Icon::Information,
                            Prompter::Buttons::OkCancel}),
              Prompter::Reply::Cancel);
    EXPECT_EQ(StopSignals::received(), SIGHUP);
}

TEST(MessageBoxPrompter, TakesTheMouseFromAnyGrabBeneathTheBox)
{
    QWidget window;
    window.show();
    QWidget grabber(&window);
    grabber.show();
    grabber.grabMouse();
    MessageBoxPrompter prompter(&window);
    QWidget *grabbedWhileShown = &grabber;
    QTimer::singleShot(0, [&grabbedWhileShown] {
        grabbedWhileShown = QWidget::mouseGrabber();
        QApplication::activeModalWidget()->close();
    });
    prompter.ask({"Source file size is 0.", Prompter::Icon::Error});
    EXPECT_EQ(grabbedWhileShown, nullptr);
}

} // namespace
