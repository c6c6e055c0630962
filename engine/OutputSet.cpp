#include "engine/OutputSet.h"

#include "engine/EngineState.h"
#include "engine/JoinScript.h"
#include "engine/MessageText.h"
#include "engine/PathHelpers.h"
#include "engine/PiecePlan.h"
#include "engine/RunControl.h"
#include "engine/SetNames.h"
#include "engine/SizeText.h"
#include "engine/StopRun.h"
#include "platform/AppError.h"
#include "platform/FloppyDrive.h"
#include "platform/Platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <utility>

using namespace Qt::StringLiterals;

namespace modMorlend {

namespace {

// Whether path names a file right inside folder: the root's own files included, whose folder
// part is empty.
bool liesRightIn(const QString &path, const QString &folder)
{
    return joinPath(folder, GetFileName(path)) == path;
}

} // namespace

OutputSet::OutputSet(const Platform &platform, const EngineState &state, RunControl &control)
    : m_platform(platform)
    , m_state(state)
    , m_control(control)
{
}

bool OutputSet::writesToFloppy() const
{
    return FloppyDrive::isName(m_state.OutFolder);
}

void OutputSet::lookAtFolder()
{
    m_folderOnFloppy = m_platform.isOnFloppy(m_state.OutFolder);
}

bool OutputSet::liesOnFloppy(const QString &path) const
{
    return FloppyDrive::startsWithName(path)
        || (m_folderOnFloppy && liesRightIn(path, m_state.OutFolder));
}

bool OutputSet::isInRunFolder(const QString &path) const
{
    return !writesToFloppy() && liesRightIn(path, m_state.OutFolder);
}

bool OutputSet::prepare(const QString &fileName, const QString &scriptPath,
                        const FileIdentity &source)
{
    m_source = source;
    m_scriptPath = scriptPath;
    // Each disk is looked at as its piece is written.
    if (writesToFloppy()) {
        checkNameLengths(fileName);
        refuseIfSource(m_scriptPath);
        try {
            refuseIfSource(joinPath(FloppyDrive::Name, scriptName(fileName)));
        } catch (const AppError &error) {
            // No disk in the drive yet: the first is asked for, and looked at, for its piece.
            if (error.number() != AppError::DiskNotReady)
                throw;
        }
        return true;
    }
    makeFolders();
    lockFolder();
    checkNameLengths(fileName);
    const NamesFound found = setNamesIn(m_state.OutFolder, fileName);
    if (!found.joined.isEmpty()) {
        throw StopRun {lines({
            u"The folder %1 holds a file named %2, the name the pieces join back into: joining"
            " them there would add them to that file."_s.arg(m_state.OutFolder, found.joined),
            u"Choose another folder, or move that file away, and cut again."_s,
        })};
    }
    return found.names.isEmpty()
        || replaceSetNames(u"The folder %1"_s.arg(m_state.OutFolder), m_state.OutFolder,
                           found.names, fileName);
}

void OutputSet::checkNameLengths(const QString &fileName) const
{
    // A name the volume cannot take fails only when a piece gets that name, which for the
    // thousandth piece is after hours of work.
    const auto check = [&](const QString &folder, const QString &name) {
        const std::optional<qint64> limit = FileSystem::nameLimitOf(onDisk(folder));
        const qint64 length = QFile::encodeName(name).size();
        if (!limit || length <= *limit)
            return;
        throw StopRun {lines({
            u"The pieces of %1 cannot be named in %2: %3 would have %4 bytes, and names there"
            " have at most %5."_s.arg(fileName, folder, name, QString::number(length),
                                      QString::number(*limit)),
            u"Rename the file to a shorter name, and cut again."_s,
        })};
    };
    const QString lastPiece = pieceName(fileName, m_state.PieceCount);
    const QString script = scriptName(fileName);
    const QString longest = QFile::encodeName(lastPiece).size() >= QFile::encodeName(script).size()
        ? lastPiece
        : script;
    if (!writesToFloppy()) {
        check(m_state.OutFolder, longest);
        return;
    }
    check(GetFolder(m_scriptPath), GetFileName(m_scriptPath));
    // A disk in the drive now is likely to be of the others' kind; one inserted later is met
    // as its piece is written.
    try {
        check(FloppyDrive::Name, longest);
    } catch (const AppError &) {
        // No disk in the drive yet.
    }
}

void OutputSet::notePiece(const NamedFile &piece)
{
    m_pieces.push_back(piece);
    if (m_pieces.size() == 1)
        removeSetAside();
}

void OutputSet::noteScriptOnFloppy(const NamedFile &script, bool besideLastPiece)
{
    m_scriptOnFloppy = script;
    m_scriptBesideLastPiece = besideLastPiece;
}

void OutputSet::makeFolders()
{
    // Every level that is missing, outermost first; one that is there as a file stops the
    // run when a folder is made in it.
    QStringList missing;
    for (QString folder = onDisk(m_state.OutFolder); !FileSystem::namedFile(folder);) {
        missing.prepend(folder);
        const QString parent = QFileInfo(folder).path();
        if (parent == folder)
            break;
        folder = parent;
    }
    for (const QString &folder : std::as_const(missing)) {
        FileSystem::createFolder(folder);
        m_madeFolders << folder;
    }
}

void OutputSet::lockFolder()
{
    FolderLock lock(onDisk(m_state.OutFolder));
    if (!lock.isTaken()) {
        // Two runs writing the same names into one folder would leave a set of both.
        throw StopRun {lines({
            u"Another Morlend is writing into the folder %1."_s.arg(m_state.OutFolder),
            u"Wait until it has finished, and cut again."_s,
        })};
    }
    m_folderLock = std::move(lock);
}

OutputSet::NamesFound OutputSet::setNamesIn(const QString &folder, const QString &fileName) const
{
    NamesFound found;
    // One look at the folder rather than one per piece: a run may have millions of pieces.
    const QStringList entries
        = QDir(onDisk(folder))
              .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                         QDir::Unsorted);
    for (const QString &name : entries) {
        const SetName kind = setNameOf(name, fileName);
        if (kind == SetName::None)
            continue;
        if (kind == SetName::Joined) {
            found.joined = name;
            continue;
        }
        const QString path = joinPath(folder, name);
        refuseIfSource(path);
        if (FileSystem::namesFolder(onDisk(path))) {
            // A folder where a folder run writes a file stops it before anything is written; one
            // named like a further piece is no piece, and stays. A disk receives one piece, and
            // a folder there is met as that piece is written.
            bool isNumber = false;
            const qint64 index = name.mid(fileName.size() + 1).toLongLong(&isNumber);
            if (!FloppyDrive::isName(folder)
                && (kind == SetName::Script || (isNumber && index <= m_state.PieceCount)))
                throw StopRun {folderInTheWay(path)};
            continue;
        }
        found.names << name;
    }
    sortSetNames(found.names, fileName);
    return found;
}

