#include "platform/FloppyDrive.h"

#include "tests/support/QtPrinters.h"
#include "tests/support/TestFiles.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
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

// A sysfs tree of the machine's block devices, each linked from dev/block by its numbers as the
// kernel links them: a fixed disk with a partition, the floppy drive with a 1.44 MB disk in it,
// a USB floppy drive with a 1.44 MB disk, the same kind of drive with a 100 MB stick, a 720 KB
// disk with a partition table, a fixed disk as small as a floppy, and two loop devices, one of a
// floppy's size and one of 64 MiB.
class SysfsTree
{
public:
    SysfsTree()
    {
        disk("pci/ata1", "sda", "8:0", false, 500118192, {{"sda1", "8:1", 500116144}});
        disk("platform/floppy.0", "fd0", "2:0", false, 2880);
        disk("usb1", "sdb", "8:16", true, 2880);
        disk("usb2", "sdc", "8:32", true, 204800, {{"sdc1", "8:33", 204768}});
        disk("usb3", "sdd", "8:48", true, 1440, {{"sdd1", "8:49", 1439}});
        disk("pci/ata2", "sde", "8:64", false, 2880);
        disk("virtual", "loop0", "7:0", false, 2880);
        disk("virtual", "loop1", "7:1", false, 131072);
    }
    QString root() const { return m_dir.path(); }

private:
    struct Partition
    {
        const char *name;
        const char *numbers;
        qint64 sectors;
    };

    void disk(const QString &bus, const QString &name, const char *numbers, bool removable,
              qint64 sectors, const QList<Partition> &partitions = {})
    {
        const QString folder = device(bus + "/block/" + name, numbers, sectors);
        TestFiles::write(folder + "/removable", removable ? "1\n" : "0\n");
        for (const Partition &partition : partitions) {
            const QString inside = device(bus + "/block/" + name + '/' + partition.name,
                                          partition.numbers, partition.sectors);
            TestFiles::write(inside + "/partition", "1\n");
        }
    }

    QString device(const QString &path, const char *numbers, qint64 sectors)
    {
        const QString folder = m_dir.filePath("devices/" + path);
        QDir().mkpath(folder);
        QDir().mkpath(m_dir.filePath("dev/block"));
        TestFiles::write(folder + "/size", QByteArray::number(sectors) + '\n');
        EXPECT_TRUE(QFile::link(folder, m_dir.filePath(QString("dev/block/") + numbers)));
        return folder;
    }

    QTemporaryDir m_dir;
};

// A line of /proc/self/mountinfo.
QByteArray mount(const char *numbers, const char *mountPoint, const char *source,
                 const char *options = "rw,relatime", const char *root = "/")
{
    static int id = 30;
    return QByteArray::number(++id) + " 28 " + numbers + ' ' + root + ' ' + mountPoint + ' '
        + options + " shared:1 - vfat " + source + " rw\n";
}

const char *const System = "22 1 8:1 / / rw,relatime - ext4 /dev/sda1 rw\n";

