#include "OemCodePage.h"

#include "QtPrinters.h"

#include <QLocale>
#include <QSet>

#include <gtest/gtest.h>

namespace {

TEST(OemCodePage, FollowsTheUsersRegion)
{
    struct Case
    {
        QLocale locale;
        int number;
    };
    const Case cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), 437},
        {QLocale(QLocale::Japanese, QLocale::Japan), 437},
        {QLocale(QLocale::C), 437},
        {QLocale(QLocale::German, QLocale::Germany), 850},
        {QLocale(QLocale::French, QLocale::Canada), 850},
        {QLocale(QLocale::Spanish, QLocale::Mexico), 850},
        {QLocale(QLocale::Swedish, QLocale::Sweden), 850},
        {QLocale(QLocale::Russian, QLocale::Russia), 866},
        {QLocale(QLocale::Ukrainian, QLocale::Ukraine), 866},
        {QLocale(QLocale::Bulgarian, QLocale::Bulgaria), 866},
        {QLocale(QLocale::Serbian, QLocale::CyrillicScript, QLocale::Serbia), 866},
    };
    for (const Case &c : cases)
        EXPECT_EQ(OemCodePage::forLocale(c.locale).number(), c.number)
            << c.locale.name().toStdString();
}

TEST(OemCodePage, EncodesWhatThePageHoldsAndNothingElse)
{
    const OemCodePage us = OemCodePage::forLocale(QLocale(QLocale::English));
    const OemCodePage western = OemCodePage::forLocale(QLocale(QLocale::German));
    const OemCodePage cyrillic = OemCodePage::forLocale(QLocale(QLocale::Russian));

    EXPECT_EQ(us.encode(u"ren \"café ß.1\""), "ren \"caf\x82 \xe1.1\"");
    EXPECT_EQ(western.encode(u"Ø ñ É"), "\x9d \xa4 \x90");
    EXPECT_EQ(cyrillic.encode(u"Жё №"), "\x86\xf1 \xfc");

    EXPECT_TRUE(us.canEncode(u"plain ASCII %&^!()"));
    EXPECT_FALSE(us.canEncode(u"Ø")) << "437 has no slashed O";
    EXPECT_FALSE(western.canEncode(u"Ж"));
    EXPECT_FALSE(cyrillic.canEncode(u"é"));
    EXPECT_FALSE(us.canEncode(u"€"));
    EXPECT_FALSE(us.canEncode(u"日本"));
    EXPECT_FALSE(us.canEncode(QString::fromUtf8("\xf0\x9f\x98\x80")))
        << "nor characters beyond 16 bits";
    EXPECT_EQ(us.encode(u"a€b"), "a?b");
}

TEST(OemCodePage, GivesEveryByteToOneCharacter)
{
    for (const QLocale::Language language : {QLocale::English, QLocale::German, QLocale::Russian}) {
        const OemCodePage page = OemCodePage::forLocale(QLocale(language));
        QSet<QByteArray> bytes;
        for (char16_t c = 0; c < 0x2600; ++c) {
            const QChar character(c);
            if (page.canEncode(QStringView(&character, 1)))
                bytes.insert(page.encode(QStringView(&character, 1)));
        }
        EXPECT_EQ(bytes.size(), 256) << page.number();
    }
}

} // namespace