bool OutputSet::replaceSetNames(const QString &where, const QString &folder,
                                const QStringList &names, const QString &fileName)
{
    const QString files
        = names.size() == 1 ? u"1 file"_s : u"%1 files"_s.arg(QString::number(names.size()));
    const Prompter::Message question {
        lines({
            u"%1 already holds %2 with the names of the pieces or the join script of %3: %4."_s.arg(
                where, files, fileName, listForMessage(names)),
            u"OK replaces them, so that only this cut's files have those names; Cancel stops the"
            " cut without touching them."_s,
        }),
        Prompter::Icon::Warning, Prompter::Buttons::OkCancel, Prompter::DefaultTitle, true};
    if (m_control.ask(question) == Prompter::Reply::Cancel)
        return false;
    const bool onADisk = FloppyDrive::isName(folder);
    for (const QString &name : names) {
        try {
            if (onADisk)
                FileSystem::deleteFile(onDisk(joinPath(folder, name)));
            else
                setAside(onDisk(joinPath(folder, name)));
        } catch (const AppError &error) {
            if (error.number() != AppError::FileNotFound)
                throw;
        }
    }
    return true;
}

void OutputSet::setAside(const QString &path)
{
    const std::optional<NamedFile> named = FileSystem::namedFile(path);
    const qint64 length = named && named->isRegularFile ? named->stamp.length : 0;
    // A hidden name that no set has, of this program's run, with the old name in it, so that a
    // run killed meanwhile leaves the file findable.
    for (int attempt = 1;; ++attempt) {
        const QString aside
            = joinPath(GetFolder(path),
                       u".~morlend-replaced-%1-%2~%3"_s.arg(
                           QString::number(QCoreApplication::applicationPid()),
                           QString::number(m_setAside.size() + attempt), GetFileName(path)));
        try {
            FileSystem::renameNoReplace(path, aside);
            m_setAside.push_back({path, aside, length});
            return;
        } catch (const AppError &error) {
            if (error.number() != AppError::FileAlreadyExists)
                throw;
        }
    }
}

