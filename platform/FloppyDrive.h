#pragma once

#include "platform/PathSeparator.h"

#include <QString>

class QByteArray;

// Drive "A:", the floppy, as this system has it: a volume mounted somewhere in the tree.
namespace FloppyDrive {

// The drive's name as the program writes it, and the separator of paths on it ("A:\\clip.avi.1").
inline const QString Name = QStringLiteral("A:");
inline constexpr QChar Separator = u'\\';

// Whether a folder is the drive's root, named in either case.
bool isName(const QString &folder);

// Whether path begins with the drive's name, in either case, alone or before either separator.
bool startsWithName(const QString &path);

// Where a mount table in the format of /proc/mounts has the floppy: the first volume whose
// device is a floppy drive, by the block devices that the sysfs tree at sysfsRoot describes;
// else whatever is mounted at /media/floppy0, /media/floppy or /mnt/floppy. Empty when the
// table has none of these. A floppy drive is a /dev/fd* device, or a removable disk (a USB
// floppy drive, /dev/sdX, mounted wherever the desktop put it) whose medium has the size of a
// floppy format: 360 KB, 720 KB, 1.2 MB, 1.44 MB or 2.88 MB.
QString mountPointIn(const QByteArray &mountTable, const QString &sysfsRoot);

// The same for the running system's table and devices.
QString findMountPoint(const QString &mountTable = QStringLiteral("/proc/mounts"),
                       const QString &sysfsRoot = QStringLiteral("/sys"));

} // namespace FloppyDrive
