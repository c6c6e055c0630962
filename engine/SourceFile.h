#pragma once

#include "platform/File.h"
#include "platform/FileSystem.h"

class QString;

namespace modMorlend {

// The file a run cuts, open from the run's start to its end: what it is, so that no output of the
// run is ever that file, and how it stood when opened, so that a change to it stops the run.
class SourceFile
{
public:
    // Opens the file at path, as the file system names it, for reading from its start.
    explicit SourceFile(const QString &path);

    File &file() { return m_file; }
    const FileIdentity &identity() const { return m_identity; }
    // The file as it stood when opened.
    const FileStamp &stamp() const { return m_stamp; }
    // Who may read the file, whom what is made of it is shared with at most.
    const FileSharing &sharing() const { return m_sharing; }
    // Bytes appended or changed in place since the file was opened.
    [[nodiscard]] bool hasChanged() const { return m_file.stamp() != m_stamp; }
    // Whether the name path, links followed, leads to this file.
    [[nodiscard]] bool isAt(const QString &path) const;
    void close() { m_file.close(); }

private:
    File m_file;
    FileIdentity m_identity;
    FileStamp m_stamp;
    FileSharing m_sharing;
};

} // namespace modMorlend
