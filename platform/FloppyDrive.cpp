#include "platform/FloppyDrive.h"

#include "platform/AppError.h"
#include "platform/FileSystem.h"

#include <QByteArray>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <iterator>

namespace FloppyDrive {

bool isName(const QString &folder)
{
    return folder.compare(Name, Qt::CaseInsensitive) == 0;
}

bool startsWithName(const QString &path)
{
    return path.startsWith(Name, Qt::CaseInsensitive)
        && (path.size() == Name.size() || path.at(Name.size()) == Separator
            || path.at(Name.size()) == u'/');
}

namespace {

// The sizes of the floppy formats in sectors of 512 bytes, as sysfs counts a disk's size.
constexpr qint64 FloppySectors[] = {720, 1440, 2400, 2880, 5760};
constexpr qint64 SectorSize = 512;
// What one name takes in a FAT folder: a floppy has room for no more names than this allows.
constexpr qint64 FolderEntrySize = 32;

// One line of the mount table.
struct Mount
{
    // The device's numbers, "major:minor": 0 as the major for a volume with no block device.
    QByteArray device;
    // The folder of its file system that is mounted: "/" for the whole volume.
    QByteArray root;
    QString mountPoint;
    QString source;
    bool readOnly = false;
};

// The table writes blanks, tabs, line ends and backslashes in its fields as octal escapes.
QByteArray unescaped(const QByteArray &field)
{
    QByteArray text;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                text += char(code);
                i += 3;
                continue;
            }
        }
        text += field[i];
    }
    return text;
}

bool hasReadOnly(const QByteArray &options)
{
    return options.split(',').contains("ro");
}

// "major:minor" in decimal, as the kernel writes a device's numbers; anything else would be
// looked up in sysfs as a path.
bool isDeviceNumbers(const QByteArray &field)
{
    static const QRegularExpression numbers(QStringLiteral("^[0-9]+:[0-9]+$"));
    return numbers.match(QLatin1StringView(field)).hasMatch();
}

// The mounts in the table's order; a mount over another at the same folder hides it.
QList<Mount> mountsIn(const QByteArray &mountInfo)
{
    QList<Mount> mounts;
    for (const QByteArray &line : mountInfo.split('\n')) {
        // ID, parent, device, root, mount point, options, optional fields, "-", type, source,
        // the file system's options.
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype separator = fields.indexOf("-", 6);
        if (separator < 0 || fields.size() < separator + 4 || !isDeviceNumbers(fields[2]))
            continue;
        Mount mount {fields[2], unescaped(fields[3]), QFile::decodeName(unescaped(fields[4])),
                     QFile::decodeName(unescaped(fields[separator + 2])),
                     hasReadOnly(fields[5]) || hasReadOnly(fields[separator + 3])};
        mounts.removeIf([&](const Mount &other) { return other.mountPoint == mount.mountPoint; });
        mounts << mount;
    }
    return mounts;
}

QByteArray readValue(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
}

qint64 readNumber(const QString &path)
{
    bool isNumber = false;
    const qint64 number = readValue(path).toLongLong(&isNumber);
    return isNumber ? number : -1;
}

// A block device of this machine, as sysfs describes it.
struct BlockDevice
{
    bool exists = false;
    bool isFloppyDrive = false;
    // The volume's size in bytes (the partition's, for a partition); -1 when sysfs does not say.
    qint64 size = -1;
};

