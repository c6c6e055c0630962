#include "platform/OemCodePage.h"

#include "platform/AppError.h"
#include "tests/support/ErrorNumber.h"
#include "tests/support/QtPrinters.h"

#include <QLocale>

#include <gtest/gtest.h>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// The pages come from the system's own table of default OEM code pages (as the system's NLS
// data and Wine's copy of it give them), not from this program.
TEST(OemCodePage, IsThePageTheSystemGivesTheUsersLocale)
{
    struct Case
    {
        QLocale locale;
        int number;
    };
    const Case cases[] = {
        {QLocale("en_US"), 437},
        {QLocale("en_IN"), 437},
        {QLocale("en_ZA"), 437},
        {QLocale("en_GB"), 850},
        {QLocale("en_AU"), 850},
        {QLocale("en_CA"), 850},
        {QLocale("de_DE"), 850},
        {QLocale("de_CH"), 850},
        {QLocale("fr_FR"), 850},
        {QLocale("fr_CA"), 850},
        {QLocale("es_ES"), 850},
        {QLocale("es_MX"), 850},
        {QLocale("pt_BR"), 850},
        {QLocale("pt_PT"), 850},
        {QLocale("da_DK"), 850},
        {QLocale("sv_SE"), 850},
        {QLocale("nb_NO"), 850},
        {QLocale("nn_NO"), 850},
        {QLocale("fi_FI"), 850},
        {QLocale("is_IS"), 850},
        {QLocale("et_EE"), 775},
        {QLocale("lt_LT"), 775},
        {QLocale("lv_LV"), 775},
        {QLocale("pl_PL"), 852},
        {QLocale("cs_CZ"), 852},
        {QLocale("sk_SK"), 852},
        {QLocale("hu_HU"), 852},
        {QLocale("ro_RO"), 852},
        {QLocale("hr_HR"), 852},
        {QLocale("sl_SI"), 852},
        {QLocale("bs_BA"), 852},
        {QLocale(QLocale::Serbian, QLocale::LatinScript, QLocale::Serbia), 852},
        {QLocale(QLocale::Serbian, QLocale::CyrillicScript, QLocale::Serbia), 855},
        {QLocale("sr_RS"), 855},
        {QLocale("mk_MK"), 866},
        {QLocale("bg_BG"), 866},
        {QLocale("uk_UA"), 866},
        {QLocale("be_BY"), 866},
        {QLocale("ru_RU"), 866},
        {QLocale("kk_KZ"), 866},
        {QLocale(QLocale::Azerbaijani, QLocale::CyrillicScript, QLocale::Azerbaijan), 866},
        {QLocale("az_AZ"), 857},
        {QLocale("tr_TR"), 857},
        {QLocale("uz_UZ"), 857},
        {QLocale("el_GR"), 737},
        {QLocale("he_IL"), 862},
        {QLocale("ar_EG"), 720},
        {QLocale("ar_SA"), 720},
        {QLocale("fa_IR"), 720},
        {QLocale("ur_PK"), 720},
        {QLocale("th_TH"), 874},
        {QLocale("ja_JP"), 932},
        {QLocale("zh_CN"), 936},
        {QLocale("zh_SG"), 936},
        {QLocale("ko_KR"), 949},
        {QLocale("zh_TW"), 950},
        {QLocale("zh_HK"), 950},
        {QLocale("zh_MO"), 950},
        {QLocale("vi_VN"), 1258},
        // Locales the system has no OEM page for.
        {QLocale("hi_IN"), 437},
        {QLocale("ka_GE"), 437},
        {QLocale::c(), 437},
        {QLocale("POSIX"), 437},
    };
    for (const Case &c : cases)
        EXPECT_EQ(OemCodePage::forLocale(c.locale).number(), c.number)
            << c.locale.name().toStdString();
}

TEST(OemCodePage, WritesACharacterOnlyAsTheJoiningMachineReadsItBack)
{
    struct Case
    {
        int page;
        QString text;
        std::optional<QByteArray> bytes;
    };
    const Case cases[] = {
        {437, "ren \"café ß.1\"", "ren \"caf\x82 \xe1.1\""},
        {437, "plain ASCII %&^!()~\\", "plain ASCII %&^!()~\\"},
        {437, "Ø", std::nullopt},
        {437, "€", std::nullopt},
        {437, "日本", std::nullopt},
        {437, "\xf0\x9f\x98\x80", std::nullopt},
        {850, "Ø ñ É", "\x9d \xa4 \x90"},
        {866, "Жё №", "\x86\xf1 \xfc"},
        {866, "é", std::nullopt},
        // The page held here, not by the C library.
        {720, "ملف é", "\xea\xe9\xe5 \x82"},
        {720, "Ø", std::nullopt},
        // ASCII stays itself in the double-byte pages too.
        {932, "a~b\\c", "a~b\\c"},
        {932, "～", "\x81\x60"},
        // The C library writes these as the codes of "\", "~" and "～".
        {932, "¥", std::nullopt},
        {932, "‾", std::nullopt},
        {932, "〜", std::nullopt},
        {1258, "à", "\xe0"},
        // A letter and a combining mark the page holds are read back as those two.
        {1258, "a\u0300", "a\xcc"},
        // ệ would go as ê and a combining dot below: two characters on the joining machine.
        {1258, "ệ", std::nullopt},
    };
    for (const Case &c : cases) {
        const OemCodePage page(c.page);
        SCOPED_TRACE(QString("%1 %2").arg(c.page).arg(c.text).toStdString());
        EXPECT_EQ(page.canEncode(c.text), c.bytes.has_value());
        if (c.bytes)
            EXPECT_EQ(page.encode(c.text), *c.bytes);
        else
            EXPECT_EQ(errorNumberOf([&] { page.encode(c.text); }), AppError::BadFileName);
    }
}

