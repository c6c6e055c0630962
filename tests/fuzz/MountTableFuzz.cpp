// The mount table as FloppyDrive reads it (/proc/self/mountinfo), against a sysfs tree of a
// fixed disk with a partition (8:0, 8:1), a floppy drive (2:0), a USB floppy drive with a
// 1.44 MB disk (8:16) and a 720 KB disk with a partition (8:48, 8:49); volumes of no device
// (FUSE, 0:n) tell their size through a stand-in that calls a usual folder's volume small or
// large by its mount point. Whatever the table holds, each disk found is the mount point of a
// line whose device is a floppy's by its numbers, or a usual folder of the floppy's whose
// volume is no larger than a floppy; what is too large is at a usual folder, and no folder is
// both.

#include "platform/FloppyDrive.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

const QStringList UsualFolders {QStringLiteral("/media/floppy0"), QStringLiteral("/media/floppy"),
                                QStringLiteral("/mnt/floppy")};
const QList<QByteArray> FloppyNumbers {"2:0", "8:16", "8:48", "8:49"};
const QList<QByteArray> LargeNumbers {"8:0", "8:1"};

QString sysfsRoot()
{
    static const QTemporaryDir root;
    static const bool made = [] {
        const auto write = [](const QString &file, const char *value) {
            QFile out(file);
            if (!out.open(QIODevice::WriteOnly) || out.write(value) < 0)
                std::abort();
        };
        const auto device = [&](const QString &folder, const char *numbers, const char *sectors) {
            const QString path = root.filePath(folder);
            QDir().mkpath(path);
            write(path + QStringLiteral("/size"), sectors);
            QDir().mkpath(root.filePath(QStringLiteral("dev/block")));
            if (!QFile::link(
                    path, root.filePath(QStringLiteral("dev/block/")) + QLatin1StringView(numbers)))
                std::abort();
        };
        const auto disk = [&](const QString &name, const char *removable, const char *numbers,
                              const char *sectors) {
            device(QStringLiteral("block/") + name, numbers, sectors);
            write(root.filePath(QStringLiteral("block/") + name + QStringLiteral("/removable")),
                  removable);
        };
        const auto partition = [&](const QString &disk, const QString &name, const char *numbers,
                                   const char *sectors) {
            device(QStringLiteral("block/") + disk + u'/' + name, numbers, sectors);
            write(root.filePath(QStringLiteral("block/") + disk + u'/' + name
                                + QStringLiteral("/partition")),
                  "1\n");
        };
        disk(QStringLiteral("sda"), "0\n", "8:0", "500118192\n");
        partition(QStringLiteral("sda"), QStringLiteral("sda1"), "8:1", "500000000\n");
        disk(QStringLiteral("fd0"), "1\n", "2:0", "2880\n");
        disk(QStringLiteral("sdb"), "1\n", "8:16", "2880\n");
        disk(QStringLiteral("sdd"), "1\n", "8:48", "1440\n");
        partition(QStringLiteral("sdd"), QStringLiteral("sdd1"), "8:49", "1439\n");
        return true;
    }();
    return made ? root.path() : QString();
}

// What a volume of no device holds: small at /media/floppy0 and /mnt/floppy, large elsewhere.
qint64 sizeOf(const QString &mountPoint)
{
    return mountPoint == UsualFolders[1] ? FloppyDrive::LargestDisk + 1 : 1474560;
}

// A field of the table, its octal escapes read.
QByteArray unescaped(const QByteArray &field)
{
    QByteArray text;
    for (qsizetype at = 0; at < field.size(); ++at) {
        bool isNumber = false;
        const int code = field.mid(at + 1, 3).toInt(&isNumber, 8);
        if (field[at] == '\\' && at + 3 < field.size() && isNumber) {
            text += char(code);
            at += 3;
        } else {
            text += field[at];
        }
    }
    return text;
}

// Whether a line of the table mounts a volume at mountPoint that may be taken for a disk.
bool mayBeADisk(const QByteArray &table, const QString &mountPoint)
{
    for (const QByteArray &line : table.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 5 || QFile::decodeName(unescaped(fields[4])) != mountPoint)
            continue;
        if (FloppyNumbers.contains(fields[2]))
            return true;
        if (UsualFolders.contains(mountPoint) && !LargeNumbers.contains(fields[2]))
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray table(reinterpret_cast<const char *>(data), qsizetype(size));
    const FloppyDrive::Lookup found = FloppyDrive::lookUp(table, sysfsRoot(), sizeOf);
    QStringList disks;
    for (const FloppyDrive::Volume &disk : found.disks) {
        if (!mayBeADisk(table, disk.mountPoint))
            std::abort();
        disks << disk.mountPoint;
    }
    for (const FloppyDrive::Volume &volume : found.tooLarge) {
        if (!UsualFolders.contains(volume.mountPoint) || disks.contains(volume.mountPoint))
            std::abort();
    }
    return 0;
}
