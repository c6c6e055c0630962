#pragma once

#include "platform/PathSeparator.h"

#include <QList>
#include <QString>

#include <functional>

class QByteArray;

// Drive "A:", the floppy, as this system has it: a volume mounted somewhere in the tree.
namespace FloppyDrive {

// The drive's name as the program writes it, and the separator of paths on it ("A:\\clip.avi.1").
inline const QString Name = QStringLiteral("A:");
inline constexpr QChar Separator = u'\\';

// The largest floppy format, 2.88 MB: a larger volume is never taken for a floppy disk, which
// the run may clear.
inline constexpr qint64 LargestDisk = 5760 * 512;

// Whether a folder is the drive's root, named in either case.
bool isName(const QString &folder);

// Whether path begins with the drive's name, in either case, alone or before either separator.
bool startsWithName(const QString &path);

// A mounted volume as the drive's lookup met it.
struct Volume
{
    QString mountPoint;
    // What the mount table names as its source ("/dev/fd0", "fusefat"), for messages.
    QString device;
    bool readOnly = false;

    bool operator==(const Volume &) const = default;
};

// What the mount table holds for the drive.
struct Lookup
{
    // The floppy disks mounted, in the table's order: drive A: is the one, when there is one.
    QList<Volume> disks;
    // Volumes at the usual folders of a floppy that are larger than any floppy, and so are not
    // taken for one.
    QList<Volume> tooLarge;

    bool operator==(const Lookup &) const = default;
};

// How many bytes the volume mounted at a folder holds at most, for a volume that is no block
// device of this machine (FUSE, a network share, ...).
using VolumeSize = std::function<qint64(const QString &mountPoint)>;

// What a mount table in the format of /proc/self/mountinfo has of the floppy. A volume is judged
// by the block device behind it, as the sysfs tree at sysfsRoot describes it, never by the name
// the table gives its source, which a FUSE file system chooses itself. The disks are the volumes
// of floppy drives: /dev/fd* devices, and removable disks (a USB floppy drive, /dev/sdX, mounted
// wherever the desktop put it) whose medium has the size of a floppy format (360 KB, 720 KB,
// 1.2 MB, 1.44 MB or 2.88 MB). Without any, they are the volumes at /media/floppy0,
// /media/floppy and /mnt/floppy that are no larger than a floppy: by their device's size, or
// else by sizeOf. A volume mounted at two places counts once, at a place that takes writes if
// one does.
Lookup lookUp(const QByteArray &mountInfo, const QString &sysfsRoot, const VolumeSize &sizeOf);

// The same for the running system's table and devices.
Lookup lookUpSystem();

// How many bytes the volume mounted at mountPoint holds at most: its capacity, or, for a volume
// that tells none (fusefat tells none for its FAT12 images), what its files hold.
qint64 volumeSize(const QString &mountPoint);

// What the files in folder and the folders in it hold, links not followed, counted only until
// they would not fit on a floppy: then LargestDisk + 1.
qint64 bytesHeld(const QString &folder);

} // namespace FloppyDrive
