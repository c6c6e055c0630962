#include "platform/AppError.h"

#include "tests/support/QtPrinters.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace {

TEST(AppError, MapsSystemErrorsOntoTheCatalogue)
{
    struct Case
    {
        int errorCode;
        int number;
        const char *description;
    };
    const Case cases[] = {
        {ENOENT, 53, "File not found"},
        {ENOTDIR, 76, "Path not found"},
        {EACCES, 70, "Permission denied"},
        {EROFS, 70, "Permission denied"},
        {ENOSPC, 61, "Disk full"},
        {EIO, 57, "Device I/O error"},
        {ENOMEDIUM, 71, "Disk not ready"},
        {ENOMEM, 7, "Out of memory"},
        {EISDIR, 75, "Path/File access error"},
    };
    for (const Case &c : cases) {
        const AppError error = AppError::fromErrno(c.errorCode);
        EXPECT_EQ(error.number(), c.number) << c.description;
        EXPECT_EQ(error.description(), c.description);
        EXPECT_EQ(error.source(), "Morlend");
        // What the system answered stays, where the catalogue joins several answers in one.
        EXPECT_EQ(error.systemError(), c.errorCode);
    }
    EXPECT_EQ(AppError(AppError::DiskFull).systemError(), 0);
}

} // namespace
