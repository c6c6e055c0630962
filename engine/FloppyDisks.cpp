#include "engine/Engine.h"
#include "engine/EngineView.h"
#include "engine/JoinScript.h"
#include "engine/PathHelpers.h"
#include "engine/PiecePlan.h"
#include "engine/SizeText.h"
#include "engine/StopRun.h"
#include "platform/AppError.h"
#include "platform/FileSystem.h"
#include "platform/FloppyDrive.h"
#include "platform/Platform.h"
#include "platform/Prompter.h"
#include "platform/RunAndWait.h"

#include <utility>

// The disks of a floppy run: which disk is in the drive, whether it can take the piece, and
// what the run asks for when it cannot.
namespace modMorlend {

namespace {

const QString WriteProtected = QStringLiteral("The disk in the drive is write-protected.");

} // namespace

std::optional<NamedFile> Engine::copyPieceOntoADisk(const QString &path, qint64 index)
{
    // A disk that cannot take the piece costs the user that disk, not the disks before it.
    const QString fileName = GetFileName(m_state.SourcePath);
    for (;;) {
        QString problem;
        try {
            if (clearsDisks()) {
                if (!awaitDiskWithoutPiece(index))
                    return std::nullopt;
                // Nothing on a disk that could never hold the piece is cleared.
                problem = whyTheDiskCannotHold(m_run->pieceLength, index, true);
                if (problem.isEmpty())
                    clearFloppy();
            } else {
                if (!awaitDiskWithoutSetNames(index, fileName))
                    return std::nullopt;
                problem = whyTheDiskCannotHold(m_run->pieceLength, index, false);
            }
            if (problem.isEmpty())
                return copyPiece(path);
        } catch (const AppError &error) {
            problem = whatWentWrongOnTheDisk(error, index);
        }
        if (!askForDisk(problem, index, Prompter::Icon::Warning))
            return std::nullopt;
    }
}

QString Engine::whyTheDiskCannotHold(qint64 length, qint64 index, bool cleared) const
{
    const DiskSpace space = FileSystem::spaceOf(m_platform.floppyMountPoint());
    if (space.readOnly)
        return WriteProtected;
    if (!space.knowsSize)
        return {};
    const qint64 room = space.roomFor(length);
    if (space.capacity < room) {
        return QStringLiteral("The disk in the drive is too small for a piece of ")
            + formatBytes(length) + QStringLiteral(": it holds ") + formatBytes(space.capacity)
            + QStringLiteral(" at most.");
    }
    if (!cleared && space.free < room) {
        return QStringLiteral("The disk in the drive is full: it has ") + formatBytes(space.free)
            + QStringLiteral(" free, and piece %1 needs ").arg(index) + formatBytes(room) + u'.';
    }
    return {};
}

QString Engine::whatWentWrongOnTheDisk(const AppError &error, qint64 index)
{
    if (!m_run->unfinishedFile.isEmpty()) {
        const QString left = std::exchange(m_run->unfinishedFile, {});
        return QStringLiteral("The disk was taken out while ") + left
            + QStringLiteral(" was written, so that file on it is incomplete: do not use it. The"
                             " cut writes piece %1 anew onto the next disk.")
                  .arg(index);
    }
    switch (error.number()) {
    case AppError::DiskNotReady:
        return QStringLiteral("There is no disk in the drive.");
    case AppError::PermissionDenied:
        return WriteProtected;
    case AppError::DiskFull:
        return QStringLiteral("The disk in the drive is full.");
    case AppError::DeviceIOError:
    case AppError::PathFileAccessError:
    case AppError::FileNotFound:
    case AppError::PathNotFound:
        return QStringLiteral("The disk in the drive cannot be written: ") + error.description()
            + u'.';
    }
    // Not the disk's doing (the file being cut, say): the run ends with the general error.
    throw error;
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
        const QString sameDisk
            = QStringLiteral("The disk in the drive is still the one with ") + piece + u'.';
        if (!askForDisk(sameDisk, index, Prompter::Icon::Information))
            return false;
    }
    return true;
}

bool Engine::askForDisk(const QString &why, qint64 index, Prompter::Icon icon)
{
    const Prompter::Message message {
        why + LineEnd + QStringLiteral("Please insert floppy number %1.").arg(index), icon,
        Prompter::Buttons::OkCancel};
    return ask(message) == Prompter::Reply::Ok;
}

bool Engine::awaitDiskWithoutSetNames(qint64 index, const QString &fileName)
{
    // The user gathers the disks' files into one folder to join them: an earlier cut's pieces or
    // script would mix into the set, and a file of the joined name would have it added to it.
    for (;;) {
        const SetNamesFound found = setNamesIn(FloppyDrive::Name, fileName);
        if (found.joined.isEmpty()) {
            return found.names.isEmpty()
                || replaceSetNames(QStringLiteral("The disk in the drive"), FloppyDrive::Name,
                                   found.names, fileName);
        }
        if (!askForDisk(joinedNameOnDisk(found.joined), index, Prompter::Icon::Information))
            return false;
    }
}

QString Engine::joinedNameOnDisk(const QString &name)
{
    return QStringLiteral("The disk in the drive holds a file named ") + name
        + QStringLiteral(", the name the pieces join back into: joining them beside it would add"
                         " them to that file.");
}

bool Engine::isOwnPieceInDrive(const QString &name) const
{
    for (const PieceOnDisk &piece : m_run->piecesOnDisks) {
        if (GetFileName(piece.path) == name && isInDrive(piece))
            return true;
    }
    return false;
}

bool Engine::isInDrive(const PieceOnDisk &piece) const
{
    // Name, length and time of modification together tell one of this run's pieces from a
    // piece of the same name that an earlier run left on another disk.
    const std::optional<FileStamp> now = FileSystem::stampOf(onDisk(piece.path));
    return now && now->length == piece.stamp.length && now->modified == piece.stamp.modified;
}

QString Engine::pieceInDrive() const
{
    for (const PieceOnDisk &piece : m_run->piecesOnDisks) {
        if (isInDrive(piece))
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

} // namespace modMorlend
