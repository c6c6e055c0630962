#include "clsMemoryDC.h"

#include "QtPrinters.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

void expectEmpty(const clsMemoryDC &dc)
{
    EXPECT_EQ(dc.Width(), 0);
    EXPECT_EQ(dc.Height(), 0);
    EXPECT_EQ(dc.hDC(), nullptr);
}

// A picture of one colour with a blue top-left pixel, in the given format.
QImage picture(int width, int height, QImage::Format format, QColor color)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    image.setPixelColor(0, 0, Qt::blue);
    return image.convertToFormat(format);
}

TEST(clsMemoryDC, CreatesOnceAtTheDisplaysFormat)
{
    clsMemoryDC dc;
    expectEmpty(dc);

    dc.Create(30, 20);
    ASSERT_NE(dc.hDC(), nullptr);
    EXPECT_EQ(dc.hDC()->size(), QSize(30, 20));
    EXPECT_EQ(dc.hDC()->format(), QImage::Format_RGB32) << "the offscreen screen is 32-bit";
    EXPECT_EQ(dc.BPP(), 0) << "only a picture sets it";

    dc.hDC()->fill(Qt::green);
    dc.Create(50, 60);
    EXPECT_EQ(dc.Width(), 30) << "a second Create changes nothing";
    EXPECT_EQ(dc.Height(), 20);
    EXPECT_EQ(dc.hDC()->size(), QSize(30, 20));
    EXPECT_EQ(dc.hDC()->pixelColor(5, 5), QColor(Qt::green));
}

TEST(clsMemoryDC, DestroyEmptiesAndKeepsTheDepthOfTheLastPicture)
{
    clsMemoryDC dc;
    dc.Destroy();
    expectEmpty(dc);

    dc.CreateFromPicture(picture(4, 3, QImage::Format_Indexed8, Qt::red));
    EXPECT_EQ(dc.BPP(), 8);
    dc.Destroy();
    expectEmpty(dc);
    EXPECT_EQ(dc.BPP(), 8);
    dc.Destroy();
    expectEmpty(dc);
}

TEST(clsMemoryDC, ResizeCreatesOrReplaces)
{
    clsMemoryDC dc;
    dc.Resize(10, 10);
    ASSERT_NE(dc.hDC(), nullptr);
    EXPECT_EQ(dc.Width(), 10);
    dc.hDC()->fill(Qt::green);

    dc.Resize(12, 4);
    EXPECT_EQ(dc.Width(), 12);
    EXPECT_EQ(dc.Height(), 4);
    ASSERT_EQ(dc.hDC()->size(), QSize(12, 4));
    dc.Create(99, 99);
    EXPECT_EQ(dc.hDC()->size(), QSize(12, 4)) << "after Resize the surface exists";
}

TEST(clsMemoryDC, CopiesAPictureAtTheDisplaysDepthAndLeavesItToTheCaller)
{
    const QImage original = picture(7, 5, QImage::Format_RGB888, QColor(10, 200, 30));
    QImage caller = original;
    clsMemoryDC dc;
    dc.Create(100, 100);
    dc.CreateFromPicture(caller);

    EXPECT_EQ(dc.BPP(), 24);
    EXPECT_EQ(dc.Width(), 7);
    EXPECT_EQ(dc.Height(), 5);
    ASSERT_NE(dc.hDC(), nullptr);
    EXPECT_EQ(dc.hDC()->depth(), 32);
    EXPECT_EQ(dc.hDC()->pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_EQ(dc.hDC()->pixelColor(6, 4), QColor(10, 200, 30));

    QPainter(dc.hDC()).fillRect(0, 0, 7, 5, Qt::black);
    EXPECT_EQ(caller, original) << "drawing on the surface never reaches the caller's picture";
    caller.fill(Qt::white);
    EXPECT_EQ(dc.hDC()->pixelColor(6, 4), QColor(Qt::black));
}

TEST(clsMemoryDC, APictureWithoutAnImageGivesAnEmptySurface)
{
    clsMemoryDC dc;
    dc.CreateFromPicture(picture(4, 4, QImage::Format_RGB888, Qt::red));
    dc.CreateFromPicture(QImage());
    EXPECT_EQ(dc.BPP(), 0);
    EXPECT_EQ(dc.Width(), 0);
    EXPECT_EQ(dc.Height(), 0);
    ASSERT_NE(dc.hDC(), nullptr) << "the surface exists, at 0 x 0";
    EXPECT_TRUE(dc.hDC()->isNull());
}

} // namespace
