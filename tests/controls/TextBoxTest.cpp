#include "TextBox.h"

#include "QtPrinters.h"

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

} // namespace
