#include "engine/FloppyDisks.h"

#include "engine/EngineState.h"
#include "engine/EngineView.h"
#include "engine/JoinScript.h"
#include "engine/MessageText.h"
#include "engine/PathHelpers.h"
#include "engine/PieceWriter.h"
#include "engine/RunControl.h"
#include "engine/SetNames.h"
#include "engine/SizeText.h"
#include "engine/StopRun.h"
#include "platform/AppError.h"
#include "platform/File.h"
#include "platform/FloppyDrive.h"
#include "platform/Platform.h"
#include "platform/RunAndWait.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace modMorlend {

namespace {

QString joinedNameOnDisk(const QString &name)
{
    return u"The disk in the drive holds a file named %1, the name the pieces join back into:"
           " joining them beside it would add them to that file."_s.arg(name);
}

// "1 file", "3 files", "2 files and 1 folder", "1 folder".
QString filesAndFolders(qsizetype files, qsizetype folders)
{
    const auto count = [](qsizetype n, const QString &one, const QString &many) {
        return n == 1 ? one : u"%1 %2"_s.arg(QString::number(n), many);
    };
    QStringList parts;
    if (files > 0)
        parts << count(files, u"1 file"_s, u"files"_s);
    if (folders > 0)
        parts << count(folders, u"1 folder"_s, u"folders"_s);
    return parts.join(u" and "_s);
}

} // namespace

FloppyDisks::FloppyDisks(const Platform &platform, EngineView &view, const EngineState &state,
                         RunControl &control, OutputSet &outputs, PieceWriter &writer)
    : m_platform(platform)
    , m_view(view)
    , m_state(state)
    , m_control(control)
    , m_outputs(outputs)
    , m_writer(writer)
    , m_disks(platform, control, u"the cut"_s)
{
}

QString FloppyDisks::waitingScriptPath(const Platform &platform, const QString &folder,
                                       const QString &fileName)
{
    for (qint64 number = 1;; ++number) {
        const QString numbered
            = number == 1 ? fileName : u"%1~%2"_s.arg(fileName, QString::number(number));
        const QString path = joinPath(folder, u"~join~%1.tmp"_s.arg(numbered));
        if (!FileSystem::namedFile(platform.resolve(path)))
            return path;
    }
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
            problem = m_disks.whyNoDiskIsTaken();
            if (!problem.isEmpty()) {
                // Asked for below.
            } else if (clearsDisks()) {
                if (!awaitDiskWithoutPiece(index))
                    return std::nullopt;
                // Nothing on a disk that could never hold the piece is cleared.
                problem = whyTheDiskCannotHold(length, index, true);
                if (problem.isEmpty() && !clearForPiece(index))
                    problem = u"The disk in the drive was not cleared."_s;
            } else {
                if (!awaitDiskWithoutSetNames(index, fileName))
                    return std::nullopt;
                problem = whyTheDiskCannotHold(length, index, false);
            }
            if (problem.isEmpty())
                return write();
        } catch (const AppError &error) {
            problem = whatWentWrongOnTheDisk(error, index);
        } catch (const BadCopy &bad) {
            problem = whyTheDiskIsBad(bad, bad.path)
                + u" The cut writes piece %1 anew onto the next disk."_s.arg(
                    QString::number(index));
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
        return DiskQuestions::WriteProtected;
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
    return DiskQuestions::whatTheErrorSays(error, DiskQuestions::Use::Writing);
}

QString FloppyDisks::whyTheDiskIsBad(const BadCopy &bad, const QString &what)
{
    const QString why = bad.unreadable.isEmpty()
        ? u"The disk in the drive is damaged: %1, read back from it, differs from what was"
          " written."_s.arg(what)
        : u"The disk in the drive is damaged: %1 could not be read back from it (%2)."_s.arg(
            what, bad.unreadable);
    if (const QString left = m_writer.takeUnfinished(); !left.isEmpty())
        return why + u" %1 on it is damaged: do not use it."_s.arg(left);
    return why;
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

bool FloppyDisks::clearForPiece(qint64 index)
{
    // The box is ticked from the start, and a disk from a stack of old ones may hold someone's
    // work: nothing is cleared unsaid, and Enter, pressed by habit, keeps it.
    const FloppyDrive::Volume disk = m_platform.floppyDisk();
    const QFileInfoList entries
        = QDir(disk.mountPoint)
              .entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                             QDir::Name | QDir::IgnoreCase);
    if (!entries.isEmpty()) {
        QStringList names;
        qsizetype folders = 0;
        for (const QFileInfo &entry : entries) {
            names << entry.fileName();
            folders += entry.isDir() && !entry.isSymLink();
        }
        const Prompter::Message question {
            lines({u"The disk in the drive, %1, holds %2: %3."_s.arg(
                       DiskQuestions::volumeName(disk),
                       filesAndFolders(names.size() - folders, folders), listForMessage(names)),
                   u"Clearing it for piece %1 removes all of that. OK clears the disk; Cancel"
                   " leaves it as it is, and the cut asks for another disk."_s.arg(
                       QString::number(index))}),
            Prompter::Icon::Warning, Prompter::Buttons::OkCancel, Prompter::DefaultTitle, true};
        if (m_control.ask(question) == Prompter::Reply::Cancel)
            return false;
    }
    clearFloppy();
    return true;
}

