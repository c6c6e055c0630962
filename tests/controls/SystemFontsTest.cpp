#include "controls/SystemFonts.h"

#include "tests/support/QtPrinters.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>

#include <gtest/gtest.h>

namespace {

TEST(SystemFonts, TahomaResolvesToTheSystemsOrWinesFace)
{
    if (!QFontDatabase::hasFamily("Tahoma") && !QFile::exists("/usr/share/wine/fonts/tahoma.ttf"))
        GTEST_SKIP() << "neither the system nor fonts-wine has a Tahoma face";
    SystemFonts::provideTahoma();
    QFont font("Tahoma");
    font.setPointSizeF(8.25);
    EXPECT_EQ(QFontInfo(font).family(), "Tahoma");
    font.setBold(true);
    EXPECT_TRUE(QFontInfo(font).bold());
}

} // namespace
