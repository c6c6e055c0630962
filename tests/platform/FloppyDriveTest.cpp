#include "platform/FloppyDrive.h"

#include "tests/support/QtPrinters.h"

#include <QByteArray>

#include <gtest/gtest.h>

namespace {

TEST(FloppyDrive, KnowsItsNameAtTheStartOfAPathInEitherCase)
{
    for (const char *path : {"A:", "a:", "A:/", "a:/clip.avi.1", "A://x"})
        EXPECT_TRUE(FloppyDrive::startsWithName(path, u'/')) << path;
    for (const char *path : {"", "A", "A:x", "B:/", "/A:", "AA:/", "A:\\x"})
        EXPECT_FALSE(FloppyDrive::startsWithName(path, u'/')) << path;
    EXPECT_TRUE(FloppyDrive::startsWithName("a:\\x", u'\\'));
}

TEST(FloppyDrive, FindsTheFloppyInTheMountTable)
{
    struct Case
    {
        const char *what;
        const char *table;
        const char *mountPoint;
    };
    const Case cases[] = {
        {"a floppy device", "/dev/sda1 / ext4 rw 0 0\n/dev/fd0 /media/user/DISK vfat rw 0 0\n",
         "/media/user/DISK"},
        {"blanks in the mount point", "/dev/fd1 /media/my\\040disk vfat rw 0 0\n",
         "/media/my disk"},
        {"the first of two floppies", "/dev/fd0 /mnt/a vfat rw 0 0\n/dev/fd1 /mnt/b vfat rw 0 0\n",
         "/mnt/a"},
        {"a floppy device before the usual folders",
         "/dev/sdb /mnt/floppy vfat rw 0 0\n/dev/fd0 /srv/fd vfat rw 0 0\n", "/srv/fd"},
        {"a usual folder with another device",
         "/dev/sda1 / ext4 rw 0 0\n/dev/sdb /media/floppy vfat rw 0 0\n", "/media/floppy"},
        {"the usual folders in their order",
         "/dev/sdc /mnt/floppy vfat rw 0 0\n/dev/sdb /media/floppy0 vfat rw 0 0\n",
         "/media/floppy0"},
        {"no floppy", "/dev/sda1 / ext4 rw 0 0\n/dev/sdb /media/usb vfat rw 0 0\n", ""},
        {"a usual folder's name inside another", "/dev/sdb /media/floppy0/x vfat rw 0 0\n", ""},
        {"an empty table", "", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FloppyDrive::mountPointIn(c.table), c.mountPoint) << c.what;
}

} // namespace
