#pragma once

#include "platform/File.h"
#include "platform/OemCodePage.h"

#include <QByteArray>

class Platform;
class QString;

namespace modMorlend {

// The join script while a run writes it: text in the OEM code page, gathered in memory and
// handed to the file in large writes rather than line by line.
class ScriptFile
{
public:
    ScriptFile(File file, const OemCodePage &codePage);
    // Writes out what is still gathered: a run that stops early leaves its script as far as
    // it got. A failure here goes unreported, as the run is already ending with one.
    ~ScriptFile();

    void write(const QString &text);
    // Everything written so far reaches the file, and its length is measured there.
    qint64 length();
    // Everything written so far reaches the disk.
    void flushToDisk(const Platform &platform);
    void close();

private:
    void writeOut();

    File m_file;
    OemCodePage m_codePage;
    QByteArray m_pending;
    bool m_open = true;
};

} // namespace modMorlend
