#include "SourceCheck.h"

#include "AppError.h"
#include "File.h"
#include "FileSystem.h"

#include <QString>

using namespace Qt::StringLiterals;

QString refusalOfSource(const QString &shown, const QString &path)
{
    if (FileSystem::isFolder(path))
        return shown + u" is a folder, not a file."_s;
    try {
        // Measured first: a pipe or a device is refused before it is opened, which could
        // wait for a writer.
        FileSystem::FileLength(path);
        File::openForReading(path);
    } catch (const AppError &error) {
        return shown + u" cannot be read: "_s + error.description();
    }
    return {};
}
