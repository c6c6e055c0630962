#include "engine/DiskQuestions.h"

#include "platform/AppError.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>
#include <optional>

using namespace modMorlend;
using Use = DiskQuestions::Use;

namespace {

// What an error says of the disk in the drive depends on what the run does with it: one that is
// read fills nothing, and a read that is refused is no write-protection.
TEST(DiskQuestions, SaysWhatAnErrorMeansForTheDiskInTheDrive)
{
    struct Case
    {
        AppError::Number number;
        // None: the error is not the disk's, and is thrown on.
        std::optional<QString> writing;
        std::optional<QString> reading;
    };
    const Case cases[] = {
        {AppError::DiskNotReady, "There is no disk in the drive.",
         "There is no disk in the drive."},
        {AppError::PermissionDenied, "The disk in the drive is write-protected.",
         "The disk in the drive cannot be read: Permission denied."},
        {AppError::DiskFull, "The disk in the drive is full.", std::nullopt},
        {AppError::DeviceIOError, "The disk in the drive cannot be written: Device I/O error.",
         "The disk in the drive cannot be read: Device I/O error."},
        {AppError::FileNotFound, "The disk in the drive cannot be written: File not found.",
         "The disk in the drive cannot be read: File not found."},
        {AppError::OutOfMemory, std::nullopt, std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.number));
        const AppError error(c.number);
        for (const auto &[use, expected] :
             {std::pair(Use::Writing, c.writing), std::pair(Use::Reading, c.reading)}) {
            if (expected) {
                EXPECT_EQ(DiskQuestions::whatTheErrorSays(error, use), *expected);
            } else {
                EXPECT_THROW((void)DiskQuestions::whatTheErrorSays(error, use), AppError);
            }
        }
    }
}

} // namespace