// A name is written only when the joining machine reads back exactly that name: a character
// that the conversion drops (U+FEFF, taken for a byte-order mark), writes as another ("?" for
// half a surrogate pair) or joins with its neighbour would leave a name in the script that
// names another file there.
TEST(OemCodePage, RefusesInEveryPageATextThatDoesNotReadBackAsItself)
{
    const QString highSurrogate(QChar(0xd83d));
    const QString lowSurrogate(QChar(0xde00));
    const QString everyPage[] = {
        u"back\ufeffup"_s,
        u"\ufeffbackup"_s,
        u"backup\ufeff"_s,
        u"back"_s + highSurrogate + u"up"_s,
        highSurrogate,
        u"back"_s + lowSurrogate + u"up"_s,
        lowSurrogate + highSurrogate,
        // A whole pair stands for a character that no page holds.
        highSurrogate + lowSurrogate,
        u"\ufffd"_s,
    };
    struct Page
    {
        int number;
        // A name beyond ASCII that the page carries, so that a refusal is the text's own.
        QString carried;
        // Characters of its own that the page does not give back as they went in.
        QStringList notReadBack;
    };
    const Page pages[] = {
        {437, u"café"_s, {u"Ø"_s}},
        {720, u"ملف"_s, {u"Ø"_s}},
        {737, u"αρχείο"_s, {u"é"_s}},
        {775, u"ąčę"_s, {u"ñ"_s}},
        {850, u"Ø ñ É"_s, {u"€"_s}},
        {852, u"łódź"_s, {u"ñ"_s}},
        {855, u"ђурђ"_s, {u"é"_s}},
        {857, u"ığüş"_s, {u"ł"_s}},
        {862, u"קובץ"_s, {u"é"_s}},
        {866, u"Жё №"_s, {u"é"_s}},
        {874, u"ไฟล์"_s, {u"é"_s}},
        // Written as the backslash, the tilde, the full-width tilde, the full-width cent sign
        // and the horizontal bar.
        {932, u"ファイル"_s, {u"¥"_s, u"‾"_s, u"〜"_s, u"¢"_s, u"—"_s}},
        {936, u"文件"_s, {u"ệ"_s}},
        {949, u"파일"_s, {u"ệ"_s}},
        {950, u"檔案"_s, {u"ệ"_s}},
        // Written as a letter and a combining mark, read as two characters.
        {1258, u"cà phê"_s, {u"ệ"_s, u"ặ"_s}},
    };
    for (const Page &page : pages) {
        const OemCodePage codePage(page.number);
        SCOPED_TRACE(page.number);
        ASSERT_TRUE(codePage.hasConverter());
        EXPECT_TRUE(codePage.canEncode(page.carried)) << page.carried.toStdString();
        EXPECT_EQ(codePage.decode(codePage.encode(page.carried)), page.carried);
        QStringList refused(std::begin(everyPage), std::end(everyPage));
        for (const QString &character : page.notReadBack)
            refused << character << page.carried + character;
        for (const QString &text : std::as_const(refused)) {
            SCOPED_TRACE(QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2)
                             .toHex(' ')
                             .toStdString());
            EXPECT_FALSE(codePage.canEncode(text));
        }
    }
}

// A page the C library cannot convert, as on a system without its conversion modules.
TEST(OemCodePage, WritesAsciiAloneWithoutAConverter)
{
    const OemCodePage page(1);
    EXPECT_FALSE(page.hasConverter());
    EXPECT_TRUE(page.canEncode(u"clip (1).avi"));
    EXPECT_EQ(page.encode(u"clip (1).avi"), "clip (1).avi");
    EXPECT_FALSE(page.canEncode(u"café.avi"));
    EXPECT_TRUE(OemCodePage(852).hasConverter());
    EXPECT_TRUE(OemCodePage(720).hasConverter());
}

// What the joining machine reads from a script's bytes, which the join of the pieces on this
// system reads the same way.
TEST(OemCodePage, ReadsBytesAsTheJoiningMachineDoes)
{
    struct Case
    {
        int page;
        QByteArray bytes;
        std::optional<QString> text;
    };
    const Case cases[] = {
        {437, "ren \"caf\x82 \xe1.1\"", u"ren \"café ß.1\""_s},
        {850, "\x9d \xa4 \x90", u"Ø ñ É"_s},
        {866, "\x86\xf1 \xfc", u"Жё №"_s},
        {720, "\xea\xe9\xe5 \x82", u"ملف é"_s},
        // The second byte of a double-byte character may be the backslash's.
        {932, "\x83\x5c\\", u"ソ\\"_s},
        // A lead byte without its second byte reads as nothing.
        {932, "a\x83", std::nullopt},
        // Without a converter, ASCII alone.
        {1, "plain", u"plain"_s},
        {1, "caf\x82", std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(
            QString("%1 %2").arg(c.page).arg(QString::fromLatin1(c.bytes.toHex())).toStdString());
        EXPECT_EQ(OemCodePage(c.page).decode(c.bytes), c.text);
    }
}

} // namespace
