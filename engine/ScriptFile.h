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
// something else ("del "clip.avi" of "del "clip.avi.7"").
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
    // Everything written so far reaches the disk.
    void flushToDisk(const Platform &platform);
    void close();
    FileIdentity identity() const { return m_identity; }

private:
    void writeOut();
    // After a write of pending failed part way: keeps the whole lines that reached the file.
    void cutBackToWholeLines(const QByteArray &pending) noexcept;

    File m_file;
    QString m_path;
    FileIdentity m_identity;
    OemCodePage m_codePage;
    QByteArray m_pending;
    // Bytes in the file, and of them those up to and with the last line end.
    qint64 m_written = 0;
    qint64 m_wholeLines = 0;
    bool m_open = true;
};

} // namespace modMorlend
