#pragma once

#include <QtGlobal>

#include <optional>

class QByteArray;
class QString;
struct stat;

// Where a file's content lives: two names with the same identity are one file, whether a link
// or a second name of it (a hard link) joins them.
struct FileIdentity
{
    quint64 device = 0;
    quint64 inode = 0;

    bool operator==(const FileIdentity &) const = default;
};

// What changes whenever a file's content does: its length, and the times of its last
// modification and of its last change of any kind, to the nanosecond.
struct FileStamp
{
    qint64 length = 0;
    qint64 modified = 0;
    qint64 changed = 0;

    static FileStamp of(const struct stat &info);
    bool operator==(const FileStamp &) const = default;
};

// Who besides its owner may read or write a file: the read and write bits (as st_mode has them)
// of its group, which group that is, and those of everyone else. What a run writes from a
// source shares no more than the source: everyone else gets only what the source's group gets
// too, since its members are everyone else to a file of another group. Nothing carries the
// bits to execute, to take the owner's or the group's rights, or to keep names in a folder.
struct FileSharing
{
    quint64 group = 0;
    quint32 groupBits = 0;
    quint32 otherBits = 0;

    static FileSharing of(const struct stat &info);
};

// What has a name: the file (or link, pipe, ...) itself, never what a link leads to.
struct NamedFile
{
    FileIdentity identity;
    FileStamp stamp;
    bool isRegularFile = false;
    // Its permission bits (0777 at most: the set-id and sticky bits are left out).
    quint32 permissions = 0;

    static NamedFile of(const struct stat &info);
};

// The room on the volume that holds a path, in bytes.
struct DiskSpace
{
    // Whether the volume tells its size; some do not (a FUSE file system may say 0).
    bool knowsSize = false;
    qint64 capacity = 0;
    qint64 free = 0;
    // What a file's length is rounded up to on the volume (a FAT volume's cluster).
    qint64 allocationUnit = 1;
    bool readOnly = false;

    // The room a file of length bytes takes there.
    qint64 roomFor(qint64 length) const;
};

// Questions and changes about named files and folders. Failures raise the matching AppError.
namespace FileSystem {

// Length in bytes of the file at path; a missing file, a folder or anything else that is not
// a regular file raises the matching AppError.
qint64 FileLength(const QString &path);

// Whether path names a folder, or a link to one.
bool isFolder(const QString &path);
// Whether the name path itself is a folder; a link to one is not.
bool namesFolder(const QString &path);
// Creates one folder level; its parent must exist.
void createFolder(const QString &path);
// The identity of the file that path leads to, links followed; none when it leads nowhere.
std::optional<FileIdentity> identityOf(const QString &path);
// The stamp of what has the name path, a link itself rather than what it leads to; none when
// nothing has it.
std::optional<FileStamp> stampOf(const QString &path);
// What has the name path; none when nothing has it.
std::optional<NamedFile> namedFile(const QString &path);
// What path leads to, links followed; none when it leads nowhere.
std::optional<NamedFile> fileAt(const QString &path);
// Removes the name of a file (a link goes, not what it leads to).
void deleteFile(const QString &path);
// Gives the file named from the name to instead, in place of whatever has that name.
void rename(const QString &from, const QString &to);
// Removes an empty folder.
void removeFolder(const QString &path);
// Gives what has the name from the name to, which nothing may have: a name someone made
// meanwhile raises "File already exists" rather than lose what has it. Both lie in one folder.
void renameNoReplace(const QString &from, const QString &to);
// The longest name, in bytes, that the folder at path takes; none when its volume sets no
// limit or does not say.
std::optional<qint64> nameLimitOf(const QString &path);
// Returns once the names in the folder at path have reached the device.
void flushFolder(const QString &path);
// The permission bits that the user's file creation mask (umask) leaves to a new file.
quint32 permissionsAllowed();
// The room on the volume that holds path; raises the matching AppError when it cannot be
// asked.
DiskSpace spaceOf(const QString &path);
// The process's working folder as the system names it, byte for byte (its name need not be
// text in the system's encoding); empty when it has no name any more (it was removed).
QByteArray workingFolder();

} // namespace FileSystem
