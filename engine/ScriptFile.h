#pragma once

#include "platform/File.h"
#include "platform/OemCodePage.h"

#include <QByteArray>
#include <QString>

class Platform;

namespace modMorlend {

// The join script while a run writes it: text in the OEM code page, gathered in memory and
// handed to the file in large writes rather than line by line. The file only ever keeps whole
// lines: a write that fails (a full disk, say) cuts it back to its last line end, and a script
// left without a single whole line is removed. A line cut short could be a command that does
// something else ("del "clip.avi" of "del "clip.avi.7""). Some file systems take every write
// and tell only as the file is closed that they could not keep it (a quota, NFS, a FUSE file
// system), so after each large write the file system is asked as closing asks it (File::flush):
// when it refuses, the script goes back to the whole lines it had taken before.
class ScriptFile
{
public:
    // The script in file, which has the name path on disk.
    ScriptFile(File file, const QString &path, const OemCodePage &codePage);
    // Writes out what is still gathered: a run that stops early leaves its script as far as
    // it got. A failure here goes unreported, as the run is already ending with one.
    ~ScriptFile();

    void write(const QString &text);
    // Everything written so far reaches the file, and its length is measured there.
    qint64 length();
    // Everything written so far reaches the disk; a disk that fails to keep it may hold any
    // part of the script, which is then removed.
    void flushToDisk(const Platform &platform);
    void close();
    FileIdentity identity() const { return m_identity; }

private:
    void writeOut();
    // After a write of pending failed part way: the whole lines that reached the file.
    qint64 wholeLinesReached(const QByteArray &pending) const noexcept;
    // After a failure: cuts the file back to its first length bytes, whole lines, and closes
    // it once the file system keeps them; failing that, to the lines it kept before, and
    // failing that, or with no whole line to keep, removes it. Nothing more is written.
    void keepWholeLines(qint64 length) noexcept;

    File m_file;
    QString m_path;
    FileIdentity m_identity;
    OemCodePage m_codePage;
    QByteArray m_pending;
    // Bytes in the file, and of them those up to and with the last line end; and that end as
    // it was when the file system last said it keeps what it took.
    qint64 m_written = 0;
    qint64 m_wholeLines = 0;
    qint64 m_keptLines = 0;
    bool m_open = true;
};

} // namespace modMorlend