bool FloppyDisks::askForDisk(const QString &why, qint64 index, Prompter::Icon icon)
{
    return m_disks.askForDisk(why, u"Please insert floppy number %1."_s.arg(QString::number(index)),
                              icon);
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

QString FloppyDisks::whyTheScriptCannotGoThere(const QString &fileName) const
{
    if (const QString problem = m_disks.whyNoDiskIsTaken(); !problem.isEmpty())
        return problem;
    if (FileSystem::spaceOf(m_platform.floppyMountPoint()).readOnly)
        return DiskQuestions::WriteProtected;
    if (const OutputSet::NamesFound found = setNamesInDrive(fileName); !found.joined.isEmpty())
        return joinedNameOnDisk(found.joined);
    return {};
}

std::optional<NamedFile> FloppyDisks::copyScript(const QString &target,
                                                 const QString &temporaryScriptPath,
                                                 const QString &fileName)
{
    m_writer.checkReplaceable(target);
    // Only a whole script ever has the name that cmd runs: a disk that fails while the script is
    // copied onto it keeps, at most, a part of it under a name that runs nothing.
    const QString copy = waitingScriptPath(m_platform, FloppyDrive::Name, fileName);
    File temporary = File::openForReading(m_platform.resolve(temporaryScriptPath));
    const std::optional<NamedFile> copied
        = m_writer.copyToNewFile(copy, temporary, 0, temporary.size(), [this](qint64) {
              m_view.keepAlive();
              return !m_control.stopAsked();
          });
    if (!copied)
        return std::nullopt;
    try {
        FileSystem::rename(m_platform.resolve(copy), m_platform.resolve(target));
    } catch (const AppError &) {
        try {
            FileSystem::deleteFile(m_platform.resolve(copy));
        } catch (const AppError &) {
            m_scriptLeftOnDisk = copy;
        }
        throw;
    }
    return m_outputs.asWritten(target, copied->identity);
}

QString FloppyDisks::scriptNotThere(bool besideLastPiece)
{
    const QString lastPiece = m_piecesOnDisks.isEmpty() ? QString() : m_piecesOnDisks.back().path;
    QString what = besideLastPiece && !lastPiece.isEmpty()
        ? u"The join script is not on the disk with %1."_s.arg(lastPiece)
        : u"The join script is not on this disk."_s;
    QString left = m_writer.takeUnfinished();
    if (left.isEmpty())
        left = std::exchange(m_scriptLeftOnDisk, {});
    if (!left.isEmpty())
        what += u" %1 on it is an incomplete copy of the script: delete it."_s.arg(left);
    return what;
}

bool FloppyDisks::handOverScript(const QString &fileName, const QString &temporaryScriptPath)
{
    const QString target = joinPath(FloppyDrive::Name, scriptName(fileName));
    const Prompter::Message oneMoreDisk {u"Please insert one more floppy."_s,
                                         Prompter::Icon::Information, Prompter::Buttons::OkCancel};
    // No disk is cleared here, not even an extra one: the script is all it receives. Each disk
    // is looked at as a piece's disk is, whether or not the pieces' disks were cleared.
    bool askForDisk = m_state.NeedExtraDisk;
    for (;;) {
        if (askForDisk && m_control.ask(oneMoreDisk) == Prompter::Reply::Cancel)
            return true;
        const bool besideLastPiece = !askForDisk;
        askForDisk = true;
        try {
            if (const QString refusal = whyTheScriptCannotGoThere(fileName); !refusal.isEmpty()) {
                m_control.tell({refusal, Prompter::Icon::Error});
                continue;
            }
            const OutputSet::NamesFound found = setNamesInDrive(fileName);
            if (!found.names.isEmpty()
                && !m_outputs.replaceSetNames(u"The disk in the drive"_s, FloppyDrive::Name,
                                              found.names, fileName))
                return true;
            const std::optional<NamedFile> script
                = copyScript(target, temporaryScriptPath, fileName);
            if (!script)
                return true;
            m_outputs.noteScriptOnFloppy(*script, besideLastPiece);
            FileSystem::deleteFile(m_platform.resolve(temporaryScriptPath));
            return false;
        } catch (const AppError &error) {
            m_control.tell(
                {lines({errorLines(error), error.source(), scriptNotThere(besideLastPiece)}),
                 Prompter::Icon::Error});
        } catch (const BadCopy &bad) {
            m_control.tell({lines({whyTheDiskIsBad(bad, u"the join script"_s),
                                   scriptNotThere(besideLastPiece)}),
                            Prompter::Icon::Error});
        } catch (const StopRun &refusal) {
            // This disk cannot take the script (a folder or the source has its name); another
            // one can.
            m_control.tell({refusal.message, Prompter::Icon::Error});
        }
    }
}

} // namespace modMorlend
