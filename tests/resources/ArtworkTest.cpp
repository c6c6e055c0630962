#include "resources/Artwork.h"

#include "tests/support/QtPrinters.h"
#include "tests/support/TestFiles.h"

#include <QImage>
#include <QRect>
#include <QSet>
#include <QtEndian>

#include <cstdlib>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

using Pixels = std::vector<std::pair<int, int>>;

struct Picture
{
    const char *name;
    int width;
    int height;
};

const Picture keyCaps[] = {{"ent.bmp", 21, 10}, {"esc.bmp", 21, 10}, {"f1.bmp", 14, 10}};

class ArtworkTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { Artwork::registerResource(); }

    static QString path(const char *name) { return QString(":/resources/") + name; }
    static QByteArray bytes(const char *name) { return TestFiles::read(path(name)); }
    static QImage image(const char *name) { return QImage(path(name)); }
};

TEST_F(ArtworkTest, EveryImageLoadsFromTheResourceAtItsSize)
{
    std::vector<Picture> pictures(std::begin(keyCaps), std::end(keyCaps));
    pictures.insert(pictures.end(),
                    {{"dnd.gif", 205, 21}, {"morlend.ico", 16, 16}, {"morlend.png", 16, 16}});
    for (const auto &[name, width, height] : pictures) {
        SCOPED_TRACE(name);
        const QImage loaded = image(name);
        ASSERT_FALSE(loaded.isNull());
        EXPECT_EQ(loaded.width(), width);
        EXPECT_EQ(loaded.height(), height);
    }
}

// Every picture is drawn again at twice its size for dense screens, under the name Qt looks
// for: the same picture, every pixel of the small one a square of four in the large one, but
// for the gradients, which shade every row of the large one.
TEST_F(ArtworkTest, EveryPictureIsDrawnAgainAtTwiceItsSize)
{
    for (const char *name : {"ent.bmp", "esc.bmp", "f1.bmp", "dnd.gif", "morlend.png"}) {
        SCOPED_TRACE(name);
        const QString large = QString(name).replace(".", "@2x.");
        const QImage stored = QImage(":/resources/" + large);
        EXPECT_EQ(stored.format(), image(name).format()) << "stored as the small one is";
        const QImage small = image(name).convertToFormat(QImage::Format_ARGB32);
        const QImage twice = stored.convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(twice.size(), small.size() * 2);
        int far = 0;
        for (int y = 0; y < twice.height(); ++y) {
            for (int x = 0; x < twice.width(); ++x) {
                const QRgb a = small.pixel(x / 2, y / 2), b = twice.pixel(x, y);
                far += qAlpha(a) != qAlpha(b) || std::abs(qRed(a) - qRed(b)) > 8
                    || std::abs(qGreen(a) - qGreen(b)) > 8 || std::abs(qBlue(a) - qBlue(b)) > 8;
            }
        }
        EXPECT_EQ(far, 0) << "pixels of the large picture unlike the small one's";
    }
}

TEST_F(ArtworkTest, DropAreaIsAGif89aTransparentAtItsFourCornersOnly)
{
    const QByteArray gif = bytes("dnd.gif");
    ASSERT_GT(gif.size(), 13);
    EXPECT_TRUE(gif.startsWith("GIF89a"));
    EXPECT_EQ(quint8(gif[10]) & 0x87, 0x87) << "a global colour table of 256 entries";

    const QImage bar = image("dnd.gif");
    const int right = bar.width() - 1, bottom = bar.height() - 1;
    Pixels transparent;
    for (int y = 0; y <= bottom; ++y) {
        for (int x = 0; x <= right; ++x) {
            if (qAlpha(bar.pixel(x, y)) == 0)
                transparent.emplace_back(x, y);
        }
    }
    EXPECT_EQ(transparent, (Pixels {{0, 0}, {right, 0}, {0, bottom}, {right, bottom}}));
}

