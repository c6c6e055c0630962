#pragma once

#include "platform/FileSystem.h"

#include <optional>

class File;
class QByteArray;
class QString;

// A folder held open, whose files are looked up from the folder itself rather than from the
// root: a set of thousands of files is looked at and read without walking the whole path for
// each, and in the folder that was opened, wherever it is moved meanwhile.
class OpenFolder
{
public:
    // Opens the folder at path; raises the matching AppError when it cannot be opened.
    explicit OpenFolder(const QString &path);
    OpenFolder(OpenFolder &&other) noexcept;
    OpenFolder &operator=(OpenFolder &&other) noexcept;
    OpenFolder(const OpenFolder &) = delete;
    OpenFolder &operator=(const OpenFolder &) = delete;
    ~OpenFolder();

    // Names are the file system's bytes (QFile::encodeName), made once for a file looked at
    // and opened.
    // What the name leads to in the folder, links followed; none when it leads nowhere.
    std::optional<NamedFile> fileAt(const QByteArray &name) const;
    // Opens the file of that name in the folder for reading from its start. A pipe put at the
    // name is opened without waiting for a writer, so that reading it ends at once.
    File openForReading(const QByteArray &name) const;

private:
    int m_descriptor = -1;
};
