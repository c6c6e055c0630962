#include "platform/FloppyDrive.h"

#include <QByteArray>
#include <QFile>
#include <QList>

namespace FloppyDrive {

bool isName(const QString &folder)
{
    return folder.compare(Name, Qt::CaseInsensitive) == 0;
}

bool startsWithName(const QString &path, QChar separator)
{
    return path.startsWith(Name, Qt::CaseInsensitive)
        && (path.size() == Name.size() || path.at(Name.size()) == separator);
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

} // namespace

QString mountPointIn(const QByteArray &mountTable)
{
    QList<QByteArray> mountPoints;
    for (const QByteArray &line : mountTable.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 2)
            continue;
        const QByteArray mountPoint = unescaped(fields[1]);
        if (fields[0].startsWith("/dev/fd"))
            return QFile::decodeName(mountPoint);
        mountPoints += mountPoint;
    }
    for (const char *usual : {"/media/floppy0", "/media/floppy", "/mnt/floppy"}) {
        if (mountPoints.contains(usual))
            return QString::fromLatin1(usual);
    }
    return {};
}

QString findMountPoint()
{
    QFile table(QStringLiteral("/proc/mounts"));
    if (!table.open(QIODevice::ReadOnly))
        return {};
    return mountPointIn(table.readAll());
}

} // namespace FloppyDrive
