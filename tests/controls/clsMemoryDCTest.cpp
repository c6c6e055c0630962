#include "controls/clsMemoryDC.h"

#include "controls/StdPicture.h"
#include "tests/support/QColorPrinter.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestFiles.h"

#include <QPainter>
#include <QTemporaryDir>

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

    EXPECT_EQ(int(dc.BPP()), 24);
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

// A 24-bit BMP file of 3 x 2 pixels, bottom row first, each row padded to four bytes.
QByteArray bmp24(const QList<QRgb> &topThenBottom)
{
    QByteArray pixels;
    for (int row : {1, 0}) {
        for (int x = 0; x < 3; ++x) {
            const QRgb c = topThenBottom.at(row * 3 + x);
            pixels.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c)));
        }
        pixels.append(3, '\0');
    }
    QByteArray file("BM");
    const auto put = [&file](quint32 value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            file.append(char(value >> (8 * i)));
    };
    put(54 + pixels.size(), 4);
    put(0, 4);
    put(54, 4);
    put(40, 4);
    put(3, 4);
    put(2, 4);
    put(1, 2);
    put(24, 2);
    put(0, 4);
    put(pixels.size(), 4);
    put(3780, 4);
    put(3780, 4);
    put(0, 4);
    put(0, 4);
    return file + pixels;
}

TEST(clsMemoryDC, ReportsTheDepthOfABitmapFileReadFromDisk)
{
    const QList<QRgb> colours {qRgb(255, 0, 0), qRgb(0, 255, 0),     qRgb(0, 0, 255),
                               qRgb(1, 2, 3),   qRgb(250, 251, 252), qRgb(128, 64, 32)};
    QTemporaryDir folder;
    const QString path = folder.filePath("picture.bmp");
    TestFiles::write(path, bmp24(colours));
    const PictureRef picture = StdPicture::load(path);

    clsMemoryDC dc;
    dc.CreateFromPicture(picture->image);
    EXPECT_EQ(int(dc.BPP()), 24);
    ASSERT_NE(dc.hDC(), nullptr);
    EXPECT_EQ(dc.hDC()->depth(), 32) << "the surface keeps the display's depth";
    for (int i = 0; i < colours.size(); ++i)
        EXPECT_EQ(dc.hDC()->pixel(i % 3, i / 3), colours[i]) << i;

    const QString indexed = folder.filePath("indexed.bmp");
    ASSERT_TRUE(picture->image.convertToFormat(QImage::Format_Indexed8).save(indexed, "BMP"));
    dc.CreateFromPicture(StdPicture::load(indexed)->image);
    EXPECT_EQ(int(dc.BPP()), 8) << "an 8-bit one";
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
