#include "PiecePlan.h"

#include "AppError.h"
#include "ErrorNumber.h"
#include "QtPrinters.h"
#include "ScopedLocale.h"

#include <gtest/gtest.h>
#include <limits>

using namespace modMorlend;

namespace {

TEST(CeilDiv, IsTheCeilingForEverySignOfTheOperands)
{
    struct Case
    {
        qint64 dividend, divisor, expected;
    };
    const Case cases[] = {
        {0, 1457664, 0},
        {2915328, 1457664, 2},
        {2915329, 1457664, 3},
        {3500000, 1457664, 3},
        {1, 1457664, 1},
        {-7, 2, -3},
        {7, -2, -3},
        {-7, -2, 4},
        {-8, 2, -4},
        {0, -5, 0},
        {5368709121, 1457664, 3684},
    };
    for (const Case &c : cases)
        EXPECT_EQ(CeilDiv(c.dividend, c.divisor), c.expected) << c.dividend << " / " << c.divisor;
}

TEST(CeilDiv, FailsForAZeroDivisorAndAnOverflowingQuotient)
{
    EXPECT_EQ(errorNumberOf([] { CeilDiv(5, 0); }), AppError::DivisionByZero);
    EXPECT_EQ(errorNumberOf([] { CeilDiv(0, 0); }), AppError::DivisionByZero);
    EXPECT_EQ(errorNumberOf([] { CeilDiv(std::numeric_limits<qint64>::min(), -1); }),
              AppError::Overflow);
}

TEST(ParsePieceSize, AcceptsBlanksSignsAndTheLocalesGrouping)
{
    const ScopedLocale english(ScopedLocale::english());
    struct Case
    {
        const char *text;
        qint32 expected;
    };
    const Case cases[] = {
        {"1457664", 1457664},
        {"1 457 664", 1457664},
        {" 1 4 5 7 6 6 4 ", 1457664},
        {"1,457,664", 1457664},
        {"0", 0},
        {"0 000", 0},
        {"-1", -1},
        {"+730112", 730112},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(parsePieceSize(QString::fromUtf8(c.text)), c.expected) << c.text;
}

TEST(ParsePieceSize, RefusesWhatIsNoWholeNumberAndWhatLiesOutside32Bits)
{
    const ScopedLocale english(ScopedLocale::english());
    struct Case
    {
        QString text;
        int error;
    };
    const Case cases[] = {
        {"", AppError::TypeMismatch},
        {"   ", AppError::TypeMismatch},
        {"abc", AppError::TypeMismatch},
        {"12abc", AppError::TypeMismatch},
        {"1e3", AppError::TypeMismatch},
        {"0x10", AppError::TypeMismatch},
        {"1.5", AppError::TypeMismatch},
        {"-", AppError::TypeMismatch},
        {QString::fromUtf8("１２３"), AppError::TypeMismatch},
        {"2147483648", AppError::Overflow},
        {"-2147483649", AppError::Overflow},
        {"99999999999999999999999", AppError::Overflow},
        {QString(10000, u'9'), AppError::Overflow},
    };
    for (const Case &c : cases)
        EXPECT_EQ(errorNumberOf([&] { parsePieceSize(c.text); }), c.error)
            << c.text.left(30).toStdString();
}

TEST(ParsePieceSize, BlankGroupedListEntriesConvertUnderEveryLocale)
{
    for (const QLocale &locale : {ScopedLocale::english(), ScopedLocale::blankGrouping(),
                                  QLocale(QLocale::German), QLocale::c()}) {
        const ScopedLocale scoped(locale);
        EXPECT_EQ(parsePieceSize("1 457 664"), 1457664) << locale.name().toStdString();
        EXPECT_EQ(parsePieceSize("730 112"), 730112) << locale.name().toStdString();
    }
}

TEST(FormatBytes, GroupsWithTheLocalesSeparator)
{
    struct Case
    {
        QLocale locale;
        qint64 count;
        QString expected;
    };
    const Case cases[] = {
        {ScopedLocale::blankGrouping(), 584672, QStringLiteral("584\u00a0672 bytes")},
        {ScopedLocale::blankGrouping(), 1457664, QStringLiteral("1\u00a0457\u00a0664 bytes")},
        {ScopedLocale::english(), 584672, "584,672 bytes"},
        {ScopedLocale::english(), 1, "1 bytes"},
        {ScopedLocale::english(), 0, "0 bytes"},
        {ScopedLocale::english(), 5368709121, "5,368,709,121 bytes"},
        {QLocale::c(), 584672, "584,672 bytes"},
    };
    for (const Case &c : cases) {
        const ScopedLocale scoped(c.locale);
        EXPECT_EQ(formatBytes(c.count), c.expected);
    }
}

} // namespace
