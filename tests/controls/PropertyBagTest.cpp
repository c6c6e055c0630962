#include "controls/PropertyBag.h"

#include "tests/support/ErrorNumber.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestFiles.h"

#include <QJsonDocument>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(PropertyBag, KeepsOnlyValuesThatDifferFromTheirDefaults)
{
    PropertyBag bag;
    bag.writeProperty("Padding", 2, 2);
    EXPECT_TRUE(bag.toJson().isEmpty());
    EXPECT_EQ(bag.readProperty("Padding", 7), 7) << "a missing key reads as the given default";

    bag.writeProperty("Padding", 3, 2);
    EXPECT_EQ(bag.toJson(), QJsonObject({{"padding", 3}}));
    EXPECT_EQ(bag.readProperty("Padding", 2), 3);

    bag.writeProperty("Padding", 2, 2);
    EXPECT_TRUE(bag.toJson().isEmpty()) << "writing the default again takes the old value out";
}

TEST(PropertyBag, IgnoresTheCaseOfKeys)
{
    PropertyBag bag;
    bag.writeProperty("DefaultOK", true, false);
    EXPECT_EQ(bag.toJson(), QJsonObject({{"defaultok", true}}));
    EXPECT_TRUE(bag.readProperty("DEFAULTOK", false));

    const PropertyBag mixed = PropertyBag::fromJson({{"Caption", "Go"}, {"DefaultOK", true}});
    EXPECT_EQ(mixed.readProperty("caption", QString("cbGo")), "Go");
    EXPECT_TRUE(mixed.readProperty("defaultok", false));
    EXPECT_EQ(mixed.toJson(), QJsonObject({{"caption", "Go"}, {"defaultok", true}}));
}

TEST(PropertyBag, EncodesEachTypeReadably)
{
    QTemporaryDir dir;
    const QString bitmapPath = dir.filePath("key.bmp");
    QImage bitmap(3, 2, QImage::Format_RGB32);
    bitmap.fill(Qt::gray);
    ASSERT_TRUE(bitmap.save(bitmapPath));
    const auto font
        = std::make_shared<StdFont>(StdFont {"Tahoma", 8.25, true, false, true, false, 204});

    PropertyBag bag;
    bag.writeProperty("Border_Normal", qint32(-20), qint32(4));
    bag.writeProperty("Offset_X", qint16(-1), qint16(1));
    bag.writeProperty("Enabled", false, true);
    bag.writeProperty("Caption", QString("&Cut"), QString("cbCut"));
    bag.writeProperty("BackColor", OleColor::ButtonFace, OleColor(16770024));
    bag.writeProperty("PictureMaskColor", OleColor(0xff00), OleColor(255));
    bag.writeProperty("Font_Over", font, FontRef());
    bag.writeProperty("Picture", StdPicture::load(bitmapPath), PictureRef());
    bag.writeProperty("Font_Normal", FontRef(), font);

    const QJsonObject expected {
        {"border_normal", -20},
        {"offset_x", -1},
        {"enabled", false},
        {"caption", "&Cut"},
        {"backcolor", "0x8000000F"},
        {"picturemaskcolor", "0x0000FF00"},
        {"font_over",
         QJsonObject {{"name", "Tahoma"},
                      {"size", 8.25},
                      {"bold", true},
                      {"italic", false},
                      {"underline", true},
                      {"strikethrough", false},
                      {"charset", 204}}},
        {"picture", bitmapPath},
        {"font_normal", QJsonValue::Null},
    };
    EXPECT_EQ(bag.toJson(), expected);

    EXPECT_EQ(bag.readProperty("Border_Normal", qint32(4)), -20);
    EXPECT_EQ(bag.readProperty("Offset_X", qint16(1)), -1);
    EXPECT_FALSE(bag.readProperty("Enabled", true));
    EXPECT_EQ(bag.readProperty("Caption", QString()), "&Cut");
    EXPECT_EQ(bag.readProperty("BackColor", OleColor()), OleColor::ButtonFace);
    EXPECT_EQ(bag.readProperty("PictureMaskColor", OleColor()), OleColor(0xff00));
    const FontRef readFont = bag.readProperty("Font_Over", FontRef());
    ASSERT_TRUE(readFont);
    EXPECT_EQ(*readFont, *font);
    EXPECT_NE(readFont, font) << "each read makes a font object of its own";
    EXPECT_EQ(bag.readProperty("Font_Normal", font), nullptr);
    const PictureRef picture = bag.readProperty("Picture", PictureRef());
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->type, StdPicture::Type::Bitmap);
    EXPECT_EQ(picture->image.size(), QSize(3, 2));
    EXPECT_EQ(picture->source, bitmapPath);
}

