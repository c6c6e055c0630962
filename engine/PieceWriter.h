#pragma once

#include "engine/StopRun.h"
#include "platform/FileCopy.h"
#include "platform/FileSystem.h"

#include <QString>

#include <optional>
#include <utility>

class File;
class Platform;

namespace modMorlend {

class OutputSet;

// A file read back from its disk differs from what was written, or could not be read back: the
// disk is bad. The message says so for a run into a folder; the floppy's disks word their own.
struct BadCopy : StopRun
{
    QString path;
    // Why the file could not be read back, when it could not.
    QString unreadable;
};

// Writes one file of a run's set, a piece or the join script, wherever it goes: made anew in the
// place of whatever has its name (never the file being cut, never through a folder), filled, on
// its disk and read back from there before it counts as written when it lies on the floppy, and
// removed when it cannot be written whole, as a piece cut short would pass for a whole one.
class PieceWriter
{
public:
    // The bytes of a piece pass through buffer where the system cannot copy file to file.
    PieceWriter(const Platform &platform, const OutputSet &outputs, QByteArray &buffer);

    // The files made from now on are shared no further than the file being cut: a private file
    // must not turn into pieces every user of the machine can read.
    void shareAs(const FileSharing &sharing) { m_sharing = sharing; }
    // A new, empty file in the place of whatever has the name path, which must be neither the
    // file being cut nor a folder.
    File replaceFile(const QString &path);
    // A new file where nothing has the name path.
    File createNewFile(const QString &path);
    // Refuses the run when path is the file being cut or a folder, which replaceFile would meet.
    void checkReplaceable(const QString &path) const;
    // Copies length bytes of source from start on into a new file at path, in steps; after each,
    // betweenSteps gets how far the file is, in bytes of length, and says whether the copy goes
    // on. On the floppy, writing the file onto its disk and reading it back from there take half
    // each; a file read back otherwise than written raises BadCopy. Returns the file as
    // written; none when the run stopped on the way.
    [[nodiscard]] std::optional<NamedFile> copyPiece(const QString &path, File &source,
                                                     qint64 start, qint64 length,
                                                     const FileCopy::AfterStep &betweenSteps);
    // The same into a new file at path, where nothing may have the name: "File already exists"
    // otherwise.
    [[nodiscard]] std::optional<NamedFile> copyToNewFile(const QString &path, File &source,
                                                         qint64 start, qint64 length,
                                                         const FileCopy::AfterStep &betweenSteps);
    // A file left unfinished that could not be removed (its disk was taken out); empty when
    // none. Reading it forgets it.
    QString takeUnfinished() { return std::exchange(m_unfinished, {}); }

private:
    // Fills file, new at path, as copyPiece says.
    std::optional<NamedFile> copyInto(File file, const QString &path, File &source, qint64 start,
                                      qint64 length, const FileCopy::AfterStep &betweenSteps);
    // Reads the file with identity at path back from its disk and compares it with length bytes
    // of source from start; raises BadCopy when they differ.
    [[nodiscard]] bool readBack(const QString &path, const FileIdentity &identity, File &source,
                                qint64 start, qint64 length,
                                const FileCopy::AfterStep &betweenSteps);
    // Removes the file with identity at path, which the run made and which is not whole; one
    // that cannot be removed is noted as unfinished.
    void removeUnfinished(File &file, const QString &path, const FileIdentity &identity);

    const Platform &m_platform;
    const OutputSet &m_outputs;
    FileCopy m_copier;
    FileSharing m_sharing;
    QString m_unfinished;
};

} // namespace modMorlend
