#include "engine/Engine.h"
#include "engine/EngineView.h"
#include "engine/JoinScript.h"
#include "engine/PathHelpers.h"
#include "engine/StopRun.h"
#include "platform/AppError.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/FloppyDrive.h"
#include "platform/Platform.h"
#include "platform/Prompter.h"
#include "platform/RunAndWait.h"

namespace modMorlend {

namespace {

QByteArray readFile(const QString &path)
{
    File file = File::openForReading(path);
    QByteArray bytes(file.size(), Qt::Uninitialized);
    bytes.truncate(file.read(bytes.data(), bytes.size()));
    return bytes;
}

} // namespace

void Engine::WritePiece(const QString &path, qint64 index)
{
    const bool intoFloppysRoot = FloppyDrive::isName(GetFolder(path));
    const std::optional<NamedFile> piece
        = intoFloppysRoot ? copyPieceOntoADisk(path, index) : copyPiece(path);
    if (!piece) {
        m_state.CancelRun = true;
        return;
    }
    m_run->pieces.push_back(*piece);
    ShowProgress(index);
    // Asked to stop as the piece became whole: the run stops once its lines are in the script,
    // without asking for another disk.
    if (stopAsked())
        return;
    if (!intoFloppysRoot)
        return;
    if (const std::optional<FileStamp> stamp = FileSystem::stampOf(onDisk(path)))
        m_run->piecesOnDisks.append({path, *stamp});
    if (index == m_state.PieceCount)
        return;
    const bool nextDiskIn
        = askForDisk(QStringLiteral("File ") + path + QStringLiteral(" written successfully."),
                     index + 1, Prompter::Icon::Information);
    // A stop asked for while the prompt waited (the window closed, the session ending) keeps
    // this whole piece in the script and ends the run before the next; Cancel leaves the piece
    // out of the script, as it always did.
    if (!nextDiskIn && !stopAsked())
        m_state.CancelRun = true;
}

File Engine::replaceFile(const QString &path)
{
    const QString target = onDisk(path);
    // The run's folder was looked at before it began, with the user asked about every name of
    // the set, and no other run writes there: a file is made where nothing has its name, and
    // a name someone made since stops the run rather than be replaced unasked.
    if (!writesToFloppy() && GetFolder(path) == m_state.OutFolder)
        return File::createNew(target);
    // Removing a link to the source is harmless, but not removing the source's own name when
    // the source was reached through a link. A disk inserted during the run can hold either,
    // so each name is looked at as it is replaced.
    if (FileSystem::identityOf(target) == m_run->sourceIdentity)
        throw StopRun {sourceWouldBeOverwritten(path)};
    if (FileSystem::namesFolder(target))
        throw StopRun {folderInTheWay(path)};
    return File::replace(target);
}

QString Engine::folderInTheWay(const QString &path)
{
    return QStringLiteral("The file ") + path
        + QStringLiteral(" cannot be written: a folder has its name.\r\nRemove or rename the"
                         " folder, or write somewhere else.");
}

std::optional<NamedFile> Engine::makeFile(const QString &path,
                                          const std::function<bool(File &)> &fill)
{
    File file = replaceFile(path);
    const auto removeUnfinished = [&] {
        // Only the file this is: a file closed here already may have lost its name to another.
        // One that cannot be removed (its disk was taken out) is told of.
        m_run->unfinishedFile = path;
        try {
            const FileIdentity identity = file.identity();
            file.close();
            const std::optional<NamedFile> named = FileSystem::namedFile(onDisk(path));
            if (named && named->identity == identity) {
                FileSystem::deleteFile(onDisk(path));
                m_run->unfinishedFile.clear();
            }
        } catch (const AppError &) {
        }
    };
    try {
        if (!fill(file)) {
            removeUnfinished();
            return std::nullopt;
        }
        if (!liesOnFloppy(path)) {
            const NamedFile written = file.asNamedFile();
            file.close();
            return written;
        }
        // The user takes the disk out when told the file is written, so it must be on the disk;
        // and the disk's own file system may settle the file's times only as it is closed.
        m_platform.flushToDisk(file);
        const FileIdentity identity = file.identity();
        file.close();
        return asWritten(path, identity);
    } catch (...) {
        removeUnfinished();
        throw;
    }
}

NamedFile Engine::writeFile(const QString &path, const QByteArray &bytes)
{
    return *makeFile(path, [&bytes](File &file) {
        file.write(bytes.constData(), bytes.size());
        return true;
    });
}

std::optional<NamedFile> Engine::copyPiece(const QString &path)
{
    return makeFile(path, [this](File &piece) {
        // A piece written anew onto another disk starts again where the piece starts.
        m_run->source->seek(m_run->pieceStart);
        const FileCopy::Result copied
            = m_run->copier->copy(*m_run->source, piece, m_run->pieceLength, [this](qint64 copied) {
                  // A piece of minutes fills its part of the progress box as it is copied.
                  m_view.showPieceProgress(m_run->pieceStart / m_state.PieceSize,
                                           double(copied) / double(m_run->pieceLength));
                  return betweenSteps();
              });
        // A source that shrank while it was cut ends early; a short piece must not pass for
        // whole.
        if (!copied.stopped && copied.copied != m_run->pieceLength)
            throw AppError(AppError::InputPastEndOfFile);
        return !copied.stopped;
    });
}

bool Engine::liesOnFloppy(const QString &path) const
{
    // A run's folder holds thousands of pieces, each of which would otherwise pay for a look at
    // the mount table; the folder is looked at once, when the run starts.
    return FloppyDrive::startsWithName(path)
        || (m_run->outFolderOnFloppy && GetFolder(path) == m_state.OutFolder);
}

bool Engine::HandOverScript(const QString &fileName, const QString &temporaryScriptPath)
{
    const QString target = joinPath(FloppyDrive::Name, scriptName(fileName));
    const Prompter::Message oneMoreDisk {QStringLiteral("Please insert one more floppy."),
                                         Prompter::Icon::Information, Prompter::Buttons::OkCancel};
    // No disk is cleared here, not even an extra one: the script is all it receives.
    bool askForDisk = m_state.NeedExtraDisk;
    for (;;) {
        if (askForDisk && ask(oneMoreDisk) == Prompter::Reply::Cancel)
            return true;
        m_run->scriptBesideLastPiece = !askForDisk;
        askForDisk = true;
        try {
            // A disk that holds names of the set is asked about, as the pieces' disks were.
            if (!clearsDisks()) {
                const SetNamesFound found = setNamesIn(FloppyDrive::Name, fileName);
                if (!found.joined.isEmpty()) {
                    ask({joinedNameOnDisk(found.joined), Prompter::Icon::Error});
                    continue;
                }
                if (!found.names.isEmpty()
                    && !replaceSetNames(QStringLiteral("The disk in the drive"), FloppyDrive::Name,
                                        found.names, fileName))
                    return true;
            }
            m_run->scriptOnFloppy = writeFile(target, readFile(onDisk(temporaryScriptPath)));
            FileSystem::deleteFile(onDisk(temporaryScriptPath));
            return false;
        } catch (const AppError &error) {
            ask({errorLines(error) + LineEnd + error.source(), Prompter::Icon::Error});
        } catch (const StopRun &refusal) {
            // This disk cannot take the script (a folder or the source has its name); another
            // one can.
            ask({refusal.message, Prompter::Icon::Error});
        }
    }
}

} // namespace modMorlend
