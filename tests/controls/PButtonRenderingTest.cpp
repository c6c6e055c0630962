#include "controls/OleColor.h"
#include "platform/AppError.h"
#include "tests/controls/ButtonFixture.h"
#include "tests/support/ErrorNumber.h"
#include "tests/support/QtPrinters.h"

#include <QFontMetrics>
#include <QJsonObject>
#include <QPainter>

#include <optional>

namespace {

// A picture of frames stacked vertically, each a solid colour of its own with a marker
// pixel of its own at its top-left corner, so that where a frame lands can be found.
QImage framesPicture(int width, int frameHeight, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const int frame = y / frameHeight;
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(40 + 50 * frame, 180, 90));
        if (y % frameHeight == 0)
            image.setPixel(0, y, qRgb(10 + frame, 20, 250));
    }
    return image;
}

QRgb frameColor(int frame)
{
    return qRgb(40 + 50 * frame, 180, 90);
}

QRgb markerColor(int frame)
{
    return qRgb(10 + frame, 20, 250);
}

PictureRef bitmap(const QImage &image)
{
    return std::make_shared<StdPicture>(StdPicture {StdPicture::Type::Bitmap, image, {}, {}});
}

// Where color first shows in an image, top row first.
std::optional<QPoint> find(const QImage &image, QRgb color)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == color)
                return QPoint(x, y);
        }
    }
    return std::nullopt;
}

// The smallest rectangle holding every pixel of image that is not background, or an empty
// one.
QRect inkIn(const QImage &image, QRgb background, const QRect &area)
{
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixel(x, y) != background)
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

class PButtonRendering : public ButtonFixture
{
protected:
    PButtonRendering()
    {
        // The window's buttons: picture left of the caption, inset by 3 pixels.
        load({{"picturealign", 0},
              {"padding", 3},
              {"picture_w", 21},
              {"picture_h", 10},
              {"backcolor", "0x8000000F"},
              {"caption", ""}});
    }

    QRgb face() const { return paletteRgb(QPalette::Button); }
};

TEST_F(PButtonRendering, PlacesPictureAndCaptionAsTheWorkedExampleSays)
{
    QImage keyCap = framesPicture(21, 10, 10);
    keyCap.setPixel(20, 9, qRgb(1, 2, 3));
    button.setPicture(bitmap(keyCap));

    const QImage strip = *button.StateStrip().hDC();
    ASSERT_EQ(strip.size(), QSize(70, 100));
    EXPECT_EQ(strip.copy(4, 7, 21, 10), keyCap.convertToFormat(QImage::Format_RGB32))
        << "the normal look draws the picture at (4, 7)";
    EXPECT_EQ(strip.copy(5, 33, 21, 10), keyCap.convertToFormat(QImage::Format_RGB32))
        << "the pressed look draws it at (5, 33)";

    // A block taller than the text rectangle, left-aligned, then right-aligned, fills the
    // rectangle's first, then last column and is cut at its top and bottom: the rectangle is
    // (30, 3, 67, 22) in the normal look and (31, 29, 68, 48) in the pressed one.
    button.setFont_All(std::make_shared<StdFont>(StdFont {"Tahoma", 20}));
    button.setCaption(QString(QChar(0x2588)));
    const QRect normalArea(26, 1, 43, 23);
    const QRect pressedArea(27, 27, 41, 21);
    button.setTextAlign(0);
    QRect normal = inkIn(*button.StateStrip().hDC(), face(), normalArea);
    QRect pressed = inkIn(*button.StateStrip().hDC(), face(), pressedArea);
    EXPECT_EQ(normal.topLeft(), QPoint(30, 3));
    EXPECT_EQ(normal.bottom(), 21);
    EXPECT_EQ(pressed.topLeft(), QPoint(31, 29));
    EXPECT_EQ(pressed.bottom(), 47);
    button.setTextAlign(2);
    normal = inkIn(*button.StateStrip().hDC(), face(), normalArea);
    pressed = inkIn(*button.StateStrip().hDC(), face(), pressedArea);
    EXPECT_EQ(normal.right(), 66);
    EXPECT_EQ(pressed.right(), 67);
}

TEST_F(PButtonRendering, ChoosesAFrameForEachLookByThePicturesHeight)
{
    struct Case
    {
        int pictureHeight;
        int frames[4]; // normal, pressed, over, disabled
    };
    const Case cases[] = {
        {40, {0, 1, 2, 3}}, {30, {0, 1, 2, 0}}, {20, {0, 1, 0, 0}},
        {19, {0, 0, 0, 0}}, {10, {0, 0, 0, 0}},
    };
    for (const Case &c : cases) {
        button.setPicture(bitmap(framesPicture(21, 10, c.pictureHeight)));
        for (int row = 0; row < 4; ++row) {
            const QImage look = stripRow(row);
            for (int frame = 0; frame < 4; ++frame) {
                EXPECT_EQ(find(look, markerColor(frame)).has_value(), frame == c.frames[row])
                    << c.pictureHeight << " pixels high, look " << row << ", frame " << frame;
            }
        }
    }
}

