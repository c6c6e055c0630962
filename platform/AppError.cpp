#include "platform/AppError.h"

#include <cerrno>

AppError::AppError(Number number, QString source)
    : AppError(number, describe(number), std::move(source))
{
}

AppError::AppError(int number, QString description, QString source)
    : m_number(number)
    , m_description(std::move(description))
    , m_source(std::move(source))
    , m_what(QStringLiteral("#%1 %2").arg(number).arg(m_description).toUtf8())
{
}

QString AppError::describe(int number)
{
    switch (number) {
    case InvalidArgument:
        return QStringLiteral("Invalid procedure call or argument");
    case Overflow:
        return QStringLiteral("Overflow");
    case OutOfMemory:
        return QStringLiteral("Out of memory");
    case DivisionByZero:
        return QStringLiteral("Division by zero");
    case TypeMismatch:
        return QStringLiteral("Type mismatch");
    case BadFileName:
        return QStringLiteral("Bad file name or number");
    case FileNotFound:
        return QStringLiteral("File not found");
    case DeviceIOError:
        return QStringLiteral("Device I/O error");
    case FileAlreadyExists:
        return QStringLiteral("File already exists");
    case DiskFull:
        return QStringLiteral("Disk full");
    case InputPastEndOfFile:
        return QStringLiteral("Input past end of file");
    case TooManyFiles:
        return QStringLiteral("Too many files");
    case PermissionDenied:
        return QStringLiteral("Permission denied");
    case DiskNotReady:
        return QStringLiteral("Disk not ready");
    case PathFileAccessError:
        return QStringLiteral("Path/File access error");
    case PathNotFound:
        return QStringLiteral("Path not found");
    case InvalidPropertyValue:
        return QStringLiteral("Invalid property value");
    case InvalidPicture:
        return QStringLiteral("Invalid picture");
    }
    return {};
}

AppError AppError::fromErrno(int errorCode, QString source)
{
    const Number number = [errorCode] {
        switch (errorCode) {
        case ENOENT:
            return FileNotFound;
        case ENOTDIR:
            return PathNotFound;
        case EACCES:
        case EPERM:
        case EROFS:
        case ETXTBSY:
            return PermissionDenied;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return DiskFull;
        case EIO:
            return DeviceIOError;
        case ENOMEM:
            return OutOfMemory;
        case EEXIST:
        case ENOTEMPTY:
            return FileAlreadyExists;
        case ENXIO:
        case ENODEV:
        case ENOMEDIUM:
            return DiskNotReady;
        case ENAMETOOLONG:
        case EILSEQ:
            return BadFileName;
        case EMFILE:
        case ENFILE:
            return TooManyFiles;
        default:
            return PathFileAccessError;
        }
    }();
    AppError error(number, std::move(source));
    error.m_systemError = errorCode;
    return error;
}

AppError AppError::fromSystem(Number number, int errorCode)
{
    AppError error(number);
    error.m_systemError = errorCode;
    return error;
}
