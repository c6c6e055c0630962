#include "ui/SourceCheck.h"

#include "platform/AppError.h"
#include "platform/File.h"
#include "platform/FileSystem.h"

#include <QFile>
#include <QUrl>

using namespace Qt::StringLiterals;

QUrl addressOfArgument(const QByteArray &argument, const QByteArray &currentFolder)
{
    // A folder that has no name any more holds no file a name could reach.
    if (!argument.startsWith('/') && currentFolder.isEmpty())
        return {};
    const QByteArray path = argument.startsWith('/') ? argument : currentFolder + '/' + argument;
    // Percent-encoded, the bytes reach the address whatever text they are, or are not.
    return QUrl::fromEncoded("file://" + path.toPercentEncoding("/"));
}

QString refusalOfAddress(const QUrl &url)
{
    // The address carries the name's bytes; its text is what they read as, with a stand-in
    // character for each byte that reads as none.
    const QByteArray bytes
        = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    if (QFile::encodeName(url.path(QUrl::FullyDecoded)) == bytes)
        return {};
    return url.toLocalFile()
        + u" cannot be read: its name is not text in this system's encoding (UTF-8), so the file"
          " cannot be opened by it.\r\nRename the file and try again."_s;
}

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