void OutputSet::putBackSetAside()
{
    for (const SetAside &file : std::exchange(m_setAside, {})) {
        try {
            FileSystem::renameNoReplace(file.asidePath, file.path);
        } catch (const AppError &) {
            // Someone gave the name to another file meanwhile: the user's stays where it was set
            // aside, under a name that still holds its own.
        }
    }
}

void OutputSet::removeSetAside()
{
    for (const SetAside &file : std::exchange(m_setAside, {})) {
        try {
            FileSystem::deleteFile(file.asidePath);
        } catch (const AppError &) {
            // What cannot be removed stays hidden, out of the set's way.
        }
    }
}

bool OutputSet::makeRoomFor(qint64 length)
{
    if (m_setAside.empty())
        return false;
    const DiskSpace space = FileSystem::spaceOf(onDisk(m_state.OutFolder));
    // Without the volume's size, removing them could still leave no room, and nothing at all.
    if (!space.knowsSize)
        return false;
    // A disk with the room already failed for another reason (a quota, a limit on the file's
    // size), which removing them would not mend.
    const qint64 needed = space.roomFor(length);
    if (space.free >= needed)
        return false;
    qint64 freed = 0;
    for (const SetAside &file : m_setAside)
        freed += space.roomFor(file.length);
    if (space.free + freed < needed)
        return false;
    removeSetAside();
    return true;
}

void OutputSet::refuseIfSource(const QString &path) const
{
    if (FileSystem::identityOf(onDisk(path)) != m_source)
        return;
    throw StopRun {lines({
        u"The file %1 is the file to cut under another name, and writing it would destroy the"
        " file."_s.arg(path),
        u"Remove it or choose another destination."_s,
    })};
}

QString OutputSet::folderInTheWay(const QString &path)
{
    return lines({
        u"The file %1 cannot be written: a folder has its name."_s.arg(path),
        u"Remove or rename the folder, or write somewhere else."_s,
    });
}

void OutputSet::discard()
{
    try {
        if (m_script) {
            const QString script = onDisk(m_scriptPath);
            const std::optional<NamedFile> named = FileSystem::namedFile(script);
            if (named && named->identity == *m_script)
                FileSystem::deleteFile(script);
        }
    } catch (const AppError &) {
        // A script that cannot be removed keeps an earlier one's name taken; the rest goes back.
    }
    // Before the folders go: what was set aside lies in folders that were there before.
    putBackSetAside();
    try {
        m_folderLock.reset();
        for (auto folder = m_madeFolders.crbegin(); folder != m_madeFolders.crend(); ++folder)
            FileSystem::removeFolder(*folder);
    } catch (const AppError &) {
        // Someone put something into a folder the run made: it stays, and so does the folder.
    }
}

QString OutputSet::roomToJoin() const
{
    // Joining appends each further piece to the first and then deletes it, so at its fullest the
    // disk holds one piece more than the whole.
    const qint64 count = m_state.PieceCount;
    const qint64 last = lastPieceSize(m_state.SourceSize, count, m_state.PieceSize);
    const qint64 largest = count > 2 ? m_state.PieceSize : count == 2 ? last : 0;
    if (largest == 0)
        return {};
    const DiskSpace space = FileSystem::spaceOf(onDisk(m_state.OutFolder));
    const qint64 needed = space.roomFor(largest);
    if (!space.knowsSize || space.free >= needed)
        return {};
    return lines({
        u"The pieces and the join script are in %1, but joining them there needs %2 free on its"
        " disk, and it has %3 free."_s.arg(m_state.OutFolder, formatBytes(needed),
                                           formatBytes(space.free)),
        u"Join them where there is that much room, or make room there first: a join that runs"
        " out of room loses the pieces it has deleted."_s,
    });
}

