#include "engine/SizeText.h"

#include "platform/AppError.h"
#include "tests/support/ErrorNumber.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/ScopedLocale.h"

#include <QRegularExpression>

#include <gtest/gtest.h>
#include <optional>

using namespace modMorlend;

namespace {

// The piece size text stands for; none where it raises an error instead.
std::optional<qint32> pieceSizeOf(const QString &text)
{
    try {
        return parsePieceSize(text);
    } catch (const AppError &) {
        return std::nullopt;
    }
}

TEST(ParsePieceSize, TakesBlanksSignsTheLocalesOwnGroupingAndUnits)
{
    struct Case
    {
        const char *locale;
        QString text;
        qint32 expected;
    };
    const Case cases[] = {
        {"en_US", "1457664", 1457664},
        {"en_US", "1 457 664", 1457664},
        {"en_US", " 1 4 5 7 6 6 4 ", 1457664},
        {"en_US", "1,457,664", 1457664},
        // Blanks from a keyboard or a paste, whatever the locale groups with.
        {"en_US", "1\u00a0457\u00a0664", 1457664},
        {"en_US", "1\u202f457\u2009664", 1457664},
        {"en_US", "0", 0},
        {"en_US", "0 000", 0},
        {"en_US", "0,000", 0},
        {"en_US", "-1", -1},
        {"en_US", "+730112", 730112},
        {"en_US", "2147483647", 2147483647},
        {"en_US", "-2147483648", -2147483647 - 1},
        {"en_US", "-2,147,483,648", -2147483647 - 1},
        {"en_IN", "14,57,664", 1457664},
        {"en_IN", "1,457,664", 1457664},
        {"de_DE", "1.457.664", 1457664},
        {"de_CH", "1\u2019457\u2019664", 1457664},
        {"de_CH", "1'457'664", 1457664},
        {"fr_FR", "1\u202f457\u202f664", 1457664},
        {"fr_FR", "1\u00a0457\u00a0664", 1457664},
        {"es_ES", "1.457.664", 1457664},
        {"es_ES", "584.672", 584672},
        {"ru_RU", "1\u00a0457\u00a0664", 1457664},
        {"ar_EG", "584\u066c672", 584672},
        {"ar_EG", "\u0665\u0668\u0664\u066c\u0666\u0667\u0662", 584672},
        {"he_IL", "\u200e-1", -1},
        {"C", "584,672", 584672},
        // A negative size is one whatever its magnitude.
        {"en_US", "-2147483649", -2147483647 - 1},
        {"en_US", "-99999999999999999999", -2147483647 - 1},
        // K, M and G count 1024s, with or without an i before the B; with a B alone, 1000s.
        {"en_US", "25M", 26214400},
        {"en_US", "25 M", 26214400},
        {"en_US", "25MiB", 26214400},
        {"en_US", "25 MB", 25000000},
        {"en_US", "100k", 102400},
        {"en_US", "100 KiB", 102400},
        {"en_US", "700KB", 700000},
        {"en_US", "700 kb", 700000},
        {"en_US", "1G", 1073741824},
        {"en_US", "1gib", 1073741824},
        {"en_US", "2GB", 2000000000},
        {"en_US", "0K", 0},
        {"en_US", "-1K", -1024},
        {"en_US", "-4G", -2147483647 - 1},
        // Grouping before a unit as without one.
        {"en_US", "1,500 KB", 1500000},
        {"en_US", "2,047M", 2146435072},
        // A decimal part in the locale's separator; what is no whole byte is rounded down.
        {"en_US", "1.5M", 1572864},
        {"en_US", "0.5K", 512},
        {"en_US", "1.44MB", 1440000},
        {"en_US", "1.44M", 1509949},
        {"en_US", "0.7K", 716},
        {"en_US", "0.0001K", 0},
        {"en_US", "2047.999999999M", 2147483647},
        // More digits than 64 bits hold, counted exactly: just below 2 GiB.
        {"en_US", "1.99999999999999999999999999999G", 2147483647},
        {"de_DE", "1,5 MB", 1500000},
        {"de_DE", "1,5M", 1572864},
        {"de_DE", "1.500 MB", 1500000000},
        {"fr_FR", "1,5 MB", 1500000},
        {"fr_FR", "1\u202f500 KB", 1500000},
        {"ar_EG", "\u0661\u066b\u0665M", 1572864},
        // Blanks and line breaks, as a paste brings them, anywhere.
        {"en_US", "2 000 000\n", 2000000},
        {"en_US", "2 000\r\n000", 2000000},
        {"en_US", "\t25\nM\r\n", 26214400},
    };
    for (const Case &c : cases) {
        const ScopedLocale scoped {QLocale(c.locale)};
        EXPECT_EQ(pieceSizeOf(c.text), c.expected) << c.locale << ' ' << c.text.toStdString();
    }
}

TEST(ParsePieceSize, RefusesWhatIsNoSizeAndWhatLiesBeyondTheLargestPiece)
{
    struct Case
    {
        const char *locale;
        QString text;
        int error;
    };
    const Case cases[] = {
        {"en_US", "", AppError::TypeMismatch},
        {"en_US", "   ", AppError::TypeMismatch},
        {"en_US", "abc", AppError::TypeMismatch},
        {"en_US", "12abc", AppError::TypeMismatch},
        {"en_US", "1e3", AppError::TypeMismatch},
        {"en_US", "0x10", AppError::TypeMismatch},
        {"en_US", "1.5", AppError::TypeMismatch},
        {"en_US", "-", AppError::TypeMismatch},
        {"en_US", "+-5", AppError::TypeMismatch},
        {"en_US", "１２３", AppError::TypeMismatch},
        {"en_US", "\u0665\u0668\u0664", AppError::TypeMismatch},
        // A separator where no group of three follows: a fraction typed the other way round,
        // or a slip, is not read as a number ten or a thousand times another.
        {"en_US", "1,5", AppError::TypeMismatch},
        {"en_US", "1,4567", AppError::TypeMismatch},
        {"en_US", "1457,664", AppError::TypeMismatch},
        {"en_US", ",457", AppError::TypeMismatch},
        {"en_US", "1,,457", AppError::TypeMismatch},
        {"en_US", "1,457,", AppError::TypeMismatch},
        {"en_US", "1.457.664", AppError::TypeMismatch},
        {"de_DE", "1,500", AppError::TypeMismatch},
        {"de_DE", "1.5", AppError::TypeMismatch},
        {"es_ES", "1.5", AppError::TypeMismatch},
        {"de_CH", "1'5", AppError::TypeMismatch},
        {"en_IN", "1,45,7664", AppError::TypeMismatch},
        {"en_IN", "1,4,57,664", AppError::TypeMismatch},
        {"ar_EG", "584,672", AppError::TypeMismatch},
        {"en_US", "2147483648", AppError::Overflow},
        {"en_US", "9,999,999,999", AppError::Overflow},
        {"en_US", "99999999999999999999999", AppError::Overflow},
        {"en_US", QString(10000, u'9'), AppError::Overflow},
        // A decimal part without a unit, or not in the locale's separator.
        {"en_US", "1.5", AppError::TypeMismatch},
        {"de_DE", "1,5", AppError::TypeMismatch},
        {"en_US", "1,5 MB", AppError::TypeMismatch},
        {"de_DE", "1.5 MB", AppError::TypeMismatch},
        {"en_US", "1.M", AppError::TypeMismatch},
        {"en_US", ".5M", AppError::TypeMismatch},
        {"en_US", "1.5.5M", AppError::TypeMismatch},
        {"en_US", "1.5,5M", AppError::TypeMismatch},
        {"en_US", "M", AppError::TypeMismatch},
        {"en_US", "25MBB", AppError::TypeMismatch},
        {"en_US", "25Mi", AppError::TypeMismatch},
        {"en_US", "25 X", AppError::TypeMismatch},
        {"en_US", "25 bytes", AppError::TypeMismatch},
        {"en_US", "K25", AppError::TypeMismatch},
        {"en_US", "1e3K", AppError::TypeMismatch},
        {"en_US", "2G", AppError::Overflow},
        {"en_US", "4G", AppError::Overflow},
        {"en_US", "2048M", AppError::Overflow},
        {"en_US", "3000000KB", AppError::Overflow},
        {"en_US", "1T", AppError::Overflow},
        {"en_US", "1TB", AppError::Overflow},
        {"en_US", "99999999999999999K", AppError::Overflow},
        {"en_US", QString(10000, u'9') + "K", AppError::Overflow},
        {"en_US", "4 294 967 296", AppError::Overflow},
    };
    for (const Case &c : cases) {
        const ScopedLocale scoped {QLocale(c.locale)};
        EXPECT_EQ(errorNumberOf([&] { parsePieceSize(c.text); }), c.error)
            << c.locale << ' ' << c.text.left(30).toStdString();
    }
}

TEST(PieceSizeExamples, WriteTheDecimalPartInTheLocalesSeparatorAndAreTaken)
{
    for (const char *locale : {"en_US", "de_DE", "ar_EG"}) {
        const ScopedLocale scoped {QLocale(locale)};
        const QStringList examples = pieceSizeExamples().split(QRegularExpression(", | or "));
        ASSERT_EQ(examples.size(), 4) << locale;
        for (const QString &example : examples)
            EXPECT_GT(pieceSizeOf(example).value_or(0), 0)
                << locale << ' ' << example.toStdString();
    }
}

const char *const Locales[] = {"en_US", "en_IN", "de_DE", "de_CH", "fr_FR", "es_ES", "pl_PL",
                               "cs_CZ", "tr_TR", "el_GR", "he_IL", "ar_EG", "fa_IR", "ru_RU",
                               "ja_JP", "zh_CN", "ko_KR", "zh_TW", "vi_VN", "th_TH", "C"};

TEST(ParsePieceSize, TakesTheListsEntriesAndWhatTheWindowShowsUnderEveryLocale)
{
    for (const char *locale : Locales) {
        const ScopedLocale scoped {QLocale(locale)};
        EXPECT_EQ(pieceSizeOf("1 457 664"), 1457664) << locale;
        EXPECT_EQ(pieceSizeOf("730 112"), 730112) << locale;
        for (const qint32 size : {0, 1, 999, 1000, 584672, 1457664, 2147483647}) {
            const QString shown = formatBytes(size).chopped(QStringLiteral(" bytes").size());
            EXPECT_EQ(pieceSizeOf(shown), size) << locale << ' ' << shown.toStdString();
        }
    }
}

TEST(FormatBytes, GroupsAsciiDigitsInThreesWithTheLocalesSeparator)
{
    struct Case
    {
        const char *locale;
        qint64 count;
        QString expected;
    };
    const Case cases[] = {
        {"en_US", 584672, "584,672 bytes"},
        {"en_US", 1, "1 bytes"},
        {"en_US", 0, "0 bytes"},
        {"en_US", 999, "999 bytes"},
        {"en_US", 1000, "1,000 bytes"},
        {"en_US", 5368709121, "5,368,709,121 bytes"},
        {"en_IN", 1457664, "1,457,664 bytes"},
        {"de_CH", 1457664, "1\u2019457\u2019664 bytes"},
        {"fr_FR", 1457664, "1\u202f457\u202f664 bytes"},
        {"es_ES", 1457664, "1.457.664 bytes"},
        {"es_ES", 1457, "1.457 bytes"},
        {"pl_PL", 1457664, "1\u00a0457\u00a0664 bytes"},
        {"ru_RU", 584672, "584\u00a0672 bytes"},
        {"ar_EG", 1457664, "1\u066c457\u066c664 bytes"},
        {"fa_IR", 584672, "584\u066c672 bytes"},
        {"C", 584672, "584,672 bytes"},
    };
    for (const Case &c : cases) {
        const ScopedLocale scoped {QLocale(c.locale)};
        EXPECT_EQ(formatBytes(c.count), c.expected) << c.locale << ' ' << c.count;
    }
}

} // namespace