TEST_F(PButtonRendering, DrawsAnIconAsOneFrameOnTheMaskColour)
{
    QImage image(21, 40, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < 40; ++y)
        image.setPixel(10, y, frameColor(y / 10));
    button.setPicture(
        std::make_shared<StdPicture>(StdPicture {StdPicture::Type::Icon, image, {}, {}}));

    const QImage normal = stripRow(0).copy(4, 7, 21, 10);
    for (int row : {2, 3})
        EXPECT_EQ(stripRow(row).copy(4, 7, 21, 10), normal) << "look " << row;
    EXPECT_EQ(stripRow(1).copy(5, 8, 21, 10), normal);
    EXPECT_EQ(normal.pixel(0, 0), face()) << "the icon's transparent part shows the face";
    EXPECT_TRUE(find(normal, frameColor(0)) && find(normal, frameColor(3)))
        << "the whole icon is squeezed into one frame";
}

TEST_F(PButtonRendering, LeavesOutTheMaskColour)
{
    QImage image = framesPicture(21, 10, 10);
    image.setPixel(5, 5, qRgb(255, 0, 0));
    button.setPicture(bitmap(image));
    EXPECT_EQ(stripRow(0).pixel(4 + 5, 7 + 5), face());

    button.setPictureMaskColor(OleColor(0x5AB428)); // 40, 180, 90: frame 0's colour
    EXPECT_EQ(stripRow(0).pixel(4 + 5, 7 + 5), qRgb(255, 0, 0));
    EXPECT_EQ(stripRow(0).pixel(4 + 6, 7 + 5), face());
}

TEST_F(PButtonRendering, PlacesPictureAndCaptionByPictureAlign)
{
    const QImage keyCap = framesPicture(21, 10, 10);
    button.setPicture(bitmap(keyCap));
    button.setCaption(QString(QChar(0x2588)));
    struct Case
    {
        int pictureAlign;
        QPoint picture; // in the normal look
        bool caption;
    };
    // Content (3, 3, 67, 22): at the left, in a box of 24; centred; at the right.
    const Case cases[] = {
        {0, {4, 7}, true},
        {1, {24, 7}, false},
        {2, {44, 7}, true},
        {7, {24, 7}, true},
    };
    for (const Case &c : cases) {
        button.setPictureAlign(c.pictureAlign);
        for (int row = 0; row < 4; ++row) {
            const QImage look = stripRow(row);
            const QPoint shift = row == 1 ? QPoint(1, 1) : QPoint();
            EXPECT_EQ(find(look, markerColor(0)), c.picture + shift)
                << "PictureAlign " << c.pictureAlign << ", look " << row;
            QImage withoutPicture = look;
            QPainter(&withoutPicture).fillRect(QRect(c.picture + shift, QSize(21, 10)), face());
            const QRect ink = inkIn(withoutPicture, face(), QRect(3, 3, 65, 20));
            EXPECT_EQ(!ink.isEmpty(), c.caption)
                << "PictureAlign " << c.pictureAlign << ", look " << row;
        }
    }

    button.setPicture(nullptr);
    button.setPictureAlign(1);
    EXPECT_FALSE(inkIn(stripRow(0), face(), QRect(3, 3, 64, 19)).isEmpty())
        << "without a picture the caption is drawn";
}

TEST_F(PButtonRendering, DrawsTheBorderOfEachLook)
{
    struct Case
    {
        int style;
        QRgb outer; // the top-left pixel
        QRgb inner; // the pixel inside it
    };
    const Case cases[] = {
        {20, paletteRgb(QPalette::Dark), face()},
        {0, face(), face()},
        {5, paletteRgb(QPalette::Midlight), paletteRgb(QPalette::Light)},
    };
    for (const Case &c : cases) {
        button.setBorder_Normal(c.style);
        button.setBorder_Over(c.style);
        button.setBorder_Pressed(c.style);
        button.setPadding(3);
        for (int row = 0; row < 4; ++row) {
            const QImage look = stripRow(row);
            EXPECT_EQ(look.pixel(0, 0), c.outer) << "style " << c.style << ", look " << row;
            EXPECT_EQ(look.pixel(69, 24), c.style == 5 ? paletteRgb(QPalette::Shadow) : c.outer);
            EXPECT_EQ(look.pixel(1, 1), c.inner) << "style " << c.style << ", look " << row;
        }
    }
}

