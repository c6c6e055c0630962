#include "platform/FileSystem.h"

#include "platform/AppError.h"

#include <QFile>
#include <QString>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

NamedFile NamedFile::of(const struct stat &info)
{
    return {{quint64(info.st_dev), quint64(info.st_ino)},
            FileStamp::of(info),
            S_ISREG(info.st_mode),
            quint32(info.st_mode & 0777)};
}

FileStamp FileStamp::of(const struct stat &info)
{
    const auto nanoseconds = [](const timespec &time) {
        return qint64(time.tv_sec) * 1000000000 + time.tv_nsec;
    };
    return {info.st_size, nanoseconds(info.st_mtim), nanoseconds(info.st_ctim)};
}

FileSharing FileSharing::of(const struct stat &info)
{
    const quint32 groupBits = info.st_mode & (S_IRGRP | S_IWGRP);
    return {quint64(info.st_gid), groupBits, info.st_mode & (S_IROTH | S_IWOTH) & (groupBits >> 3)};
}

qint64 DiskSpace::roomFor(qint64 length) const
{
    return (length + allocationUnit - 1) / allocationUnit * allocationUnit;
}

namespace FileSystem {

namespace {

// What the system knows of the file that path leads to, links followed; false, with errno
// set, when it leads nowhere.
bool statusOf(const QString &path, struct stat &info)
{
    return ::stat(QFile::encodeName(path).constData(), &info) == 0;
}

// The same of the name itself: a link is not followed.
bool statusOfName(const QString &path, struct stat &info)
{
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

} // namespace

qint64 FileLength(const QString &path)
{
    struct stat info
    {
    };
    if (!statusOf(path, info))
        throw AppError::fromErrno(errno);
    // A folder has a length on Linux, but cutting one would read nothing useful.
    if (!S_ISREG(info.st_mode))
        throw AppError(AppError::PathFileAccessError);
    return info.st_size;
}

bool isFolder(const QString &path)
{
    struct stat info
    {
    };
    return statusOf(path, info) && S_ISDIR(info.st_mode);
}

bool namesFolder(const QString &path)
{
    struct stat info
    {
    };
    return statusOfName(path, info) && S_ISDIR(info.st_mode);
}

void createFolder(const QString &path)
{
    if (::mkdir(QFile::encodeName(path).constData(), 0777) == 0)
        return;
    // The folder above is missing: the classic "Path not found" rather than a missing file.
    throw errno == ENOENT ? AppError::fromSystem(AppError::PathNotFound, errno)
                          : AppError::fromErrno(errno);
}

std::optional<FileIdentity> identityOf(const QString &path)
{
    struct stat info
    {
    };
    if (!statusOf(path, info))
        return std::nullopt;
    return FileIdentity {quint64(info.st_dev), quint64(info.st_ino)};
}

std::optional<FileStamp> stampOf(const QString &path)
{
    struct stat info
    {
    };
    if (!statusOfName(path, info))
        return std::nullopt;
    return FileStamp::of(info);
}

std::optional<NamedFile> namedFile(const QString &path)
{
    struct stat info
    {
    };
    if (!statusOfName(path, info))
        return std::nullopt;
    return NamedFile::of(info);
}

std::optional<NamedFile> fileAt(const QString &path)
{
    struct stat info
    {
    };
    if (!statusOf(path, info))
        return std::nullopt;
    return NamedFile::of(info);
}

void deleteFile(const QString &path)
{
    if (::unlink(QFile::encodeName(path).constData()) != 0)
        throw AppError::fromErrno(errno);
}

void rename(const QString &from, const QString &to)
{
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        throw AppError::fromErrno(errno);
}

DiskSpace spaceOf(const QString &path)
{
    struct statvfs info
    {
    };
    if (::statvfs(QFile::encodeName(path).constData(), &info) != 0)
        throw AppError::fromErrno(errno);
    DiskSpace space;
    space.readOnly = (info.f_flag & ST_RDONLY) != 0;
    space.knowsSize = info.f_blocks > 0;
    space.capacity = qint64(info.f_blocks) * qint64(info.f_frsize);
    space.free = qint64(info.f_bavail) * qint64(info.f_frsize);
    space.allocationUnit = qMax<qint64>(1, qint64(info.f_bsize));
    return space;
}

void removeFolder(const QString &path)
{
    if (::rmdir(QFile::encodeName(path).constData()) != 0)
        throw AppError::fromErrno(errno);
}

void renameNoReplace(const QString &from, const QString &to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE)
        == 0)
        return;
    if (errno != EINVAL && errno != ENOSYS)
        throw AppError::fromErrno(errno);
    // A volume that cannot rename without replacing (some FUSE ones): a second name, which is
    // never made over another, then the first removed.
    if (::link(source.constData(), target.constData()) == 0) {
        if (::unlink(source.constData()) != 0)
            throw AppError::fromErrno(errno);
        return;
    }
    if (errno == EEXIST)
        throw AppError::fromErrno(errno);
    // Nor a second name (FAT): the name is looked at first, which a program that makes it in
    // between could still lose.
    struct stat info
    {
    };
    if (statusOfName(to, info))
        throw AppError::fromSystem(AppError::FileAlreadyExists, EEXIST);
    if (::rename(source.constData(), target.constData()) != 0)
        throw AppError::fromErrno(errno);
}

std::optional<qint64> nameLimitOf(const QString &path)
{
    errno = 0;
    const long limit = ::pathconf(QFile::encodeName(path).constData(), _PC_NAME_MAX);
    if (limit < 0)
        return std::nullopt;
    return qint64(limit);
}

QByteArray workingFolder()
{
    // Not QDir::currentPath, which reads the name as text: a name that is none comes back
    // with stand-ins for its bytes, and names another folder, or none.
    char *const name = ::getcwd(nullptr, 0);
    const QByteArray folder(name);
    std::free(name);
    return folder;
}

void flushFolder(const QString &path)
{
    const int descriptor
        = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        throw AppError::fromErrno(errno);
    const int result = ::fsync(descriptor);
    const int error = errno;
    ::close(descriptor);
    // Some file systems keep no folder to flush on its own and say so.
    if (result != 0 && error != EINVAL && error != EROFS)
        throw AppError::fromErrno(error);
}

quint32 permissionsAllowed()
{
    // The mask can only be read by setting it; it is set back at once.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0777 & ~quint32(mask);
}

} // namespace FileSystem