void OutputSet::checkAsWritten(const QString &fileName) const
{
    // The length and time of modification tell a file made anew at a name, which the system
    // may give the same number as the one removed.
    const auto expect = [this](const QString &path, const NamedFile &written, qint64 length) {
        const std::optional<NamedFile> now = FileSystem::namedFile(onDisk(path));
        if (!now || !now->isRegularFile || now->identity != written.identity
            || now->stamp.length != length || now->stamp.modified != written.stamp.modified)
            throw setChanged(path);
    };
    const qint64 count = m_state.PieceCount;
    const qint64 last = lastPieceSize(m_state.SourceSize, count, m_state.PieceSize);
    if (writesToFloppy()) {
        // The earlier disks are out of reach; the last one is still in the drive.
        if (m_scriptBesideLastPiece)
            expect(joinPath(FloppyDrive::Name, pieceName(fileName, count)), m_pieces.back(), last);
        expect(joinPath(FloppyDrive::Name, scriptName(fileName)), *m_scriptOnFloppy,
               m_scriptOnFloppy->stamp.length);
        return;
    }
    if (FileSystem::identityOf(onDisk(m_state.OutFolder)) != m_folderLock->identity()) {
        throw StopRun {
            lines({u"The folder %1 was moved or removed while the cut wrote into it,"
                   " so the pieces are not all where the join script looks for them."_s.arg(
                       m_state.OutFolder),
                   u"Do not join them; cut the file again."_s}),
            true};
    }
    for (qint64 index = 1; index <= count; ++index) {
        expect(joinPath(m_state.OutFolder, pieceName(fileName, index)),
               m_pieces[std::size_t(index - 1)], index < count ? m_state.PieceSize : last);
    }
    asWritten(m_scriptPath, *m_script);
}

NamedFile OutputSet::asWritten(const QString &path, const FileIdentity &identity) const
{
    const std::optional<NamedFile> named = FileSystem::namedFile(onDisk(path));
    if (!named || named->identity != identity)
        throw setChanged(path);
    return *named;
}

StopRun OutputSet::setChanged(const QString &path)
{
    return {lines({u"Another program changed the set while it was written: %1 is not the file"
                   " this cut wrote there."_s.arg(path),
                   u"Do not join the set; cut the file again."_s}),
            true};
}

QString OutputSet::incompleteSet() const
{
    const qint64 written = piecesWritten();
    if (written == 0)
        return {};
    const QString count = QString::number(m_state.PieceCount);
    const QString where = !writesToFloppy() ? u" in %1"_s.arg(m_state.OutFolder)
        : written == 1                      ? u" on its disk"_s
                                            : u" on their disks"_s;
    const QString what = written == 1
        ? u"piece 1 of %1 was written"_s.arg(count)
        : u"pieces 1 to %1 of %2 were written"_s.arg(QString::number(written), count);
    // A disk that filled early may have left the script with its first line alone, or none.
    const std::optional<NamedFile> named
        = m_script ? FileSystem::namedFile(onDisk(m_scriptPath)) : std::nullopt;
    const bool scriptLeft = named && named->identity == *m_script;
    const QString script = !scriptLeft ? u", and no join script is left"_s
        : named->stamp.length <= headerLine().size() + LineEnd.size()
        ? u", and the join script holds no line for them"_s
        : written == m_state.PieceCount ? u", but not the whole join script"_s
                                        : u", and the join script goes no further"_s;
    return LineEnd + LineEnd
        + u"The set is incomplete: %1%2%3. It does not rebuild the file; cut the file again."_s.arg(
            what, where, script)
        + scriptLeftBehind();
}

QString OutputSet::scriptLeftBehind() const
{
    if (!writesToFloppy() || m_pieces.empty() || !FileSystem::namedFile(onDisk(m_scriptPath)))
        return {};
    return LineEnd
        + u"The join script, as far as it goes, is the file %1: the disks cannot be joined"
          " without it."_s.arg(onDisk(m_scriptPath));
}

QString OutputSet::onDisk(const QString &path) const
{
    return m_platform.resolve(path);
}

} // namespace modMorlend