TEST(FloppyDrive, TakesOnlyAFloppyDiskForTheDriveJudgedByTheDeviceBehindIt)
{
    struct Case
    {
        const char *what;
        QByteArray table;
        QStringList disks;
        QStringList tooLarge = {};
        // What a volume without a block device holds.
        qint64 held = 0;
    };
    const Case cases[] = {
        {"the floppy drive", mount("2:0", "/media/user/DISK", "/dev/fd0"), {"/media/user/DISK"}},
        {"a USB floppy drive with a 1.44 MB disk, where udisks mounted it",
         mount("8:16", "/media/user/DISK1", "/dev/sdb"),
         {"/media/user/DISK1"}},
        {"a 720 KB disk's partition",
         mount("8:49", "/run/media/user/OLD", "/dev/sdd1"),
         {"/run/media/user/OLD"}},
        {"a USB stick of 100 MB", mount("8:33", "/media/user/STICK", "/dev/sdc1"), {}},
        {"a fixed disk of a floppy's size", mount("8:64", "/srv/small", "/dev/sde"), {}},
        {"a FUSE file system that names itself the floppy drive",
         mount("0:42", "/srv/fd", "/dev/fd0"),
         {}},
        {"a device sysfs does not know", mount("8:240", "/media/user/X", "/dev/fd1"), {}},
        {"blanks in the mount point",
         mount("2:0", "/media/my\\040disk", "/dev/fd0"),
         {"/media/my disk"}},
        {"two floppy disks, both named",
         mount("8:16", "/mnt/a", "/dev/sdb") + mount("2:0", "/mnt/b", "/dev/fd0"),
         {"/mnt/a", "/mnt/b"}},
        {"a floppy drive before the usual folders",
         mount("7:0", "/mnt/floppy", "/dev/loop0") + mount("2:0", "/srv/fd", "/dev/fd0"),
         {"/srv/fd"}},
        {"a usual folder with a volume of a floppy's size",
         mount("7:0", "/media/floppy", "/dev/loop0"),
         {"/media/floppy"}},
        {"a FUSE image at a usual folder",
         mount("0:42", "/media/floppy0", "fusefat"),
         {"/media/floppy0"},
         {},
         1457664},
        {"a FUSE volume at a usual folder that holds more than a floppy",
         mount("0:42", "/media/floppy0", "/dev/fd0"),
         {},
         {"/media/floppy0"},
         2949121},
        {"a 64 MiB volume at /media/floppy0",
         mount("7:1", "/media/floppy0", "/dev/loop1"),
         {},
         {"/media/floppy0"}},
        {"a 64 MiB volume at /media/floppy",
         mount("7:1", "/media/floppy", "/dev/loop1"),
         {},
         {"/media/floppy"}},
        {"a 64 MiB volume at /mnt/floppy",
         mount("7:1", "/mnt/floppy", "/dev/loop1"),
         {},
         {"/mnt/floppy"}},
        {"a USB stick at a usual folder",
         mount("8:33", "/mnt/floppy", "/dev/sdc1"),
         {},
         {"/mnt/floppy"}},
        {"the usual folders in their order",
         mount("7:0", "/mnt/floppy", "/dev/loop0") + mount("0:42", "/media/floppy0", "fusefat"),
         {"/media/floppy0", "/mnt/floppy"}},
        {"a usual folder's name inside another",
         mount("7:0", "/media/floppy0/x", "/dev/loop0"),
         {}},
        {"a folder of a floppy mounted elsewhere",
         mount("2:0", "/srv/part", "/dev/fd0", "rw", "/parts"),
         {}},
        {"a mount over another at the same folder",
         mount("7:0", "/mnt/floppy", "/dev/loop0") + mount("7:1", "/mnt/floppy", "/dev/loop1"),
         {},
         {"/mnt/floppy"}},
        {"no floppy", mount("8:33", "/media/usb", "/dev/sdc1"), {}},
        // The kernel writes "major:minor"; anything else would be a path into sysfs.
        {"numbers that are no device's", mount("8:16/", "/media/user/DISK", "/dev/sdb"), {}},
        {"an empty table", "", {}},
    };
    const SysfsTree sysfs;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const FloppyDrive::Lookup lookup = FloppyDrive::lookUp(
            System + c.table, sysfs.root(), [&](const QString &) { return c.held; });
        QStringList disks;
        for (const FloppyDrive::Volume &disk : lookup.disks)
            disks << disk.mountPoint;
        QStringList tooLarge;
        for (const FloppyDrive::Volume &volume : lookup.tooLarge)
            tooLarge << volume.mountPoint;
        EXPECT_EQ(disks, c.disks);
        EXPECT_EQ(tooLarge, c.tooLarge);
    }
}

TEST(FloppyDrive, CountsADiskMountedTwiceOnceAtAPlaceThatTakesWrites)
{
    const SysfsTree sysfs;
    const QByteArray table = mount("2:0", "/media/user/DISK", "/dev/fd0", "ro,relatime")
        + mount("2:0", "/mnt/disk", "/dev/fd0") + mount("8:16", "/mnt/usb", "/dev/sdb", "ro");
    const FloppyDrive::Lookup lookup
        = FloppyDrive::lookUp(table, sysfs.root(), [](const QString &) { return 0; });
    EXPECT_EQ(lookup.disks,
              QList<FloppyDrive::Volume>(
                  {{"/mnt/disk", "/dev/fd0", false}, {"/mnt/usb", "/dev/sdb", true}}));
}

TEST(FloppyDrive, CountsWhatAVolumeHoldsNoFurtherThanAFloppyCouldHold)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("small/deeper");
    TestFiles::write(dir.filePath("small/a"), TestFiles::pattern(1000));
    TestFiles::write(dir.filePath("small/deeper/b"), TestFiles::pattern(2000));
    QDir(dir.path()).mkpath("large");
    TestFiles::writeSparse(dir.filePath("large/image"), 64 * 1024 * 1024);
    // What a link leads to is not on the volume.
    ASSERT_TRUE(QFile::link(dir.filePath("large/image"), dir.filePath("small/link")));

    EXPECT_EQ(FloppyDrive::bytesHeld(dir.filePath("small")), 3000);
    EXPECT_EQ(FloppyDrive::bytesHeld(dir.filePath("large")), FloppyDrive::LargestDisk + 1);
    EXPECT_EQ(FloppyDrive::bytesHeld(dir.path()), FloppyDrive::LargestDisk + 1);
}

} // namespace
