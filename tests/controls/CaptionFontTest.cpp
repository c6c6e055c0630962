#include "controls/CaptionFont.h"

#include "controls/StdFont.h"
#include "controls/SystemFonts.h"

#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QRawFont>

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

// What text looks like in a font: black on white, at the size the text takes.
QImage drawn(const QString &text, const QFont &font)
{
    QImage image(60, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.drawText(image.rect(), Qt::AlignCenter, text);
    return image;
}

TEST(CaptionFont, HasTheCellOfItsPointsTimesOnePointSix)
{
    EXPECT_EQ(cellHeight(8.25), 13);
    EXPECT_EQ(cellHeight(10), 16);
    EXPECT_EQ(cellHeight(9.75), 16) << "15.6 rounds up";
    EXPECT_EQ(cellHeight(7.8), 12) << "12.48 rounds down";
    const QFont styled = captionFont({"Tahoma", 8.25, true, true, true, true, 204});
    EXPECT_TRUE(styled.bold());
    EXPECT_TRUE(styled.italic());
    EXPECT_TRUE(styled.underline());
    EXPECT_TRUE(styled.strikeOut());
}

// A cell is the face's Windows ascent plus descent, about 1.21 em for Tahoma: sizing the face
// by its line height instead drew captions a fifth larger than the window's other text.
TEST(CaptionFont, SizesTheEmSoThatTheFacesCellFillsTheCell)
{
    SystemFonts::provideTahoma();
    if (QRawFont::fromFont(QFont("Tahoma")).familyName() != "Tahoma")
        GTEST_SKIP() << "no Tahoma face (fonts-wine) to measure";
    QFont label("Tahoma");
    label.setPointSizeF(8.25);
    const QFont caption = captionFont({"Tahoma", 8.25});
    EXPECT_EQ(caption.pixelSize(), QFontInfo(label).pixelSize());
    EXPECT_EQ(drawn("Cut", caption), drawn("Cut", label)) << "as the window's 8.25-point text";

    // Tahoma's cell: (2049 + 423) / 2048 em.
    const std::pair<double, int> pointsAndEm[] = {{6, 8}, {10, 13}, {18, 24}, {36, 48}};
    for (const auto &[points, em] : pointsAndEm)
        EXPECT_EQ(captionFont({"Tahoma", points}).pixelSize(), em) << points << " points";
}

// Sizing used to step one pixel at a time up to the cell, and to square the cell.
TEST(CaptionFont, BoundsEveryStoredSize)
{
    const double infinity = std::numeric_limits<double>::infinity();
    const int largest = captionFont({"Tahoma", MaximumCaptionPoints}).pixelSize();
    for (double points : {30000.0, 1e9, 1e300, infinity}) {
        EXPECT_EQ(cellHeight(points), cellHeight(MaximumCaptionPoints)) << points;
        EXPECT_EQ(captionFont({"Tahoma", points}).pixelSize(), largest) << points;
    }
    for (double points : {0.0, -5.0, -infinity, std::nan("")}) {
        EXPECT_EQ(cellHeight(points), 0) << points;
        EXPECT_EQ(captionFont({"Tahoma", points}).pixelSize(), 1) << points;
    }
}

} // namespace
