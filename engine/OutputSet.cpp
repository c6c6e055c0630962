#include "engine/OutputSet.h"

#include "engine/EngineState.h"
#include "engine/JoinScript.h"
#include "engine/MessageText.h"
#include "engine/PathHelpers.h"
#include "engine/PiecePlan.h"
#include "engine/RunControl.h"
#include "engine/SetNames.h"
#include "engine/StopRun.h"
#include "platform/AppError.h"
#include "platform/FloppyDrive.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace modMorlend {

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
        || (m_folderOnFloppy && GetFolder(path) == m_state.OutFolder);
}

bool OutputSet::isInRunFolder(const QString &path) const
{
    return !writesToFloppy() && GetFolder(path) == m_state.OutFolder;
}

bool OutputSet::prepare(const QString &fileName, const QString &scriptPath,
                        const FileIdentity &source)
{
    m_source = source;
    m_scriptPath = scriptPath;
    // Each disk is looked at as its piece is written.
    if (writesToFloppy()) {
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
    for (const QString &name : names) {
        try {
            FileSystem::deleteFile(onDisk(joinPath(folder, name)));
        } catch (const AppError &error) {
            if (error.number() != AppError::FileNotFound)
                throw;
        }
    }
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
        m_folderLock.reset();
        for (auto folder = m_madeFolders.crbegin(); folder != m_madeFolders.crend(); ++folder)
            FileSystem::removeFolder(*folder);
    } catch (const AppError &) {
        // Someone put something into a folder the run made: it stays, and so does the folder.
    }
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
    const QString script = written == m_state.PieceCount
        ? u", but not the whole join script"_s
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
