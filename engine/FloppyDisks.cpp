#include "engine/FloppyDisks.h"

#include "engine/EngineState.h"
#include "engine/EngineView.h"
#include "engine/JoinScript.h"
#include "engine/MessageText.h"
#include "engine/PathHelpers.h"
#include "engine/PieceWriter.h"
#include "engine/RunControl.h"
#include "engine/SizeText.h"
#include "engine/StopRun.h"
#include "platform/AppError.h"
#include "platform/File.h"
#include "platform/FloppyDrive.h"
#include "platform/Platform.h"
#include "platform/RunAndWait.h"

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace modMorlend {

namespace {

const QString WriteProtected = u"The disk in the drive is write-protected."_s;

QString joinedNameOnDisk(const QString &name)
{
    return u"The disk in the drive holds a file named %1, the name the pieces join back into:"
           " joining them beside it would add them to that file."_s.arg(name);
}

QByteArray readFile(const QString &path)
{
    File file = File::openForReading(path);
    QByteArray bytes(file.size(), Qt::Uninitialized);
    bytes.truncate(file.read(bytes.data(), bytes.size()));
    return bytes;
}

} // namespace

FloppyDisks::FloppyDisks(const Platform &platform, const EngineView &view, const EngineState &state,
                         RunControl &control, OutputSet &outputs, PieceWriter &writer)
    : m_platform(platform)
    , m_view(view)
    , m_state(state)
    , m_control(control)
    , m_outputs(outputs)
    , m_writer(writer)
{
}

bool FloppyDisks::clearsDisks() const
{
    return m_view.clearBoxIsOn() && m_outputs.writesToFloppy();
}

std::optional<NamedFile>
FloppyDisks::copyPieceOntoADisk(qint64 index, qint64 length,
                                const std::function<std::optional<NamedFile>()> &write)
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
                problem = whyTheDiskCannotHold(length, index, true);
                if (problem.isEmpty())
                    clearFloppy();
            } else {
                if (!awaitDiskWithoutSetNames(index, fileName))
                    return std::nullopt;
                problem = whyTheDiskCannotHold(length, index, false);
            }
            if (problem.isEmpty())
                return write();
        } catch (const AppError &error) {
            problem = whatWentWrongOnTheDisk(error, index);
        }
        if (!askForDisk(problem, index, Prompter::Icon::Warning))
            return std::nullopt;
    }
}

void FloppyDisks::notePieceOnDisk(const QString &path)
{
    if (const std::optional<FileStamp> stamp = FileSystem::stampOf(m_platform.resolve(path)))
        m_piecesOnDisks.append({path, *stamp});
}

QString FloppyDisks::whyTheDiskCannotHold(qint64 length, qint64 index, bool cleared) const
{
    const DiskSpace space = FileSystem::spaceOf(m_platform.floppyMountPoint());
    if (space.readOnly)
        return WriteProtected;
    if (!space.knowsSize)
        return {};
    const qint64 room = space.roomFor(length);
    if (space.capacity < room) {
        return u"The disk in the drive is too small for a piece of %1: it holds %2 at most."_s.arg(
            formatBytes(length), formatBytes(space.capacity));
    }
    if (!cleared && space.free < room) {
        return u"The disk in the drive is full: it has %1 free, and piece %2 needs %3."_s.arg(
            formatBytes(space.free), QString::number(index), formatBytes(room));
    }
    return {};
}

QString FloppyDisks::whatWentWrongOnTheDisk(const AppError &error, qint64 index)
{
    if (const QString left = m_writer.takeUnfinished(); !left.isEmpty()) {
        return u"The disk was taken out while %1 was written, so that file on it is incomplete:"
               " do not use it. The cut writes piece %2 anew onto the next disk."_s.arg(
                   left, QString::number(index));
    }
    switch (error.number()) {
    case AppError::DiskNotReady:
        return u"There is no disk in the drive."_s;
    case AppError::PermissionDenied:
        return WriteProtected;
    case AppError::DiskFull:
        return u"The disk in the drive is full."_s;
    case AppError::DeviceIOError:
    case AppError::PathFileAccessError:
    case AppError::FileNotFound:
    case AppError::PathNotFound:
        return u"The disk in the drive cannot be written: %1."_s.arg(error.description());
    }
    // Not the disk's doing (the file being cut, say): the run ends with the general error.
    throw error;
}

bool FloppyDisks::awaitDiskWithoutPiece(qint64 index)
{
    // A user who answers the prompt without changing the disk would have the last piece
    // cleared away, and the set could never be joined.
    for (QString piece = pieceInDrive(); !piece.isEmpty(); piece = pieceInDrive()) {
        const QString sameDisk = u"The disk in the drive is still the one with %1."_s.arg(piece);
        if (!askForDisk(sameDisk, index, Prompter::Icon::Information))
            return false;
    }
    return true;
}

