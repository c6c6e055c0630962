#include "controls/TextBox.h"

#include "tests/support/QtPrinters.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QShortcut>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(TextBox, RaisesChangeOnEveryWriteAndEveryEdit)
{
    TextBox box;
    QSignalSpy changes(&box, &TextBox::Change);

    box.setText("C:/out");
    box.setText("C:/out");
    EXPECT_EQ(changes.count(), 2) << "writing the same text raises the change again";

    box.setFocus();
    QTest::keyClick(&box, Qt::Key_X);
    EXPECT_EQ(changes.count(), 3);
    EXPECT_EQ(box.text(), "C:/outx");
}

// The paste keys in a read-only box reach its owner with the clipboard's data, and neither
// change the box nor trigger a shortcut of the window with the same keys; an editable box pastes
// as ever.
TEST(TextBox, HandsAPasteIntoAReadOnlyBoxToItsOwner)
{
    QWidget window;
    TextBox box(&window);
    QShortcut windowsPaste(QKeySequence::Paste, &window);
    QSignalSpy windowPasted(&windowsPaste, &QShortcut::activated);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    box.setFocus();
    QApplication::clipboard()->setText("/data/clip.avi");

    box.setReadOnly(true);
    box.setText("{none}");
    QList<QString> pasted;
    QObject::connect(&box, &TextBox::pasteRequested,
                     [&pasted](const QMimeData *data) { pasted << data->text(); });
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(pasted, QList<QString>({"/data/clip.avi", "/data/clip.avi"}));
    EXPECT_EQ(box.text(), "{none}");
    EXPECT_EQ(windowPasted.count(), 0);

    QApplication::clipboard()->clear();
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(pasted.size(), 2) << "an empty clipboard offers nothing to paste";

    box.setReadOnly(false);
    box.setText(QString());
    QApplication::clipboard()->setText("/data/clip.avi");
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box.text(), "/data/clip.avi");
    EXPECT_EQ(pasted.size(), 2);
    EXPECT_EQ(windowPasted.count(), 0);
}

} // namespace
