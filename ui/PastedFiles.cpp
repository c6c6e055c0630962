#include "ui/PastedFiles.h"

#include <QDir>
#include <QMimeData>

using namespace Qt::StringLiterals;

namespace {

// GTK's file managers put copied files on the clipboard as "copy" or "cut" on the first line,
// then one address a line, and some of them offer no URI list beside it.
const QString GnomeCopiedFiles = u"x-special/gnome-copied-files"_s;

QList<QUrl> gnomeCopiedFiles(const QByteArray &list)
{
    QList<QUrl> files;
    const QList<QByteArray> lines = list.split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (const QByteArray address = lines.at(i).trimmed(); !address.isEmpty())
            files << QUrl::fromEncoded(address);
    }
    return files;
}

} // namespace

QList<QUrl> pastedFiles(const QMimeData &data)
{
    if (data.hasUrls())
        return data.urls();
    if (data.hasFormat(GnomeCopiedFiles))
        return gnomeCopiedFiles(data.data(GnomeCopiedFiles));
    // A path copied from a terminal or an editor often ends in a line break.
    QString path = data.text();
    while (path.endsWith(u'\n') || path.endsWith(u'\r'))
        path.chop(1);
    if (!QDir::isAbsolutePath(path) || path.contains(u'\n') || path.contains(u'\r'))
        return {};
    return {QUrl::fromLocalFile(path)};
}
