#pragma once

#include "platform/FileCopy.h"
#include "platform/FileSystem.h"

#include <QString>

#include <functional>
#include <optional>
#include <utility>

class File;
class Platform;

namespace modMorlend {

class OutputSet;

// Writes one file of a run's set, a piece or the join script, wherever it goes: made anew in the
// place of whatever has its name (never the file being cut, never through a folder), filled, on
// its disk before it counts as written when it lies on the floppy, and removed when it cannot be
// written whole, as a piece cut short would pass for a whole one.
class PieceWriter
{
public:
    // The bytes of a piece pass through buffer where the system cannot copy file to file.
    PieceWriter(const Platform &platform, const OutputSet &outputs, QByteArray &buffer);

    // A new, empty file in the place of whatever has the name path, which must be neither the
    // file being cut nor a folder.
    File replaceFile(const QString &path);
    // Copies length bytes of source from start on into a new file at path, in steps; after each,
    // betweenSteps says whether the copy goes on. Returns the file as written; none when the run
    // stopped on the way.
    [[nodiscard]] std::optional<NamedFile> copyPiece(const QString &path, File &source,
                                                     qint64 start, qint64 length,
                                                     const FileCopy::AfterStep &betweenSteps);
    // Creates or replaces the file at path with bytes; returns the new file as written.
    NamedFile writeFile(const QString &path, const QByteArray &bytes);
    // A file left unfinished that could not be removed (its disk was taken out); empty when
    // none. Reading it forgets it.
    QString takeUnfinished() { return std::exchange(m_unfinished, {}); }

private:
    // Makes the file at path anew and has fill write it; a file left unfinished (fill fails, or
    // returns false for a run that stops) is removed. Returns the file as written; none when the
    // run stopped.
    std::optional<NamedFile> makeFile(const QString &path, const std::function<bool(File &)> &fill);

    const Platform &m_platform;
    const OutputSet &m_outputs;
    FileCopy m_copier;
    QString m_unfinished;
};

} // namespace modMorlend
