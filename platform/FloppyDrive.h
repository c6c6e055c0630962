#pragma once

#include "platform/PathSeparator.h"

#include <QString>

class QByteArray;

// Drive "A:", the floppy, as this system has it: a volume mounted somewhere in the tree.
namespace FloppyDrive {

// The drive's name as the program writes it.
inline const QString Name = QStringLiteral("A:");

// Whether a folder is the drive's root, named in either case.
bool isName(const QString &folder);

// Whether path begins with the drive's name, in either case, alone or before a separator.
bool startsWithName(const QString &path, QChar separator = NativeSeparator);

// Where a mount table in the format of /proc/mounts has the floppy: the volume whose device is
// a floppy (/dev/fd*), else whatever is mounted at /media/floppy0, /media/floppy or
// /mnt/floppy. Empty when the table has none of these.
QString mountPointIn(const QByteArray &mountTable);

// The same for the running system's table.
QString findMountPoint();

} // namespace FloppyDrive