TEST(PropertyBag, TellsIconsFromBitmapsAndKeepsEmptyPictures)
{
    QTemporaryDir dir;
    const QString iconPath = dir.filePath("app.ico");
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    ASSERT_TRUE(icon.save(iconPath, "ICO"));

    const PropertyBag bag = PropertyBag::fromJson({{"icon", iconPath}, {"empty", ""}});
    const PictureRef readIcon = bag.readProperty("Icon", PictureRef());
    ASSERT_TRUE(readIcon);
    EXPECT_EQ(readIcon->type, StdPicture::Type::Icon);
    const PictureRef empty = bag.readProperty("Empty", PictureRef());
    ASSERT_TRUE(empty) << "an empty picture is a picture";
    EXPECT_TRUE(empty->image.isNull());

    PropertyBag written;
    written.writeProperty("Icon", readIcon, PictureRef());
    written.writeProperty("Empty", empty, PictureRef());
    EXPECT_EQ(written.toJson(), bag.toJson());
}

TEST(PropertyBag, RefusesValuesItCannotRead)
{
    QTemporaryDir dir;
    const QString notAPicture = dir.filePath("notes.bmp");
    TestFiles::write(notAPicture, "no picture here");
    const PropertyBag bag = PropertyBag::fromJson({
        {"text", "12"},
        {"half", 1.5},
        {"large", 40000},
        {"huge", 3e9},
        {"number", 1},
        {"color", "red"},
        {"font", QJsonObject {{"name", "Tahoma"}, {"size", 8}}},
        {"missing", dir.filePath("missing.bmp")},
        {"broken", notAPicture},
    });

    EXPECT_EQ(errorNumberOf([&] { bag.readProperty("Text", 0); }), AppError::TypeMismatch);
    EXPECT_EQ(errorNumberOf([&] { bag.readProperty("Half", 0); }), AppError::TypeMismatch);
    EXPECT_EQ(errorNumberOf([&] { bag.readProperty("Large", qint16(0)); }), AppError::Overflow);
    EXPECT_EQ(errorNumberOf([&] { bag.readProperty("Huge", 0); }), AppError::Overflow);
    EXPECT_EQ(errorNumberOf([&] { bag.readProperty("Number", false); }), AppError::TypeMismatch);
    EXPECT_EQ(errorNumberOf([&] { bag.readProperty("Number", QString()); }),
              AppError::TypeMismatch);
    EXPECT_EQ(errorNumberOf([&] { bag.readProperty("Color", OleColor()); }),
              AppError::TypeMismatch);
    EXPECT_EQ(errorNumberOf([&] { bag.readProperty("Font", FontRef()); }), AppError::TypeMismatch);
    EXPECT_EQ(errorNumberOf([&] { bag.readProperty("Missing", PictureRef()); }),
              AppError::FileNotFound);
    EXPECT_EQ(errorNumberOf([&] { bag.readProperty("Broken", PictureRef()); }),
              AppError::InvalidPicture);

    PropertyBag target;
    auto inMemory = std::make_shared<StdPicture>();
    inMemory->image = QImage(2, 2, QImage::Format_RGB32);
    EXPECT_EQ(
        errorNumberOf([&] { target.writeProperty("Picture", PictureRef(inMemory), PictureRef()); }),
        AppError::InvalidPropertyValue)
        << "a picture made in memory has no file to refer to";
}

} // namespace
