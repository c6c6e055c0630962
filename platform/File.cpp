#include "platform/File.h"

#include "platform/AppError.h"
#include "platform/WriteSlice.h"

#include <QFile>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// The most one read moves on Linux; larger buffers take more than one call.
constexpr qint64 MaxTransfer = 0x7ffff000;

struct stat statusOf(int descriptor)
{
    struct stat info
    {
    };
    if (::fstat(descriptor, &info) != 0)
        throw AppError::fromErrno(errno);
    return info;
}

} // namespace

File::File(int descriptor)
    : m_descriptor(descriptor)
{
}

File File::open(const QString &path, int flags, mode_t mode)
{
    // Children started while a file is open (the disk clearing) must not inherit it.
    const int descriptor = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC, mode);
    if (descriptor < 0)
        throw AppError::fromErrno(errno);
    return File(descriptor);
}

File File::openForReading(const QString &path)
{
    return open(path, O_RDONLY);
}

File File::createNew(const QString &path, const FileSharing &sharing)
{
    File file = open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW,
                     S_IRUSR | S_IWUSR | sharing.groupBits | sharing.otherBits);
    // A folder may give its files its own group, whose members are not the source's. A file
    // system that keeps no modes of its own (FAT) refuses the change, and has the mount's.
    if (sharing.groupBits != 0) {
        const struct stat info = statusOf(file.m_descriptor);
        if (quint64(info.st_gid) != sharing.group)
            ::fchmod(file.m_descriptor, info.st_mode & (S_IRWXU | S_IRWXO));
    }
    return file;
}

File File::createPrivate(const QString &path)
{
    return open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0600);
}

File File::replace(const QString &path, const FileSharing &sharing)
{
    // Removing the name rather than opening what has it: a write would go through a link into
    // someone's file, and a pipe would hold the run up for good. ext4 also takes a new file
    // as it is, where a truncated one would be written out when it is closed.
    if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT)
        throw AppError::fromErrno(errno);
    return createNew(path, sharing);
}

File::File(File &&other) noexcept
    : m_descriptor(std::exchange(other.m_descriptor, -1))
{
}

File &File::operator=(File &&other) noexcept
{
    std::swap(m_descriptor, other.m_descriptor);
    return *this;
}

File::~File()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

qint64 File::read(char *data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t count = ::read(m_descriptor, data + done, std::min(size - done, MaxTransfer));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            throw AppError::fromErrno(errno);
        if (count == 0)
            break;
        done += count;
    }
    return done;
}

void File::write(const char *data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t count
            = ::write(m_descriptor, data + done, std::min<qint64>(size - done, WriteSlice));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            throw AppError::fromErrno(errno);
        if (count == 0)
            throw AppError(AppError::DiskFull);
        done += count;
    }
}

qint64 File::size() const
{
    return statusOf(m_descriptor).st_size;
}

FileIdentity File::identity() const
{
    const struct stat info = statusOf(m_descriptor);
    return {quint64(info.st_dev), quint64(info.st_ino)};
}

FileStamp File::stamp() const
{
    return FileStamp::of(statusOf(m_descriptor));
}

NamedFile File::asNamedFile() const
{
    return NamedFile::of(statusOf(m_descriptor));
}

FileSharing File::sharing() const
{
    return FileSharing::of(statusOf(m_descriptor));
}

void File::seek(qint64 offset)
{
    if (::lseek(m_descriptor, offset, SEEK_SET) < 0)
        throw AppError::fromErrno(errno);
}

void File::setPermissions(quint32 permissions)
{
    if (::fchmod(m_descriptor, mode_t(permissions)) != 0)
        throw AppError::fromErrno(errno);
}

void File::truncate(qint64 length)
{
    if (::ftruncate(m_descriptor, length) != 0)
        throw AppError::fromErrno(errno);
}

void File::flushToDisk()
{
    if (::fsync(m_descriptor) != 0)
        throw AppError::fromErrno(errno);
}

void File::flush()
{
    // The file system hears of every close of a descriptor, not only of the last one.
    const int duplicate = ::fcntl(m_descriptor, F_DUPFD_CLOEXEC, 0);
    if (duplicate < 0)
        throw AppError::fromErrno(errno);
    if (::close(duplicate) != 0 && errno != EINTR)
        throw AppError::fromErrno(errno);
}

void File::close()
{
    if (m_descriptor < 0)
        return;
    // Linux releases the descriptor even when close reports a failure, so it is never retried.
    const int result = ::close(std::exchange(m_descriptor, -1));
    if (result != 0 && errno != EINTR)
        throw AppError::fromErrno(errno);
}
