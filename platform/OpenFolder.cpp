#include "platform/OpenFolder.h"

#include "platform/AppError.h"
#include "platform/File.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

OpenFolder::OpenFolder(const QString &path)
    : m_descriptor(::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    if (m_descriptor < 0)
        throw AppError::fromErrno(errno);
}

OpenFolder::OpenFolder(OpenFolder &&other) noexcept
    : m_descriptor(std::exchange(other.m_descriptor, -1))
{
}

OpenFolder &OpenFolder::operator=(OpenFolder &&other) noexcept
{
    std::swap(m_descriptor, other.m_descriptor);
    return *this;
}

OpenFolder::~OpenFolder()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

std::optional<NamedFile> OpenFolder::fileAt(const QByteArray &name) const
{
    struct stat info
    {
    };
    if (::fstatat(m_descriptor, name.constData(), &info, 0) != 0)
        return std::nullopt;
    return NamedFile::of(info);
}

File OpenFolder::openForReading(const QByteArray &name) const
{
    // Reads of a regular file do not heed O_NONBLOCK.
    const int descriptor
        = ::openat(m_descriptor, name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        throw AppError::fromErrno(errno);
    return File(descriptor);
}