TEST_F(ArtworkTest, DropAreaIsAGreyOutlinedYellowGradientWithCentredDarkWords)
{
    const QImage bar = image("dnd.gif");
    const int right = bar.width() - 1, bottom = bar.height() - 1;

    QSet<QRgb> outline;
    for (int x = 1; x < right; ++x)
        outline << bar.pixel(x, 0) << bar.pixel(x, bottom);
    for (int y = 1; y < bottom; ++y)
        outline << bar.pixel(0, y) << bar.pixel(right, y);
    ASSERT_EQ(outline.size(), 1) << "one colour all round";
    const QRgb grey = *outline.begin();
    EXPECT_TRUE(qRed(grey) == qGreen(grey) && qGreen(grey) == qBlue(grey) && qAlpha(grey) == 255);

    // The column just inside the outline runs clear of the words: yellow, deepening downwards.
    for (int y = 1; y < bottom; ++y) {
        const QRgb shade = bar.pixel(1, y);
        EXPECT_TRUE(qRed(shade) >= qGreen(shade) && qGreen(shade) > qBlue(shade)) << "row " << y;
        if (y > 1) {
            EXPECT_LE(qBlue(shade), qBlue(bar.pixel(1, y - 1))) << "row " << y;
        }
    }
    EXPECT_GT(qBlue(bar.pixel(1, 1)), qBlue(bar.pixel(1, bottom - 1)) + 100);

    QRect words;
    for (int y = 1; y < bottom; ++y) {
        for (int x = 1; x < right; ++x) {
            if (qGray(bar.pixel(x, y)) < 100)
                words |= QRect(x, y, 1, 1);
        }
    }
    ASSERT_FALSE(words.isEmpty());
    EXPECT_LE(std::abs(words.left() - (right - words.right())), 1);
    EXPECT_LE(std::abs(words.top() - (bottom - words.bottom())), 1);
}

TEST_F(ArtworkTest, KeyCapsAreUncompressed8BitPaletteBitmapsWithoutTheMaskColour)
{
    const QRgb maskColour = qRgb(255, 0, 0);
    for (const auto &[name, width, height] : keyCaps) {
        SCOPED_TRACE(name);
        const QByteArray bmp = bytes(name);
        ASSERT_GE(bmp.size(), 54);
        EXPECT_TRUE(bmp.startsWith("BM"));
        EXPECT_EQ(qFromLittleEndian<quint16>(bmp.constData() + 28), 8) << "bits per pixel";
        EXPECT_EQ(qFromLittleEndian<quint32>(bmp.constData() + 30), 0u) << "uncompressed";

        const QImage cap = image(name);
        EXPECT_EQ(cap.format(), QImage::Format_Indexed8);
        EXPECT_FALSE(cap.colorTable().contains(maskColour));
        int red = 0, black = 0;
        for (int y = 0; y < cap.height(); ++y) {
            for (int x = 0; x < cap.width(); ++x) {
                red += cap.pixel(x, y) == maskColour;
                black += cap.pixel(x, y) == qRgb(0, 0, 0);
            }
        }
        EXPECT_EQ(red, 0) << "a pixel in the mask colour would not be drawn";
        EXPECT_GT(black, 0) << "the key's name is written in black";
    }
}

// The paper stands in the icon's middle; everything around it is ground.
const QRect paper(2, 1, 11, 14);

TEST_F(ArtworkTest, IconShowsTheSheetOnATransparentGround)
{
    const QImage icon = image("morlend.png");
    Pixels wrong;
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x) {
            const int alpha = qAlpha(icon.pixel(x, y));
            if (alpha != (paper.contains(x, y) ? 255 : 0))
                wrong.emplace_back(x, y);
        }
    }
    EXPECT_EQ(wrong, Pixels {});
}

