#include "engine/FolderText.h"

#include "platform/AppError.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using modMorlend::readFolderText;

TEST(FolderText, ReadsTheFloppyAWholePathOrTheHomeFolder)
{
    struct Case
    {
        const char *text;
        const char *folder;
    };
    const Case cases[] = {
        {"A:", "A:"},
        {"a:", "A:"},
        {"A:\\", "A:"},
        {"a:/", "A:"},
        {"A:\\\\/", "A:"},
        {"a:\\games", "A:\\games"},
        {"A:games", "A:\\games"},
        {"A:/games/", "A:\\games"},
        {"a:\\\\games//saves\\", "A:\\games\\saves"},
        {"/home/me/out", "/home/me/out"},
        {"//home///me/out/", "/home/me/out"},
        {"/", "/"},
        {"~", "/home/me"},
        {"~/", "/home/me"},
        {"~/movies//cut", "/home/me/movies/cut"},
        {"/tmp/A:/x", "/tmp/A:/x"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        const modMorlend::FolderText read = readFolderText(c.text, "/home/me");
        EXPECT_EQ(read.folder, c.folder);
        EXPECT_TRUE(read.refusal.isEmpty()) << read.refusal.toStdString();
    }
}

TEST(FolderText, RefusesWhatNamesNoWholePathHere)
{
    for (const char *text : {"relout", "   ", " /home/me", "out/x", "~me/x", "C:\\temp",
                             "c:", "D:/", "B:games", ".", "..", "./x"}) {
        SCOPED_TRACE(text);
        const modMorlend::FolderText read = readFolderText(text, "/home/me");
        EXPECT_TRUE(read.folder.isEmpty());
        EXPECT_FALSE(read.refusal.isEmpty());
    }
    try {
        readFolderText("", "/home/me");
        FAIL() << "an empty text is the general error it always was";
    } catch (const AppError &error) {
        EXPECT_EQ(error.number(), AppError::InvalidArgument);
    }
}

} // namespace
