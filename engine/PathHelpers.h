#pragma once

#include "platform/PathSeparator.h"

#include <QString>

// Splitting a path into folder, file name, base name and extension. Without a separator given,
// a path takes its own: the floppy's ("A:\\parts\\clip.avi.1"), else the system's; with one,
// Windows-style paths split the same way on every system.
namespace modMorlend {

// The separator of path: the floppy's for a path on drive A:, else the system's.
QChar separatorOf(const QString &path);

// The text before the last separator; a path without one raises AppError::InvalidArgument.
QString GetFolder(const QString &path, QChar separator);
QString GetFolder(const QString &path);
// The text after the last separator, or the whole path when it has none.
QString GetFileName(const QString &path, QChar separator);
QString GetFileName(const QString &path);
// The text after the last dot of the file name; empty when the name holds no dot.
QString GetExtension(const QString &path, QChar separator);
QString GetExtension(const QString &path);
// The file name without its extension and the dot before it (a trailing dot stays).
QString GetBaseName(const QString &path, QChar separator);
QString GetBaseName(const QString &path);

// A destination folder as typed, tidied: every run of separators becomes one and a separator
// at the end goes, but a lone separator stays the root. An empty text raises
// AppError::InvalidArgument.
QString normalizedFolder(const QString &text, QChar separator = NativeSeparator);
// name inside folder.
QString joinPath(const QString &folder, const QString &name, QChar separator);
QString joinPath(const QString &folder, const QString &name);

} // namespace modMorlend