// Each size is drawn in its own pixels: the sheet's edges fall on whole pixels, so every pixel is
// either ground or sheet, and its outline is whole; a picture scaled to the size would blur
// both. The upper part is yellow and the lower one grey at every size.
TEST_F(ArtworkTest, TheProgramsIconIsDrawnSharpAtEverySize)
{
    const QRgb outline = qRgb(32, 32, 32);
    for (const int size : Artwork::ProgramIconSizes) {
        SCOPED_TRACE(size);
        const QImage icon
            = QImage(Artwork::programIconFile(size)).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(icon.size(), QSize(size, size));
        QRect sheet;
        int partlyTransparent = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const int alpha = qAlpha(icon.pixel(x, y));
                partlyTransparent += alpha != 0 && alpha != 255;
                if (alpha == 255)
                    sheet |= QRect(x, y, 1, 1);
            }
        }
        EXPECT_EQ(partlyTransparent, 0);
        Pixels holes, blurredOutline;
        for (int y = sheet.top(); y <= sheet.bottom(); ++y) {
            for (int x = sheet.left(); x <= sheet.right(); ++x) {
                if (qAlpha(icon.pixel(x, y)) != 255)
                    holes.emplace_back(x, y);
                const bool edge = x == sheet.left() || x == sheet.right() || y == sheet.top()
                    || y == sheet.bottom();
                if (edge && icon.pixel(x, y) != outline)
                    blurredOutline.emplace_back(x, y);
            }
        }
        EXPECT_EQ(holes, Pixels {});
        EXPECT_EQ(blurredOutline, Pixels {});
        EXPECT_NEAR(double(sheet.width()) / sheet.height(), 11.0 / 14, 0.04) << "upright";
        EXPECT_GE(sheet.height(), size * 13 / 16);

        const QRgb upper = icon.pixel(sheet.center().x(), sheet.top() + sheet.height() / 8);
        const QRgb lower = icon.pixel(sheet.center().x(), sheet.bottom() - sheet.height() / 12 - 1);
        EXPECT_TRUE(qRed(upper) > qBlue(upper) + 60 && qGreen(upper) > qBlue(upper) + 40);
        EXPECT_TRUE(qRed(lower) == qGreen(lower) && qGreen(lower) == qBlue(lower)
                    && qRed(lower) > 150);
    }
}

// Qt reads a 24-bit icon's colours but not its mask, so the mask is read here from the file.
// The icon holds the picture at 16 and at 32 pixels, the same as morlend.png and its large one.
TEST_F(ArtworkTest, IconFileHoldsBothSizesAt24BitWithAMaskOverTheSameGround)
{
    const QByteArray ico = bytes("morlend.ico");
    ASSERT_GE(ico.size(), 6);
    ASSERT_EQ(qFromLittleEndian<quint16>(ico.constData() + 4), 2) << "images";
    const char *pictures[] = {"morlend.png", "morlend@2x.png"};
    for (int entry = 0; entry < 2; ++entry) {
        SCOPED_TRACE(pictures[entry]);
        const char *directory = ico.constData() + 6 + 16 * entry;
        const qsizetype side = quint8(directory[0]);
        EXPECT_EQ(side, 16 << entry);
        EXPECT_EQ(qFromLittleEndian<quint16>(directory + 6), 24) << "bits per pixel";
        const qsizetype start = qFromLittleEndian<quint32>(directory + 12);
        const qsizetype length = qFromLittleEndian<quint32>(directory + 8);
        const qsizetype maskStart = start + 40 + side * ((side * 3 + 3) / 4 * 4);
        const qsizetype maskStride = (side + 31) / 32 * 4;
        ASSERT_EQ(start + length, maskStart + side * maskStride);
        ASSERT_LE(start + length, ico.size());

        const QImage icon = QImage(QString(":/resources/") + pictures[entry]);
        ASSERT_EQ(icon.size(), QSize(side, side));
        Pixels wrongMask;
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                const char maskByte = ico[maskStart + (side - 1 - y) * maskStride + x / 8];
                const bool masked = (maskByte >> (7 - x % 8)) & 1;
                if (masked != (qAlpha(icon.pixel(x, y)) == 0))
                    wrongMask.emplace_back(x, y);
            }
        }
        EXPECT_EQ(wrongMask, Pixels {});
    }
    const QImage colours = image("morlend.ico");
    const QImage icon = image("morlend.png");
    Pixels wrongColour;
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x) {
            if (qAlpha(icon.pixel(x, y)) != 0 && colours.pixel(x, y) != icon.pixel(x, y))
                wrongColour.emplace_back(x, y);
        }
    }
    EXPECT_EQ(wrongColour, Pixels {}) << "the icon file and the picture are the same image";
}

} // namespace
