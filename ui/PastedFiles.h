#pragma once

#include <QList>
#include <QUrl>

class QMimeData;

// The files that a paste of the clipboard's data offers, as a drop of them would carry them:
// the addresses of files copied in a file manager (a URI list, or GNOME's list of copied
// files), or a text that is the full path of a file, trailing line breaks left out. Nothing
// for anything else.
QList<QUrl> pastedFiles(const QMimeData &data);
