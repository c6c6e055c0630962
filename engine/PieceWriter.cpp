#include "engine/PieceWriter.h"

#include "engine/OutputSet.h"
#include "engine/StopRun.h"
#include "platform/AppError.h"
#include "platform/File.h"
#include "platform/Platform.h"

namespace modMorlend {

PieceWriter::PieceWriter(const Platform &platform, const OutputSet &outputs, QByteArray &buffer)
    : m_platform(platform)
    , m_outputs(outputs)
    , m_copier(buffer)
{
}

File PieceWriter::replaceFile(const QString &path)
{
    const QString target = m_platform.resolve(path);
    // The run's folder was looked at before it began, with the user asked about every name of
    // the set, and no other run writes there: a file is made where nothing has its name, and
    // a name someone made since stops the run rather than be replaced unasked.
    if (m_outputs.isInRunFolder(path))
        return File::createNew(target);
    // Removing a link to the source is harmless, but not removing the source's own name when
    // the source was reached through a link. A disk inserted during the run can hold either,
    // so each name is looked at as it is replaced.
    m_outputs.refuseIfSource(path);
    if (FileSystem::namesFolder(target))
        throw StopRun {OutputSet::folderInTheWay(path)};
    return File::replace(target);
}

std::optional<NamedFile> PieceWriter::makeFile(const QString &path,
                                               const std::function<bool(File &)> &fill)
{
    File file = replaceFile(path);
    const auto removeUnfinished = [&] {
        // Only the file this is: a file closed here already may have lost its name to another.
        // One that cannot be removed (its disk was taken out) is told of.
        m_unfinished = path;
        try {
            const FileIdentity identity = file.identity();
            file.close();
            const QString target = m_platform.resolve(path);
            const std::optional<NamedFile> named = FileSystem::namedFile(target);
            if (named && named->identity == identity) {
                FileSystem::deleteFile(target);
                m_unfinished.clear();
            }
        } catch (const AppError &) {
        }
    };
    try {
        if (!fill(file)) {
            removeUnfinished();
            return std::nullopt;
        }
        if (!m_outputs.liesOnFloppy(path)) {
            const NamedFile written = file.asNamedFile();
            file.close();
            return written;
        }
        // The user takes the disk out when told the file is written, so it must be on the disk;
        // and the disk's own file system may settle the file's times only as it is closed.
        m_platform.flushToDisk(file);
        const FileIdentity identity = file.identity();
        file.close();
        return m_outputs.asWritten(path, identity);
    } catch (...) {
        removeUnfinished();
        throw;
    }
}

NamedFile PieceWriter::writeFile(const QString &path, const QByteArray &bytes)
{
    return *makeFile(path, [&bytes](File &file) {
        file.write(bytes.constData(), bytes.size());
        return true;
    });
}

std::optional<NamedFile> PieceWriter::copyPiece(const QString &path, File &source, qint64 start,
                                                qint64 length,
                                                const FileCopy::AfterStep &betweenSteps)
{
    return makeFile(path, [&](File &piece) {
        // A piece written anew onto another disk starts again where the piece starts.
        source.seek(start);
        const FileCopy::Result copied = m_copier.copy(source, piece, length, betweenSteps);
        // A source that shrank while it was cut ends early; a short piece must not pass for
        // whole.
        if (!copied.stopped && copied.copied != length)
            throw AppError(AppError::InputPastEndOfFile);
        return !copied.stopped;
    });
}

} // namespace modMorlend
