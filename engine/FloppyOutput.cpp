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
    if (clearsDisks()) {
        if (!awaitDiskWithoutPiece(index)) {
            m_state.CancelRun = true;
            return;
        }
        clearFloppy();
    }
    writeFile(path, m_state.PieceBuffer);
    ShowProgress(index);
    if (m_run->stopRequested) {
        // The window is being closed: the run ends with this piece whole, as after a cancel.
        m_run->stoppedAfter = index;
        m_state.CancelRun = true;
        return;
    }
    if (!FloppyDrive::isName(GetFolder(path)))
        return;
    if (const std::optional<FileStamp> stamp = FileSystem::stampOf(onDisk(path)))
        m_run->piecesOnDisks.append({path, *stamp});
    if (index == m_state.PieceCount)
        return;
    const Prompter::Message nextDisk {
        QStringLiteral("File ") + path + QStringLiteral(" written successfully.") + LineEnd
            + QStringLiteral("Please insert floppy number %1.").arg(index + 1),
        Prompter::Icon::Information, Prompter::Buttons::OkCancel};
    if (ask(nextDisk) == Prompter::Reply::Cancel)
        m_state.CancelRun = true;
}

bool Engine::clearsDisks() const
{
    // Clearing a disk that a folder of the run lies on would take the run's own pieces with it.
    return m_view.clearBoxIsOn() && writesToFloppy();
}

bool Engine::awaitDiskWithoutPiece(qint64 index)
{
    // A user who answers the prompt without changing the disk would have the last piece
    // cleared away, and the set could never be joined.
    for (QString piece = pieceInDrive(); !piece.isEmpty(); piece = pieceInDrive()) {
        const Prompter::Message sameDisk {
            QStringLiteral("The disk in the drive is still the one with ") + piece
                + QStringLiteral(".") + LineEnd
                + QStringLiteral("Please insert floppy number %1.").arg(index),
            Prompter::Icon::Information, Prompter::Buttons::OkCancel};
        if (ask(sameDisk) == Prompter::Reply::Cancel)
            return false;
    }
    return true;
}

QString Engine::pieceInDrive() const
{
    // Name, length and time of modification together tell one of this run's pieces from a
    // piece of the same name that an earlier run left on another disk.
    for (const PieceOnDisk &piece : m_run->piecesOnDisks) {
        const std::optional<FileStamp> now = FileSystem::stampOf(onDisk(piece.path));
        if (now && now->length == piece.stamp.length && now->modified == piece.stamp.modified)
            return piece.path;
    }
    return {};
}

void Engine::clearFloppy()
{
    // Whether the clearing worked is not looked at, but a piece is never written beside a
    // clearing that may still be deleting.
    const ChildRun run = RunAndWait(
        m_platform.clearCommand(m_state.InterpreterPath, m_platform.floppyMountPoint()),
        GetFolder(m_state.InterpreterPath), m_platform.clearTimeLimit());
    if (run == ChildRun::Stopped) {
        throw StopRun {QStringLiteral("Clearing the floppy did not end in time and was stopped."
                                      " Nothing was written on this disk; check it and cut"
                                      " again.")};
    }
}

File Engine::replaceFile(const QString &path)
{
    const QString target = onDisk(path);
    // Removing a link to the source is harmless, but not removing the source's own name when
    // the source was reached through a link. A disk inserted during the run can hold either,
    // so each name is looked at as it is replaced.
    if (FileSystem::identityOf(target) == m_run->sourceIdentity)
        throw StopRun {sourceWouldBeOverwritten(path)};
    if (FileSystem::namesFolder(target)) {
        throw StopRun {QStringLiteral("The file ") + path
                       + QStringLiteral(" cannot be written: a folder has its name.\r\nRemove"
                                        " or rename the folder, or write somewhere else.")};
    }
    return File::replace(target);
}

void Engine::writeFile(const QString &path, const QByteArray &bytes)
{
    File file = replaceFile(path);
    try {
        file.write(bytes.constData(), bytes.size());
        // The user takes the disk out when told the file is written, so it must be on the disk.
        if (liesOnFloppy(path))
            m_platform.flushToDisk(file);
        file.close();
    } catch (const AppError &) {
        // A piece cut short would pass for a whole one beside the others.
        try {
            FileSystem::deleteFile(onDisk(path));
        } catch (const AppError &) {
        }
        throw;
    }
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
        try {
            writeFile(target, readFile(onDisk(temporaryScriptPath)));
            FileSystem::deleteFile(onDisk(temporaryScriptPath));
            return false;
        } catch (const AppError &error) {
            ask({errorLines(error) + LineEnd + error.source(), Prompter::Icon::Error});
        } catch (const StopRun &refusal) {
            // This disk cannot take the script (a folder or the source has its name); another
            // one can.
            ask({refusal.message, Prompter::Icon::Error});
        }
        askForDisk = true;
    }
}

} // namespace modMorlend
