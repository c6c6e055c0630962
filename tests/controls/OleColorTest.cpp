#include "controls/OleColor.h"

#include "tests/controls/DistinctPalette.h"
#include "tests/support/ErrorNumber.h"
#include "tests/support/QColorPrinter.h"
#include "tests/support/QtPrinters.h"

#include <QColor>

#include <gtest/gtest.h>

namespace {

TEST(OleColor, TranslateColorResolvesSystemColoursAndRefusesOthers)
{
    const QPalette palette = distinctPalette();
    EXPECT_EQ(TranslateColor(OleColor(255), palette), QColor(255, 0, 0));
    EXPECT_EQ(TranslateColor(OleColor(16770024), palette), QColor(232, 227, 255));
    EXPECT_EQ(TranslateColor(OleColor::ButtonFace, palette), palette.color(QPalette::Button));
    EXPECT_EQ(TranslateColor(OleColor::ButtonText, palette), palette.color(QPalette::ButtonText));
    EXPECT_EQ(TranslateColor(OleColor::ButtonShadow, palette), palette.color(QPalette::Dark));
    EXPECT_EQ(TranslateColor(OleColor::Highlight3D, palette), palette.color(QPalette::Light));
    EXPECT_EQ(TranslateColor(OleColor::Highlight, palette), palette.color(QPalette::Highlight));
    for (quint32 index = 0; index <= 30; ++index) {
        if (index != 25) {
            EXPECT_NO_THROW(TranslateColor(OleColor(0x80000000 | index), palette)) << index;
        }
    }
    for (quint32 bad :
         {0x80000019u, 0x8000001Fu, 0x80000100u, 0x01000000u, 0x7F000000u, 0xFFFFFFFFu}) {
        EXPECT_EQ(errorNumberOf([&] { TranslateColor(OleColor(bad), palette); }),
                  AppError::InvalidPropertyValue)
            << std::hex << bad;
    }
}

} // namespace
