#include "engine/Engine.h"
#include "engine/JoinScript.h"
#include "engine/PathHelpers.h"
#include "engine/PiecePlan.h"
#include "engine/SetNames.h"
#include "engine/StopRun.h"
#include "platform/AppError.h"
#include "platform/FileSystem.h"
#include "platform/FloppyDrive.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFileInfo>

// The run's outputs as a set: a destination made ready before anything in it changes, taken
// away again by a run that ends before its first piece, and checked before the run says done.
namespace modMorlend {

QString Engine::prepareScriptPath(const QString &fileName)
{
    if (!writesToFloppy())
        return joinPath(m_state.OutFolder, scriptName(fileName));
    // Disks come and go while the run writes, so the script waits on a disk that stays.
    m_state.InterpreterPath = m_platform.interpreterPath();
    return joinPath(m_platform.temporaryFolder(),
                    QStringLiteral("~join~") + fileName + QStringLiteral(".tmp"));
}

bool Engine::prepareOutputs(const QString &fileName)
{
    m_run->scriptPath = prepareScriptPath(fileName);
    const auto refuseIfSource = [this](const QString &path) {
        if (FileSystem::identityOf(onDisk(path)) == m_run->sourceIdentity)
            throw StopRun {sourceWouldBeOverwritten(path)};
    };
    // Each disk is looked at as its piece is written.
    if (writesToFloppy()) {
        refuseIfSource(m_run->scriptPath);
        refuseIfSource(joinPath(FloppyDrive::Name, scriptName(fileName)));
        return true;
    }
    makeFolders();
    lockFolder();
    const SetNamesFound found = setNamesIn(m_state.OutFolder, fileName);
    if (!found.joined.isEmpty()) {
        throw StopRun {QStringLiteral("The folder ") + m_state.OutFolder
                       + QStringLiteral(" holds a file named ") + found.joined
                       + QStringLiteral(", the name the pieces join back into: joining them there"
                                        " would add them to that file.")
                       + LineEnd
                       + QStringLiteral("Choose another folder, or move that file away, and cut"
                                        " again.")};
    }
    return found.names.isEmpty()
        || replaceSetNames(QStringLiteral("The folder ") + m_state.OutFolder, m_state.OutFolder,
                           found.names, fileName);
}

void Engine::makeFolders()
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
        m_run->madeFolders << folder;
    }
}

void Engine::lockFolder()
{
    FolderLock lock(onDisk(m_state.OutFolder));
    if (!lock.isTaken()) {
        // Two runs writing the same names into one folder would leave a set of both.
        throw StopRun {QStringLiteral("Another Morlend is writing into the folder ")
                       + m_state.OutFolder + u'.' + LineEnd
                       + QStringLiteral("Wait until it has finished, and cut again.")};
    }
    m_run->folderLock = std::move(lock);
}

Engine::SetNamesFound Engine::setNamesIn(const QString &folder, const QString &fileName) const
{
    SetNamesFound found;
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
        if (FileSystem::identityOf(onDisk(path)) == m_run->sourceIdentity)
            throw StopRun {sourceWouldBeOverwritten(path)};
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
        if (!isOwnPieceInDrive(name))
            found.names << name;
    }
    sortSetNames(found.names, fileName);
    return found;
}

bool Engine::replaceSetNames(const QString &where, const QString &folder, const QStringList &names,
                             const QString &fileName)
{
    const QString files = names.size() == 1 ? QStringLiteral("1 file")
                                            : QStringLiteral("%1 files").arg(names.size());
    const Prompter::Message question {
        where + QStringLiteral(" already holds ") + files
            + QStringLiteral(" with the names of the pieces or the join script of ") + fileName
            + QStringLiteral(": ") + listForMessage(names) + u'.' + LineEnd
            + QStringLiteral("OK replaces them, so that only this cut's files have those names;"
                             " Cancel stops the cut without touching them."),
        Prompter::Icon::Warning, Prompter::Buttons::OkCancel, Prompter::DefaultTitle, true};
    if (ask(question) == Prompter::Reply::Cancel)
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

void Engine::discardOutputs()
{
    try {
        if (m_run->script) {
            const QString script = onDisk(m_run->scriptPath);
            const std::optional<NamedFile> named = FileSystem::namedFile(script);
            if (named && named->identity == *m_run->script)
                FileSystem::deleteFile(script);
        }
        m_run->folderLock.reset();
        for (auto folder = m_run->madeFolders.crbegin(); folder != m_run->madeFolders.crend();
             ++folder)
            FileSystem::removeFolder(*folder);
    } catch (const AppError &) {
        // Someone put something into a folder the run made: it stays, and so does the folder.
    }
}

void Engine::checkTheSetIsAsWritten(const QString &fileName)
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
        if (m_run->scriptBesideLastPiece)
            expect(joinPath(FloppyDrive::Name, pieceName(fileName, count)), m_run->pieces.back(),
                   last);
        expect(joinPath(FloppyDrive::Name, scriptName(fileName)), *m_run->scriptOnFloppy,
               m_run->scriptOnFloppy->stamp.length);
        return;
    }
    if (FileSystem::identityOf(onDisk(m_state.OutFolder)) != m_run->folderLock->identity()) {
        throw StopRun {QStringLiteral("The folder ") + m_state.OutFolder
                           + QStringLiteral(" was moved or removed while the cut wrote into it,"
                                            " so the pieces are not all where the join script"
                                            " looks for them.")
                           + LineEnd + QStringLiteral("Do not join them; cut the file again."),
                       true};
    }
    for (qint64 index = 1; index <= count; ++index) {
        expect(joinPath(m_state.OutFolder, pieceName(fileName, index)),
               m_run->pieces[std::size_t(index - 1)], index < count ? m_state.PieceSize : last);
    }
    asWritten(m_run->scriptPath, *m_run->script);
}

NamedFile Engine::asWritten(const QString &path, const FileIdentity &identity) const
{
    const std::optional<NamedFile> named = FileSystem::namedFile(onDisk(path));
    if (!named || named->identity != identity)
        throw setChanged(path);
    return *named;
}

QString Engine::sourceWouldBeOverwritten(const QString &path)
{
    return QStringLiteral("The file ") + path
        + QStringLiteral(" is the file to cut under another name, and writing it would destroy"
                         " the file.\r\nRemove it or choose another destination.");
}

StopRun Engine::setChanged(const QString &path)
{
    return {QStringLiteral("Another program changed the set while it was written: ") + path
                + QStringLiteral(" is not the file this cut wrote there.") + LineEnd
                + QStringLiteral("Do not join the set; cut the file again."),
            true};
}

QString Engine::incompleteSet() const
{
    const qint64 written = qint64(m_run->pieces.size());
    if (written == 0)
        return {};
    const QString where = !writesToFloppy() ? QStringLiteral(" in ") + m_state.OutFolder
        : written == 1                      ? QStringLiteral(" on its disk")
                                            : QStringLiteral(" on their disks");
    const QString what = written == 1
        ? QStringLiteral("piece 1 of %1 was written").arg(m_state.PieceCount)
        : QStringLiteral("pieces 1 to %1 of %2 were written").arg(written).arg(m_state.PieceCount);
    const QString script = written == m_state.PieceCount
        ? QStringLiteral(", but not the whole join script")
        : QStringLiteral(", and the join script goes no further");
    return LineEnd + LineEnd + QStringLiteral("The set is incomplete: ") + what + where + script
        + QStringLiteral(". It does not rebuild the file; cut the file again.")
        + scriptLeftBehind();
}

} // namespace modMorlend