BlockDevice blockDevice(const QString &sysfsRoot, const QByteArray &numbers)
{
    // A volume of no device (FUSE, tmpfs, a network share) has 0 as its major number.
    if (numbers.startsWith("0:"))
        return {};
    // sysfs links each device's numbers to its folder; a partition's folder lies in its disk's.
    const QString folder
        = QFileInfo(sysfsRoot + QStringLiteral("/dev/block/") + QString::fromLatin1(numbers))
              .canonicalFilePath();
    if (folder.isEmpty())
        return {};
    const bool isPartition = QFileInfo::exists(folder + QStringLiteral("/partition"));
    const QFileInfo disk(isPartition ? QFileInfo(folder).path() : folder);
    const qint64 sectors = readNumber(folder + QStringLiteral("/size"));
    const qint64 diskSectors = readNumber(disk.filePath() + QStringLiteral("/size"));
    static const QRegularExpression floppyName(QStringLiteral("^fd[0-9]+$"));
    const bool isFloppyDrive = floppyName.match(disk.fileName()).hasMatch()
        || (readValue(disk.filePath() + QStringLiteral("/removable")) == "1"
            && std::find(std::begin(FloppySectors), std::end(FloppySectors), diskSectors)
                != std::end(FloppySectors));
    return {true, isFloppyDrive, sectors < 0 ? -1 : sectors * SectorSize};
}

Volume volumeOf(const Mount &mount)
{
    return {mount.mountPoint, mount.source, mount.readOnly};
}

// Adds the mount to the disks, where a volume mounted at two places counts once.
void addDisk(QList<Volume> &disks, QList<QByteArray> &devices, const Mount &mount)
{
    const qsizetype known = devices.indexOf(mount.device);
    if (known < 0) {
        disks << volumeOf(mount);
        devices << mount.device;
    } else if (disks[known].readOnly && !mount.readOnly) {
        // A place that takes writes is worth more than one that does not: a read-only mount
        // of the disk must not hide a writable one.
        disks[known] = volumeOf(mount);
    }
}

} // namespace

Lookup lookUp(const QByteArray &mountInfo, const QString &sysfsRoot, const VolumeSize &sizeOf)
{
    QList<Mount> mounts = mountsIn(mountInfo);
    // A folder of a volume mounted elsewhere as well is not the volume's root.
    mounts.removeIf([](const Mount &mount) { return mount.root != "/"; });
    Lookup lookup;
    QList<QByteArray> devices;
    for (const Mount &mount : std::as_const(mounts)) {
        const BlockDevice device = blockDevice(sysfsRoot, mount.device);
        if (!device.isFloppyDrive)
            continue;
        if (device.size > LargestDisk)
            lookup.tooLarge << volumeOf(mount);
        else
            addDisk(lookup.disks, devices, mount);
    }
    if (!lookup.disks.isEmpty())
        return lookup;
    for (const char *usual : {"/media/floppy0", "/media/floppy", "/mnt/floppy"}) {
        for (const Mount &mount : std::as_const(mounts)) {
            if (mount.mountPoint != QLatin1StringView(usual))
                continue;
            const BlockDevice device = blockDevice(sysfsRoot, mount.device);
            const qint64 size = device.size >= 0 ? device.size : sizeOf(mount.mountPoint);
            if (size > LargestDisk)
                lookup.tooLarge << volumeOf(mount);
            else
                addDisk(lookup.disks, devices, mount);
        }
    }
    return lookup;
}

Lookup lookUpSystem()
{
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    if (!table.open(QIODevice::ReadOnly))
        return {};
    return lookUp(table.readAll(), QStringLiteral("/sys"), volumeSize);
}

qint64 volumeSize(const QString &mountPoint)
{
    try {
        const DiskSpace space = FileSystem::spaceOf(mountPoint);
        if (space.knowsSize)
            return space.capacity;
    } catch (const AppError &) {
        // A volume that cannot say is looked at through its files.
    }
    return bytesHeld(mountPoint);
}

qint64 bytesHeld(const QString &folder)
{
    // Counted no further than a floppy could hold, so that a large volume costs no more than a
    // floppy to look at.
    constexpr qint64 beyond = LargestDisk + 1;
    qint64 bytes = 0;
    qint64 names = 0;
    QDirIterator files(folder,
                       QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QFileInfo file = files.nextFileInfo();
        if (file.isFile() && !file.isSymLink())
            bytes += file.size();
        if (bytes > LargestDisk || ++names > LargestDisk / FolderEntrySize)
            return beyond;
    }
    return bytes;
}

} // namespace FloppyDrive
