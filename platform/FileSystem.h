#pragma once

#include <QtGlobal>

class QString;

namespace FileSystem {

// Length in bytes of the file at path; a missing file, a folder or anything else that is not
// a regular file raises the matching AppError.
qint64 FileLength(const QString &path);

} // namespace FileSystem
