#include "platform/FloppyDrive.h"

#include "tests/support/QtPrinters.h"
#include "tests/support/TestFiles.h"

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(FloppyDrive, KnowsItsNameAtTheStartOfAPathInEitherCase)
{
    for (const char *path : {"A:", "a:", "A:\\", "a:\\clip.avi.1", "A:/", "a:/x", "A://x"})
        EXPECT_TRUE(FloppyDrive::startsWithName(path)) << path;
    for (const char *path : {"", "A", "A:x", "B:\\", "/A:", "AA:\\"})
        EXPECT_FALSE(FloppyDrive::startsWithName(path)) << path;
}

// A sysfs tree of the machine's block devices: a fixed disk, a USB floppy drive with a 1.44 MB
// disk in it, the same kind of drive with a 100 MB stick, a 720 KB disk with a partition table,
// and a fixed disk as small as a floppy.
class SysfsTree
{
public:
    SysfsTree()
    {
        disk("sda", false, 500118192, {"sda1"});
        disk("sdb", true, 2880);
        disk("sdc", true, 204800);
        disk("sdd", true, 1440, {"sdd1"});
        disk("sde", false, 2880);
    }
    QString root() const { return m_dir.path(); }

private:
    void disk(const QString &name, bool removable, qint64 sectors,
              const QStringList &partitions = {})
    {
        const QString folder = m_dir.filePath("block/" + name);
        QDir().mkpath(folder);
        TestFiles::write(folder + "/removable", removable ? "1\n" : "0\n");
        TestFiles::write(folder + "/size", QByteArray::number(sectors) + '\n');
        for (const QString &partition : partitions)
            QDir().mkpath(folder + '/' + partition);
    }

    QTemporaryDir m_dir;
};

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
        {"a USB floppy drive with a 1.44 MB disk, where the desktop mounted it",
         "/dev/sda1 / ext4 rw 0 0\n/dev/sdb /media/user/DISK1 vfat rw 0 0\n", "/media/user/DISK1"},
        {"a 720 KB disk's partition", "/dev/sdd1 /run/media/user/OLD vfat rw 0 0\n",
         "/run/media/user/OLD"},
        {"a USB stick of 100 MB", "/dev/sdc /media/user/STICK vfat rw 0 0\n", ""},
        {"a fixed disk of a floppy's size", "/dev/sde /srv/small ext2 rw 0 0\n", ""},
        {"a device sysfs does not know", "/dev/sdx /media/user/X vfat rw 0 0\n", ""},
        {"blanks in the mount point", "/dev/fd1 /media/my\\040disk vfat rw 0 0\n",
         "/media/my disk"},
        {"the first of two floppies", "/dev/sdb /mnt/a vfat rw 0 0\n/dev/fd1 /mnt/b vfat rw 0 0\n",
         "/mnt/a"},
        {"a floppy device before the usual folders",
         "/dev/sdx /mnt/floppy vfat rw 0 0\n/dev/fd0 /srv/fd vfat rw 0 0\n", "/srv/fd"},
        {"a usual folder with another device",
         "/dev/sda1 / ext4 rw 0 0\n/dev/sdx /media/floppy vfat rw 0 0\n", "/media/floppy"},
        {"the usual folders in their order",
         "/dev/sdy /mnt/floppy vfat rw 0 0\n/dev/sdx /media/floppy0 vfat rw 0 0\n",
         "/media/floppy0"},
        {"no floppy", "/dev/sda1 / ext4 rw 0 0\n/dev/sdc /media/usb vfat rw 0 0\n", ""},
        {"a usual folder's name inside another", "/dev/sdx /media/floppy0/x vfat rw 0 0\n", ""},
        {"an empty table", "", ""},
        // A mount's source is any text its maker gave it (a FUSE file system's, say): a path
        // that only leads to a floppy's device or to its folder in sysfs names no drive.
        {"a path under /dev/fd, the process's open files", "/dev/fd/3 /mnt/x fuse rw 0 0\n", ""},
        {"a path back out of /dev to a floppy's name", "/dev/../sdb /mnt/x fuse rw 0 0\n", ""},
    };
    const SysfsTree sysfs;
    for (const Case &c : cases)
        EXPECT_EQ(FloppyDrive::mountPointIn(c.table, sysfs.root()), c.mountPoint) << c.what;
}

} // namespace
