#include "ui/SourceCheck.h"

#include "platform/AppError.h"
#include "platform/File.h"
#include "platform/FileSystem.h"

using namespace Qt::StringLiterals;

SourceCheck checkSource(const QString &shown, const QString &path)
{
    if (FileSystem::isFolder(path))
        return {shown + u" is a folder, not a file."_s};
    try {
        // Measured first: a pipe or a device is refused before it is opened, which could
        // wait for a writer.
        const qint64 length = FileSystem::FileLength(path);
        File::openForReading(path);
        return {QString(), length};
    } catch (const AppError &error) {
        return {shown + u" cannot be read: "_s + error.description()};
    }
}
