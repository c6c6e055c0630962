#include "controls/DrawEdge.h"

#include "tests/controls/DistinctPalette.h"
#include "tests/support/QColorPrinter.h"
#include "tests/support/QtPrinters.h"

#include <QImage>
#include <QPainter>
#include <QPalette>

#include <gtest/gtest.h>

namespace {

QImage drawn(int style)
{
    const QPalette palette = distinctPalette();
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(palette.color(QPalette::Button));
    QPainter painter(&image);
    drawBorder(painter, image.rect(), style, palette);
    return image;
}

TEST(DrawEdge, DrawsTheRingsInTheirRoles)
{
    using R = QPalette::ColorRole;
    struct Case
    {
        int style;
        // Outer ring: top-left and bottom-right; inner ring (one pixel in) likewise.
        R outerTopLeft, outerBottomRight, innerTopLeft, innerBottomRight;
    };
    const Case cases[] = {
        {Edge::RaisedOuter, R::Midlight, R::Shadow, R::Button, R::Button},
        {Edge::SunkenOuter, R::Dark, R::Light, R::Button, R::Button},
        {Edge::RaisedInner, R::Light, R::Dark, R::Button, R::Button},
        {Edge::SunkenInner, R::Shadow, R::Midlight, R::Button, R::Button},
        {Edge::Raised, R::Midlight, R::Shadow, R::Light, R::Dark},
        {Edge::Sunken, R::Dark, R::Light, R::Shadow, R::Midlight},
        {Edge::Etched, R::Dark, R::Light, R::Light, R::Dark},
        {Edge::Bump, R::Midlight, R::Shadow, R::Shadow, R::Midlight},
        {Edge::Flat, R::Dark, R::Dark, R::Button, R::Button},
        {0, R::Button, R::Button, R::Button, R::Button},
        {Edge::RaisedOuter | Edge::SunkenOuter, R::Button, R::Button, R::Button, R::Button},
        {64 | Edge::RaisedInner, R::Light, R::Dark, R::Button, R::Button},
    };
    const QPalette palette = distinctPalette();
    for (const Case &c : cases) {
        const QImage image = drawn(c.style);
        const QColor outerTopLeft = palette.color(c.outerTopLeft);
        const QColor outerBottomRight = palette.color(c.outerBottomRight);
        const QColor innerTopLeft = palette.color(c.innerTopLeft);
        const QColor innerBottomRight = palette.color(c.innerBottomRight);
        EXPECT_EQ(image.pixelColor(3, 0), outerTopLeft) << "top, style " << c.style;
        EXPECT_EQ(image.pixelColor(0, 3), outerTopLeft) << "left, style " << c.style;
        EXPECT_EQ(image.pixelColor(0, 0), outerTopLeft) << "top-left corner, style " << c.style;
        EXPECT_EQ(image.pixelColor(3, 7), outerBottomRight) << "bottom, style " << c.style;
        EXPECT_EQ(image.pixelColor(7, 3), outerBottomRight) << "right, style " << c.style;
        EXPECT_EQ(image.pixelColor(0, 7), outerBottomRight)
            << "the bottom line runs the full width";
        EXPECT_EQ(image.pixelColor(7, 0), outerBottomRight)
            << "the right line runs the full height";
        EXPECT_EQ(image.pixelColor(3, 1), innerTopLeft) << "inner top, style " << c.style;
        EXPECT_EQ(image.pixelColor(1, 3), innerTopLeft) << "inner left, style " << c.style;
        EXPECT_EQ(image.pixelColor(3, 6), innerBottomRight) << "inner bottom, style " << c.style;
        EXPECT_EQ(image.pixelColor(6, 3), innerBottomRight) << "inner right, style " << c.style;
        EXPECT_EQ(image.pixelColor(3, 3), palette.color(R::Button)) << "the face is left alone";
    }
}

TEST(DrawEdge, DrawsOnlyTheSidesAsked)
{
    const QPalette palette = distinctPalette();
    QImage image(6, 6, QImage::Format_RGB32);
    image.fill(palette.color(QPalette::Button));
    QPainter painter(&image);
    drawEdge(painter, image.rect(), Edge::Etched, Qt::LeftEdge, palette);
    painter.end();

    for (int y = 0; y < 6; ++y) {
        EXPECT_EQ(image.pixelColor(0, y), palette.color(QPalette::Dark)) << y;
        EXPECT_EQ(image.pixelColor(1, y), palette.color(QPalette::Light)) << y;
        EXPECT_EQ(image.pixelColor(2, y), palette.color(QPalette::Button)) << y;
    }
}

} // namespace
