#include "engine/PathHelpers.h"

#include "platform/AppError.h"

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

bool isBareDrive(const QString &folder)
{
    return folder.size() == 2 && folder.at(0).unicode() < 0x80 && folder.at(0).isLetter()
        && folder.at(1) == u':';
}

QString joinPath(const QString &folder, const QString &name, QChar separator)
{
    // Only the root ends with a separator, and it takes no second one.
    return folder.endsWith(separator) ? folder + name : folder + separator + name;
}

} // namespace modMorlend
