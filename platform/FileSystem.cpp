#include "FileSystem.h"

#include "AppError.h"

#include <QFile>
#include <QString>

#include <cerrno>
#include <sys/stat.h>

namespace FileSystem {

qint64 FileLength(const QString &path)
{
    struct stat info
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        throw AppError::fromErrno(errno);
    // A folder has a length on Linux, but cutting one would read nothing useful.
    if (!S_ISREG(info.st_mode))
        throw AppError(AppError::PathFileAccessError);
    return info.st_size;
}

} // namespace FileSystem
