#include "engine/NameRules.h"

#include "platform/OemCodePage.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace modMorlend;

namespace {

// Where the C library has no converter for the console's page (a system without its conversion
// modules), names in ASCII are still cut, and the others are refused saying why.
TEST(NameRules, RefuseNamesBeyondAsciiWhenThePageCannotBeWritten)
{
    const OemCodePage page(1);
    EXPECT_EQ(refusalOfName("clip (1).avi", page), std::nullopt);
    EXPECT_EQ(refusalOfName("café.avi", page),
              "The join script cannot name the file café.avi: the C library of this system cannot "
              "write the console's code page 1, so only names in ASCII can be written.\r\nRename "
              "the file and try again.");
}

} // namespace
