// The mount table as FloppyDrive reads it, against a sysfs tree of a fixed disk, a USB floppy
// drive with a 1.44 MB disk (sdb) and a 720 KB disk with a partition (sdd): whatever the table
// holds, the floppy found is one of the usual mount points or the mount point of a line whose
// device is a floppy drive by its name alone: /dev/fd..., or a disk or partition that sysfs
// names, with no further path in it.

#include "platform/FloppyDrive.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

QString sysfsRoot()
{
    static const QTemporaryDir root;
    static const bool made = [] {
        const auto disk = [](const QString &name, const char *removable, const char *sectors,
                             const QString &partition = QString()) {
            const QString folder = root.filePath(QStringLiteral("block/") + name);
            QDir().mkpath(folder + u'/' + partition);
            for (const auto &[file, value] :
                 {std::pair {"removable", removable}, {"size", sectors}}) {
                QFile out(folder + u'/' + QLatin1StringView(file));
                if (!out.open(QIODevice::WriteOnly) || out.write(value) < 0)
                    std::abort();
            }
        };
        disk(QStringLiteral("sda"), "0\n", "500118192\n", QStringLiteral("sda1"));
        disk(QStringLiteral("sdb"), "1\n", "2880\n");
        disk(QStringLiteral("sdd"), "1\n", "1440\n", QStringLiteral("sdd1"));
        return true;
    }();
    return made ? root.path() : QString();
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

bool namesADriveByItself(const QByteArray &device)
{
    const QByteArray name = device.mid(5);
    return device.startsWith("/dev/") && !name.isEmpty() && !name.contains('/');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray table(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString found = FloppyDrive::mountPointIn(table, sysfsRoot());
    if (found.isEmpty()
        || QStringList {"/media/floppy0", "/media/floppy", "/mnt/floppy"}.contains(found))
        return 0;
    for (const QByteArray &line : table.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() >= 2 && QFile::decodeName(unescaped(fields[1])) == found
            && namesADriveByItself(unescaped(fields[0])))
            return 0;
    }
    std::abort();
}
