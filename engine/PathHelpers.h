#pragma once

#include "platform/PathSeparator.h"

#include <QString>

// Splitting a path into folder, file name, base name and extension. The separator is a
// parameter so that Windows-style paths split the same way on every system.
namespace modMorlend {

// The text before the last separator; a path without one raises AppError::InvalidArgument.
QString GetFolder(const QString &path, QChar separator = NativeSeparator);
// The text after the last separator, or the whole path when it has none.
QString GetFileName(const QString &path, QChar separator = NativeSeparator);
// The text after the last dot of the file name; empty when the name holds no dot.
QString GetExtension(const QString &path, QChar separator = NativeSeparator);
// The file name without its extension and the dot before it (a trailing dot stays).
QString GetBaseName(const QString &path, QChar separator = NativeSeparator);

// A destination folder as typed, tidied: every run of separators becomes one and a separator
// at the end goes, but a lone separator stays the root. An empty text raises
// AppError::InvalidArgument.
QString normalizedFolder(const QString &text, QChar separator = NativeSeparator);
// Whether folder is a drive name alone, one letter and a colon ("D:").
bool isBareDrive(const QString &folder);
// name inside folder.
QString joinPath(const QString &folder, const QString &name, QChar separator = NativeSeparator);

} // namespace modMorlend
