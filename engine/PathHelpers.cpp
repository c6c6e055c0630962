#include "engine/PathHelpers.h"

#include "platform/AppError.h"
#include "platform/FloppyDrive.h"

namespace modMorlend {

QChar separatorOf(const QString &path)
{
    return FloppyDrive::startsWithName(path) ? FloppyDrive::Separator : NativeSeparator;
}

QString GetFolder(const QString &path)
{
    return GetFolder(path, separatorOf(path));
}

QString GetFileName(const QString &path)
{
    return GetFileName(path, separatorOf(path));
}

QString GetExtension(const QString &path)
{
    return GetExtension(path, separatorOf(path));
}

QString GetBaseName(const QString &path)
{
    return GetBaseName(path, separatorOf(path));
}

QString joinPath(const QString &folder, const QString &name)
{
    return joinPath(folder, name, separatorOf(folder));
}

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

QString normalizedFolder(const QString &text, QChar separator)
{
    if (text.isEmpty())
        throw AppError(AppError::InvalidArgument);
    const QString single(separator);
    const QString doubled(2, separator);
    QString folder = text;
    while (folder.contains(doubled))
        folder.replace(doubled, single);
    if (folder.endsWith(separator) && folder != single)
        folder.chop(1);
    return folder;
}

QString joinPath(const QString &folder, const QString &name, QChar separator)
{
    // Only the root ends with a separator, and it takes no second one.
    return folder.endsWith(separator) ? folder + name : folder + separator + name;
}

} // namespace modMorlend
