#include "controls/PictureBox.h"

#include "tests/support/PaintRecorder.h"
#include "tests/support/QColorPrinter.h"
#include "tests/support/QtPrinters.h"

#include <QFrame>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// A progress box of 139 by 10 pixels, shown, with every paint it gets kept: its interior is
// 135 by 6 pixels inside the two-pixel sunken border, 100 units wide.
class PictureBoxTest : public ::testing::Test
{
protected:
    PictureBoxTest()
    {
        box.setGeometry(3, 3, 139, 10);
        box.setScaleWidth(100);
        box.setForeColor(OleColor::Highlight);
        window.resize(150, 20);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();
        paints.clear();
    }

    QRgb filled() const { return box.palette().color(QPalette::Highlight).rgba(); }

    const QRect interior {2, 2, 135, 6};
    QWidget window;
    PictureBox box {&window};
    PaintRecorder recorder {box};
    // The paints since the window was first shown.
    QList<QRegion> &paints = recorder.paints;
};

TEST_F(PictureBoxTest, TheNextPaintShowsOnlyThePixelsAFillChanged)
{
    box.fillBox({0, 0}, {10, 1});
    EXPECT_TRUE(paints.isEmpty()) << "a fill waits for the window's next paint";
    QCoreApplication::processEvents();
    ASSERT_EQ(paints.size(), 1);
    EXPECT_EQ(paints[0], QRegion(2, 2, 14, 6)) << "ten units of 1.35 pixels, the border left out";
    EXPECT_EQ(box.surface().pixel(13, 0), filled());
    EXPECT_NE(box.surface().pixel(14, 0), filled());

    box.fillBox({0, 0}, {20, 1});
    QCoreApplication::processEvents();
    ASSERT_EQ(paints.size(), 2);
    EXPECT_EQ(paints[1], QRegion(16, 2, 13, 6)) << "only the strip that grew";

    QCoreApplication::processEvents();
    EXPECT_EQ(paints.size(), 2) << "nothing drawn, nothing painted";
}

TEST_F(PictureBoxTest, AFillThatCoversNoNewPixelPaintsNothing)
{
    box.fillBox({0, 0}, {10, 1});
    QCoreApplication::processEvents();
    // 10.3 units end in the same pixel as 10 do, and 5 lie within them.
    for (const QPointF corner : {QPointF(10, 1), QPointF(10.3, 1), QPointF(5, 1)}) {
        box.fillBox({0, 0}, corner);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(paints.size(), 1);

    box.setForeColor(OleColor::ButtonText);
    box.fillBox({0, 0}, {5, 1});
    QCoreApplication::processEvents();
    EXPECT_EQ(paints.size(), 2) << "the same box in another colour changes its pixels";
    EXPECT_EQ(box.surface().pixel(0, 0), box.palette().color(QPalette::ButtonText).rgba());

    box.clear();
    box.fillBox({0, 0}, {5, 1});
    QCoreApplication::processEvents();
    ASSERT_EQ(paints.size(), 3);
    EXPECT_EQ(paints[2], QRegion(interior)) << "a cleared box shows its whole interior again";
}

TEST_F(PictureBoxTest, WhatWasDrawnStaysWhenTheBoxChangesSize)
{
    box.fillBox({0, 0}, {10, 1});
    box.resize(200, 20);
    const QImage &surface = box.surface();
    ASSERT_EQ(surface.size(), QSize(196, 16));
    EXPECT_EQ(surface.pixel(13, 5), filled());
    EXPECT_NE(surface.pixel(14, 5), filled());
    EXPECT_NE(surface.pixel(13, 6), filled()) << "the new part of the surface starts blank";
}

TEST_F(PictureBoxTest, AFullRepaintStillDrawsTheBorderAndTheSurface)
{
    box.fillBox({0, 0}, {100, 1});
    box.repaint();
    ASSERT_EQ(paints.size(), 1);
    QFrame plain(&window);
    plain.setFrameStyle(box.frameStyle());
    plain.setGeometry(3, 3, 139, 10);
    const QImage expected = plain.grab().toImage();
    plain.hide();
    const QImage shown = window.grab(box.geometry()).toImage();
    for (const QPoint border : {QPoint(0, 0), QPoint(1, 1), QPoint(138, 9), QPoint(137, 8)})
        EXPECT_EQ(shown.pixel(border), expected.pixel(border)) << border.x() << ',' << border.y();
    EXPECT_EQ(shown.pixel(70, 2), QColor(filled()).rgb());
}

} // namespace
