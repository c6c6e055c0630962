#include "platform/FloppyDrive.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>

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

// The sizes of the floppy formats in sectors of 512 bytes, as sysfs counts a disk's size.
constexpr qint64 FloppySectors[] = {720, 1440, 2400, 2880, 5760};

QByteArray readValue(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
}

// The disk under sysfs's block/ that the device name is, or is a partition of.
QString diskOf(const QString &blockFolder, const QString &name)
{
    if (QFileInfo::exists(blockFolder + u'/' + name))
        return name;
    for (const QString &disk : QDir(blockFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (QFileInfo::exists(blockFolder + u'/' + disk + u'/' + name))
            return disk;
    }
    return {};
}

bool isFloppyDrive(const QByteArray &device, const QString &sysfsRoot)
{
    // A device by its own name in /dev: a mount's source is any text its maker gave it, and a
    // path would lead anywhere ("/dev/fd/3" to a process's open file, "/dev/../sdb" to a
    // floppy's name in sysfs).
    const QByteArray name = device.mid(5);
    if (!device.startsWith("/dev/") || name.isEmpty() || name.contains('/'))
        return false;
    if (name.startsWith("fd"))
        return true;
    const QString blockFolder = sysfsRoot + QStringLiteral("/block");
    const QString disk = diskOf(blockFolder, QFile::decodeName(name));
    if (disk.isEmpty() || disk.contains(u'/'))
        return false;
    const QString diskFolder = blockFolder + u'/' + disk;
    if (readValue(diskFolder + QStringLiteral("/removable")) != "1")
        return false;
    bool isNumber = false;
    const qint64 sectors = readValue(diskFolder + QStringLiteral("/size")).toLongLong(&isNumber);
    return isNumber
        && std::find(std::begin(FloppySectors), std::end(FloppySectors), sectors)
        != std::end(FloppySectors);
}

} // namespace

QString mountPointIn(const QByteArray &mountTable, const QString &sysfsRoot)
{
    QList<QByteArray> mountPoints;
    for (const QByteArray &line : mountTable.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 2)
            continue;
        const QByteArray mountPoint = unescaped(fields[1]);
        if (isFloppyDrive(unescaped(fields[0]), sysfsRoot))
            return QFile::decodeName(mountPoint);
        mountPoints += mountPoint;
    }
    for (const char *usual : {"/media/floppy0", "/media/floppy", "/mnt/floppy"}) {
        if (mountPoints.contains(usual))
            return QString::fromLatin1(usual);
    }
    return {};
}

QString findMountPoint(const QString &mountTable, const QString &sysfsRoot)
{
    QFile table(mountTable);
    if (!table.open(QIODevice::ReadOnly))
        return {};
    return mountPointIn(table.readAll(), sysfsRoot);
}

} // namespace FloppyDrive
