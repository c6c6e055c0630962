#include "engine/PiecePlan.h"

#include "platform/AppError.h"
#include "tests/support/ErrorNumber.h"

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

} // namespace
