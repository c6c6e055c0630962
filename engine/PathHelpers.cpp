#include "PathHelpers.h"

#include "AppError.h"

namespace modMorlend {

QString GetFolder(const QString &path, QChar separator)
{
    const qsizetype last = path.lastIndexOf(separator);
    if (last < 0)
        throw AppError(AppError::InvalidArgument);
    return path.left(last);
}

QString GetFileName(const QString &path, QChar separator)
{
    return path.mid(path.lastIndexOf(separator) + 1);
}

QString GetExtension(const QString &path, QChar separator)
{
    const QString name = GetFileName(path, separator);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot + 1);
}

QString GetBaseName(const QString &path, QChar separator)
{
    const QString name = GetFileName(path, separator);
    const QString extension = GetExtension(path, separator);
    if (extension.isEmpty())
        return name;
    return name.left(name.size() - extension.size() - 1);
}

} // namespace modMorlend