TEST_F(PButtonRendering, EngravesTheDisabledCaptionWithoutItsTextColour)
{
    button.setCaption(QString(QChar(0x2588)));
    button.setForeColor_Normal(OleColor(0xFF0000)); // blue
    const QImage normal = stripRow(0);
    const QImage disabled = stripRow(3);

    const QRect ink = inkIn(normal, face(), QRect(30, 3, 37, 19));
    ASSERT_FALSE(ink.isEmpty());
    const QPoint inside = ink.center();
    EXPECT_EQ(normal.pixel(inside), qRgb(0, 0, 255));
    EXPECT_EQ(disabled.pixel(inside), paletteRgb(QPalette::Dark));
    // The glyph's edges are blended, so the highlight shows as pixels lighter than the face
    // along the bottom and the right, and nowhere else.
    const QImage engraved = disabled.copy(ink.adjusted(-1, -1, 1, 1));
    bool lighterAtBottomRight = false;
    bool lighterElsewhere = false;
    for (int y = 0; y < engraved.height(); ++y) {
        for (int x = 0; x < engraved.width(); ++x) {
            if (qGray(engraved.pixel(x, y)) <= qGray(face()))
                continue;
            const bool bottomRight = x >= engraved.width() - 3 || y >= engraved.height() - 3;
            (bottomRight ? lighterAtBottomRight : lighterElsewhere) = true;
        }
    }
    EXPECT_TRUE(lighterAtBottomRight) << "the highlight shows one pixel down and right";
    EXPECT_FALSE(lighterElsewhere);
    EXPECT_FALSE(find(disabled, qRgb(0, 0, 255)));
}

TEST_F(PButtonRendering, MovesOnlyThePressedLookByTheOffsets)
{
    button.setPicture(bitmap(framesPicture(21, 10, 10)));
    for (const QPoint offset : {QPoint(1, 1), QPoint(-2, -1), QPoint(0, 3)}) {
        button.setOffset_X(qint16(offset.x()));
        button.setOffset_Y(qint16(offset.y()));
        button.setPadding(3); // offsets alone repaint nothing
        for (int row = 0; row < 4; ++row) {
            EXPECT_EQ(find(stripRow(row), markerColor(0)),
                      QPoint(4, 7) + (row == PButton::Pressed ? offset : QPoint()))
                << offset.x() << ", " << offset.y() << ", look " << row;
        }
    }
}

TEST_F(PButtonRendering, KeepsALongCaptionOnOneLineInItsRectangle)
{
    button.setTextAlign(0);
    button.setCaption("Cut the file\ninto pieces for the floppies");
    const QImage look = stripRow(0);
    const QRect ink = inkIn(look, face(), QRect(1, 1, 68, 23));
    // Without a picture the caption has the content (3, 3, 67, 22) to itself.
    EXPECT_GE(ink.left(), 3);
    EXPECT_LE(ink.right(), 66);
    EXPECT_GE(ink.right(), 60) << "the caption runs to the end of its rectangle";
    EXPECT_LE(ink.height(), 13) << "one line of a 13-pixel font";

    button.setCaption("Cut the file into pieces for the floppies");
    EXPECT_EQ(stripRow(0), look) << "a line break shows as a blank";
}

TEST_F(PButtonRendering, ShowsAnAmpersandAsAnUnderline)
{
    button.setCaption("&&");
    const QRect ampersand = inkIn(stripRow(0), face(), QRect(30, 3, 37, 19));
    button.setCaption("&");
    EXPECT_TRUE(inkIn(stripRow(0), face(), QRect(30, 3, 37, 19)).isEmpty());
    button.setCaption("&C");
    const QRect underlined = inkIn(stripRow(0), face(), QRect(30, 3, 37, 19));
    button.setCaption("C");
    const QRect plain = inkIn(stripRow(0), face(), QRect(30, 3, 37, 19));
    EXPECT_FALSE(ampersand.isEmpty()) << "\"&&\" shows one \"&\"";
    EXPECT_GT(underlined.bottom(), plain.bottom()) << "the C is underlined";
}

TEST_F(PButtonRendering, ABadColourStopsThePaintingAndKeepsTheLook)
{
    button.setCaption("Cut");
    const QImage before = shown();

    button.setForeColor_Over(OleColor(0x80000019));
    EXPECT_EQ(errorNumberOf([&] { button.setPadding(4); }), AppError::InvalidPropertyValue);
    EXPECT_EQ(shown(), before) << "the control keeps its previous image";
    EXPECT_EQ(stripRow(0).pixel(0, 0), paletteRgb(QPalette::Light))
        << "the normal look was painted";
    button.setForeColor_Over(OleColor::ButtonText);

    for (OleColor bad : {OleColor(0x80000040), OleColor(0x40000000), OleColor(0x01000000)}) {
        EXPECT_EQ(errorNumberOf([&] { button.setBackColor(bad); }), AppError::InvalidPropertyValue)
            << std::hex << quint32(bad);
        EXPECT_EQ(shown(), before);
    }
    button.setBackColor(OleColor::ButtonFace);
    button.setPadding(3);
    EXPECT_EQ(shown(), before) << "with good colours again, the button paints as before";
}

} // namespace
