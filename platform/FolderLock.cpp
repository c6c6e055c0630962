#include "platform/FolderLock.h"

#include "platform/AppError.h"

#include <QFile>
#include <QString>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

FolderLock::FolderLock(const QString &path)
{
    // Children started meanwhile (the disk clearing) must not hold the lock on after the run.
    m_descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_descriptor < 0)
        // A file has the folder's name.
        throw errno == ENOTDIR ? AppError::fromSystem(AppError::FileAlreadyExists, errno)
                               : AppError::fromErrno(errno);
    struct stat info
    {
    };
    if (::fstat(m_descriptor, &info) == 0)
        m_identity = {quint64(info.st_dev), quint64(info.st_ino)};
    int result;
    do {
        result = ::flock(m_descriptor, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    // Only another holder keeps the run out; a file system without locks cannot tell.
    m_taken = result == 0 || errno != EWOULDBLOCK;
}

FolderLock::FolderLock(FolderLock &&other) noexcept
    : m_descriptor(std::exchange(other.m_descriptor, -1))
    , m_taken(other.m_taken)
    , m_identity(other.m_identity)
{
}

FolderLock &FolderLock::operator=(FolderLock &&other) noexcept
{
    std::swap(m_descriptor, other.m_descriptor);
    std::swap(m_taken, other.m_taken);
    std::swap(m_identity, other.m_identity);
    return *this;
}

FolderLock::~FolderLock()
{
    // Closing the last descriptor of the open folder releases its lock.
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}
