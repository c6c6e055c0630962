#include "engine/PieceWriter.h"

#include "engine/OutputSet.h"
#include "platform/AppError.h"
#include "platform/File.h"
#include "platform/Platform.h"

using namespace Qt::StringLiterals;

namespace modMorlend {

namespace {

// What becomes of a file on the floppy, each half of its progress: written onto its disk, and
// read back from there.
constexpr qint64 FloppyStages = 2;

} // namespace

PieceWriter::PieceWriter(const Platform &platform, const OutputSet &outputs, QByteArray &buffer)
    : m_platform(platform)
    , m_outputs(outputs)
    , m_copier(buffer)
{
}

void PieceWriter::checkReplaceable(const QString &path) const
{
    // Removing a link to the source is harmless, but not removing the source's own name when
    // the source was reached through a link. A disk inserted during the run can hold either,
    // so each name is looked at as it is replaced.
    m_outputs.refuseIfSource(path);
    if (FileSystem::namesFolder(m_platform.resolve(path)))
        throw StopRun {OutputSet::folderInTheWay(path)};
}

File PieceWriter::replaceFile(const QString &path)
{
    const QString target = m_platform.resolve(path);
    // The run's folder was looked at before it began, with the user asked about every name of
    // the set, and no other run writes there: a file is made where nothing has its name, and
    // a name someone made since stops the run rather than be replaced unasked.
    if (m_outputs.isInRunFolder(path))
        return File::createNew(target, m_sharing);
    checkReplaceable(path);
    return File::replace(target, m_sharing);
}

File PieceWriter::createNewFile(const QString &path)
{
    return File::createNew(m_platform.resolve(path), m_sharing);
}

void PieceWriter::removeUnfinished(File &file, const QString &path, const FileIdentity &identity)
{
    // Only the file this is: a file closed here already may have lost its name to another.
    // One that cannot be removed (its disk was taken out) is told of.
    m_unfinished = path;
    try {
        file.close();
    } catch (const AppError &) {
        // The file goes anyway.
    }
    try {
        const QString target = m_platform.resolve(path);
        const std::optional<NamedFile> named = FileSystem::namedFile(target);
        if (named && named->identity == identity) {
            FileSystem::deleteFile(target);
            m_unfinished.clear();
        }
    } catch (const AppError &) {
    }
}

std::optional<NamedFile> PieceWriter::copyInto(File file, const QString &path, File &source,
                                               qint64 start, qint64 length,
                                               const FileCopy::AfterStep &betweenSteps)
{
    const bool onFloppy = m_outputs.liesOnFloppy(path);
    const qint64 stages = onFloppy ? FloppyStages : 1;
    const auto stage = [&](qint64 number) -> FileCopy::AfterStep {
        return [&, number](qint64 done) {
            return betweenSteps((number * length + done) / stages);
        };
    };
    const FileIdentity identity = file.identity();
    try {
        // A piece written anew onto another disk starts again where the piece starts.
        source.seek(start);
        // The user takes the disk out when told the file is written, so it must be on the disk,
        // which a slow disk is given step by step.
        const FileCopy::Result copied = onFloppy
            ? m_copier.copyOntoDisk(source, file, length, stage(0))
            : m_copier.copy(source, file, length, stage(0));
        // A source that shrank while it was cut ends early; a short piece must not pass for
        // whole.
        if (!copied.stopped && copied.copied != length)
            throw AppError(AppError::InputPastEndOfFile);
        if (copied.stopped) {
            removeUnfinished(file, path, identity);
            return std::nullopt;
        }
        if (!onFloppy) {
            const NamedFile written = file.asNamedFile();
            file.close();
            return written;
        }
        // The disk's own file system may settle the file's times only as it is closed.
        m_platform.flushToDisk(file);
        file.close();
        const NamedFile written = m_outputs.asWritten(path, identity);
        if (!readBack(path, identity, source, start, length, stage(1))) {
            removeUnfinished(file, path, identity);
            return std::nullopt;
        }
        return written;
    } catch (const BadCopy &) {
        throw;
    } catch (...) {
        removeUnfinished(file, path, identity);
        throw;
    }
}

bool PieceWriter::readBack(const QString &path, const FileIdentity &identity, File &source,
                           qint64 start, qint64 length, const FileCopy::AfterStep &betweenSteps)
{
    File written = File::openForReading(m_platform.resolve(path));
    // Another file at the name since it was written: the set changed, which asWritten says.
    if (written.identity() != identity)
        (void)m_outputs.asWritten(path, identity);
    source.seek(start);
    const FileCopy::Comparison comparison = m_copier.compare(source, written, length, betweenSteps);
    if (comparison.stopped)
        return false;
    if (comparison.same)
        return true;
    // The file being cut may have changed since it was copied: the run stops for that, rather
    // than blame the disk.
    (void)betweenSteps(length);
    removeUnfinished(written, path, identity);
    const QString why = comparison.unreadable.isEmpty()
        ? u"%1, read back from its disk, differs from what was written."_s.arg(path)
        : u"%1 could not be read back from its disk: %2."_s.arg(path, comparison.unreadable);
    throw BadCopy {{why + u" The disk may be damaged: write onto another disk."_s},
                   path,
                   comparison.unreadable};
}

std::optional<NamedFile> PieceWriter::copyPiece(const QString &path, File &source, qint64 start,
                                                qint64 length,
                                                const FileCopy::AfterStep &betweenSteps)
{
    return copyInto(replaceFile(path), path, source, start, length, betweenSteps);
}

std::optional<NamedFile> PieceWriter::copyToNewFile(const QString &path, File &source, qint64 start,
                                                    qint64 length,
                                                    const FileCopy::AfterStep &betweenSteps)
{
    return copyInto(createNewFile(path), path, source, start, length, betweenSteps);
}

} // namespace modMorlend