bool FloppyDisks::askForDisk(const QString &why, qint64 index, Prompter::Icon icon)
{
    const Prompter::Message message {
        lines({why, u"Please insert floppy number %1."_s.arg(QString::number(index))}), icon,
        Prompter::Buttons::OkCancel};
    return m_control.ask(message) == Prompter::Reply::Ok;
}

OutputSet::NamesFound FloppyDisks::setNamesInDrive(const QString &fileName) const
{
    OutputSet::NamesFound found = m_outputs.setNamesIn(FloppyDrive::Name, fileName);
    found.names.removeIf([this](const QString &name) { return isOwnPieceInDrive(name); });
    return found;
}

bool FloppyDisks::awaitDiskWithoutSetNames(qint64 index, const QString &fileName)
{
    // The user gathers the disks' files into one folder to join them: an earlier cut's pieces or
    // script would mix into the set, and a file of the joined name would have it added to it.
    for (;;) {
        const OutputSet::NamesFound found = setNamesInDrive(fileName);
        if (found.joined.isEmpty()) {
            return found.names.isEmpty()
                || m_outputs.replaceSetNames(u"The disk in the drive"_s, FloppyDrive::Name,
                                             found.names, fileName);
        }
        if (!askForDisk(joinedNameOnDisk(found.joined), index, Prompter::Icon::Information))
            return false;
    }
}

bool FloppyDisks::isOwnPieceInDrive(const QString &name) const
{
    return std::any_of(m_piecesOnDisks.cbegin(), m_piecesOnDisks.cend(),
                       [&](const PieceOnDisk &piece) {
                           return GetFileName(piece.path) == name && isInDrive(piece);
                       });
}

bool FloppyDisks::isInDrive(const PieceOnDisk &piece) const
{
    // Name, length and time of modification together tell one of this run's pieces from a
    // piece of the same name that an earlier run left on another disk.
    const std::optional<FileStamp> now = FileSystem::stampOf(m_platform.resolve(piece.path));
    return now && now->length == piece.stamp.length && now->modified == piece.stamp.modified;
}

QString FloppyDisks::pieceInDrive() const
{
    for (const PieceOnDisk &piece : m_piecesOnDisks) {
        if (isInDrive(piece))
            return piece.path;
    }
    return {};
}

void FloppyDisks::clearFloppy()
{
    // Whether the clearing worked is not looked at, but a piece is never written beside a
    // clearing that may still be deleting.
    const ChildRun run = RunAndWait(
        m_platform.clearCommand(m_state.InterpreterPath, m_platform.floppyMountPoint()),
        GetFolder(m_state.InterpreterPath), m_platform.clearTimeLimit());
    if (run == ChildRun::Stopped) {
        throw StopRun {u"Clearing the floppy did not end in time and was stopped. Nothing was"
                       " written on this disk; check it and cut again."_s};
    }
}

bool FloppyDisks::handOverScript(const QString &fileName, const QString &temporaryScriptPath)
{
    const QString target = joinPath(FloppyDrive::Name, scriptName(fileName));
    const Prompter::Message oneMoreDisk {u"Please insert one more floppy."_s,
                                         Prompter::Icon::Information, Prompter::Buttons::OkCancel};
    // No disk is cleared here, not even an extra one: the script is all it receives.
    bool askForDisk = m_state.NeedExtraDisk;
    for (;;) {
        if (askForDisk && m_control.ask(oneMoreDisk) == Prompter::Reply::Cancel)
            return true;
        const bool besideLastPiece = !askForDisk;
        askForDisk = true;
        try {
            // A disk that holds names of the set is asked about, as the pieces' disks were.
            if (!clearsDisks()) {
                const OutputSet::NamesFound found = setNamesInDrive(fileName);
                if (!found.joined.isEmpty()) {
                    m_control.tell({joinedNameOnDisk(found.joined), Prompter::Icon::Error});
                    continue;
                }
                if (!found.names.isEmpty()
                    && !m_outputs.replaceSetNames(u"The disk in the drive"_s, FloppyDrive::Name,
                                                  found.names, fileName))
                    return true;
            }
            const QString temporary = m_platform.resolve(temporaryScriptPath);
            m_outputs.noteScriptOnFloppy(m_writer.writeFile(target, readFile(temporary)),
                                         besideLastPiece);
            FileSystem::deleteFile(temporary);
            return false;
        } catch (const AppError &error) {
            m_control.tell({lines({errorLines(error), error.source()}), Prompter::Icon::Error});
        } catch (const StopRun &refusal) {
            // This disk cannot take the script (a folder or the source has its name); another
            // one can.
            m_control.tell({refusal.message, Prompter::Icon::Error});
        }
    }
}

} // namespace modMorlend
