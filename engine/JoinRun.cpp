#include "engine/JoinRun.h"

#include "engine/JoinScript.h"
#include "engine/MessageText.h"
#include "engine/PathHelpers.h"
#include "engine/PiecesOnDisks.h"
#include "engine/RunControl.h"
#include "engine/SetNames.h"
#include "engine/SizeText.h"
#include "platform/AppError.h"
#include "platform/File.h"
#include "platform/FileCopy.h"
#include "platform/FolderLock.h"
#include "platform/OemCodePage.h"
#include "platform/OpenFolder.h"
#include "platform/Platform.h"
#include "platform/StopSignals.h"

#include <QFileInfo>
#include <QLocale>
#include <QRandomGenerator>

#include <new>

namespace modMorlend {

namespace {

// What the script is read in at a time.
constexpr qsizetype ScriptBlock = 64 * 1024;
// How many temporary names are tried before a folder counts as one that cannot be written.
constexpr int TemporaryNameTries = 16;

[[noreturn]] void refuse(JoinOutcome::Kind kind, const QString &message)
{
    throw JoinStop {kind, message};
}

// The permission bits that every piece has.
quint32 sharedPermissions(const std::vector<Piece> &pieces)
{
    quint32 common = 0777;
    for (const Piece &piece : pieces)
        common &= piece.file.permissions;
    return common;
}

// The permission bits of the whole, from those that every piece has: the user may read and
// write it, and gets to run it, and others to do anything with it, only where every piece lets
// them; the user's file creation mask takes away what it takes from any new file. A private
// file cut into private pieces stays private.
quint32 wholePermissions(quint32 shared)
{
    return (shared | 0600) & FileSystem::permissionsAllowed();
}

QString joinedInto(qint64 count, const QString &path, qint64 length)
{
    return QStringLiteral("Joined %1 pieces into %2 (%3).")
        .arg(QString::number(count), path, formatBytes(length));
}

} // namespace

// The whole while it is written: a new file of a hidden name of its own in the folder it goes
// into, readable by the user alone until it is complete.
class UnfinishedFile
{
public:
    explicit UnfinishedFile(const QString &folder)
    {
        for (int tries = 0;; ++tries) {
            m_path = joinPath(folder,
                              QStringLiteral(".morlend-join-%1")
                                  .arg(qulonglong(QRandomGenerator::global()->generate64()), 16, 16,
                                       QChar(u'0')));
            try {
                m_file = File::createPrivate(m_path);
                break;
            } catch (const AppError &error) {
                if (error.number() != AppError::FileAlreadyExists || tries == TemporaryNameTries)
                    throw;
            }
        }
        m_identity = m_file->identity();
    }

    File &file() { return *m_file; }
    const QString &path() const { return m_path; }

    // Removes the file, if it still has its name; false when that fails.
    bool discard() noexcept
    {
        try {
            m_file.reset();
            const std::optional<NamedFile> named = FileSystem::namedFile(m_path);
            if (named && named->identity == m_identity)
                FileSystem::deleteFile(m_path);
            return true;
        } catch (const AppError &) {
            return false;
        }
    }

private:
    QString m_path;
    std::optional<File> m_file;
    FileIdentity m_identity;
};

JoinRun::JoinRun(RunControl &control, const Platform &platform)
    : m_control(control)
    , m_platform(platform)
{
}

JoinRun::~JoinRun() = default;

std::variant<JoinPlan, JoinOutcome> JoinRun::look(const QString &scriptPath) const
{
    try {
        return plan(scriptPath);
    } catch (const JoinStop &stop) {
        return JoinOutcome {stop.kind, stop.message};
    } catch (const AppError &error) {
        return JoinOutcome {JoinOutcome::Kind::Failed, errorLines(error)};
    }
}

JoinPlan JoinRun::plan(const QString &scriptPath) const
{
    JoinPlan plan;
    plan.scriptPath = m_platform.resolve(scriptPath);
    const OemCodePage codePage = OemCodePage::forLocale(QLocale());
    plan.set = readScript(scriptPath, plan.scriptPath, codePage, plan.script);
    plan.folder = QFileInfo(plan.scriptPath).absolutePath();
    if (isFloppysRoot(plan.folder)
        && pieceNamesIn(plan.folder, plan.set).size() < plan.set.pieceCount) {
        plan.onDisks = true;
        return plan;
    }
    plan.opened = std::make_shared<const OpenFolder>(plan.folder);
    plan.pieces = findPieces(*plan.opened, plan.folder, plan.set, codePage);
    for (const Piece &piece : plan.pieces)
        plan.length += piece.file.stamp.length;
    return plan;
}

JoinSet JoinRun::readScript(const QString &scriptPath, const QString &path,
                            const OemCodePage &codePage, NamedFile &script)
{
    const std::optional<NamedFile> found = FileSystem::fileAt(path);
    if (!found)
        refuse(JoinOutcome::Kind::NotAScript, scriptPath + QStringLiteral(" is missing."));
    if (!found->isRegularFile) {
        refuse(JoinOutcome::Kind::NotAScript,
               scriptPath + QStringLiteral(" is no file, so it is no join script."));
    }
    JoinScriptReader reader(codePage);
    try {
        File file = File::openForReading(path);
        script = file.asNamedFile();
        QByteArray block(ScriptBlock, Qt::Uninitialized);
        while (!reader.refused()) {
            const qint64 read = file.read(block.data(), block.size());
            if (read == 0)
                break;
            reader.read(QByteArrayView(block.constData(), read));
        }
    } catch (const AppError &error) {
        refuse(JoinOutcome::Kind::Failed,
               scriptPath + QStringLiteral(" cannot be read: ") + error.description() + u'.');
    }
    const std::variant<JoinSet, ScriptFault> read = reader.finish();
    if (const ScriptFault *fault = std::get_if<ScriptFault>(&read)) {
        refuse(JoinOutcome::Kind::NotAScript,
               scriptPath + QStringLiteral(" is not a join script as Morlend writes it: ")
                   + fault->text() + u'.');
    }
    return std::get<JoinSet>(read);
}

bool JoinRun::isFloppysRoot(const QString &folder) const
{
    const QList<FloppyDrive::Volume> disks = m_platform.floppyLookup().disks;
    if (disks.size() != 1)
        return false;
    const std::optional<FileIdentity> root = FileSystem::identityOf(disks.front().mountPoint);
    return root && root == FileSystem::identityOf(folder);
}

JoinOutcome JoinRun::join(const JoinRequest &request, const Progress &progress)
{
    const StopSignals::DuringRun noteStopSignals;
    try {
        return joinAndReport(request, progress);
    } catch (const JoinStop &stop) {
        return {stop.kind, stop.message + discardUnfinished()};
    } catch (const AppError &error) {
        return {JoinOutcome::Kind::Failed, errorLines(error) + discardUnfinished()};
    } catch (const std::bad_alloc &) {
        return {JoinOutcome::Kind::Failed,
                errorLines(AppError(AppError::OutOfMemory)) + discardUnfinished()};
    }
}

JoinOutcome JoinRun::joinAndReport(const JoinRequest &request, const Progress &progress)
{
    const JoinPlan plan = this->plan(request.scriptPath);
    if (plan.onDisks)
        return joinFromDisks(request, plan, progress);
    // A cut that writes into the folder meanwhile would change the set under the join.
    const FolderLock lock(plan.folder);
    if (!lock.isTaken()) {
        refuse(JoinOutcome::Kind::NotJoinable,
               QStringLiteral("Another Morlend is writing into the folder ") + plan.folder + u'.'
                   + LineEnd + QStringLiteral("Wait until it has finished, and join again."));
    }
    const Destination destination = destinationOf(request, plan);
    const std::optional<FileIdentity> agreed = askToReplace(destination.target, false);
    writeWhole(destination, agreed, request.removePieces, [&](File &) {
        copyPieces(plan, progress);
        return sharedPermissions(plan.pieces);
    });
    const QString joined
        = joinedInto(qint64(plan.pieces.size()),
                     joinPath(destination.shownFolder, plan.set.fileName), plan.length);
    if (!request.removePieces)
        return {JoinOutcome::Kind::Joined, joined};
    return removePieces(plan, joined);
}

JoinOutcome JoinRun::joinFromDisks(const JoinRequest &request, const JoinPlan &plan,
                                   const Progress &progress)
{
    // The disk in the drive changes from piece to piece, and a floppy holds one piece at most.
    if (request.folder.isEmpty() || m_platform.isOnFloppy(request.folder)) {
        refuse(JoinOutcome::Kind::NotJoinable,
               QStringLiteral("The pieces of ") + plan.set.fileName
                   + QStringLiteral(" are on floppy disks, which the join asks for one after"
                                    " another: name a folder on another disk to join them into."));
    }
    const Destination destination = destinationOf(request, plan);
    const std::optional<FileIdentity> agreed = askToReplace(destination.target, false);
    qint64 length = 0;
    writeWhole(destination, agreed, false, [&](File &whole) {
        FileCopy copier(m_buffer);
        PiecesOnDisks disks(m_platform, m_control, plan.set, copier);
        const std::optional<PiecesOnDisks::Joined> joined = disks.readInto(
            whole, m_unfinished->path(),
            [&](qint64 bytes) {
                checkRoom(destination.folder, destination.shownFolder, bytes, true);
            },
            progress);
        if (!joined) {
            if (m_control.stopAsked())
                throw stopped();
            refuse(JoinOutcome::Kind::Stopped, QStringLiteral("The join was cancelled."));
        }
        length = joined->length;
        return joined->permissions;
    });
    const QString joined = joinedInto(plan.set.pieceCount,
                                      joinPath(destination.shownFolder, plan.set.fileName), length);
    if (!request.removePieces)
        return {JoinOutcome::Kind::Joined, joined};
    return {JoinOutcome::Kind::PiecesKept,
            joined + LineEnd
                + QStringLiteral("The pieces and the join script stay on their floppy disks.")};
}

JoinRun::Destination JoinRun::destinationOf(const JoinRequest &request, const JoinPlan &plan) const
{
    Destination destination;
    destination.shownFolder = request.folder.isEmpty() ? plan.folder : request.folder;
    destination.folder
        = request.folder.isEmpty() ? plan.folder : m_platform.resolve(request.folder);
    if (!FileSystem::isFolder(destination.folder)) {
        refuse(JoinOutcome::Kind::NotJoinable,
               QStringLiteral("There is no folder ") + destination.shownFolder
                   + QStringLiteral(" to join into."));
    }
    checkRoom(destination.folder, destination.shownFolder, plan.length);
    destination.target = joinPath(destination.folder, plan.set.fileName);
    return destination;
}

void JoinRun::writeWhole(const Destination &destination, std::optional<FileIdentity> agreed,
                         bool piecesGo, const std::function<quint32(File &whole)> &fill)
{
    try {
        m_unfinished = std::make_unique<UnfinishedFile>(destination.folder);
    } catch (const AppError &error) {
        refuse(JoinOutcome::Kind::NotJoinable,
               QStringLiteral("Nothing can be written into the folder ") + destination.shownFolder
                   + QStringLiteral(": ") + error.description() + u'.' + LineEnd
                   + QStringLiteral("Join into another folder."));
    }
    File &whole = m_unfinished->file();
    whole.setPermissions(wholePermissions(fill(whole)));
    // Where a file of the user's goes, the whole is on the disk first: a crash must not leave
    // the user with neither. The floppy is taken out when the user is told.
    const bool mustLast = agreed || piecesGo || m_platform.isOnFloppy(destination.folder);
    if (mustLast)
        m_platform.flushToDisk(whole);
    // A failure that only closing tells (a full disk over the network, say) is a failure too.
    whole.close();
    if (m_control.stopAsked())
        throw stopped();
    putInPlace(destination.target, agreed);
    m_unfinished.reset();
    if (mustLast)
        FileSystem::flushFolder(destination.folder);
}

void JoinRun::checkRoom(const QString &folder, const QString &shownFolder, qint64 length,
                        bool atLeast)
{
    const DiskSpace space = FileSystem::spaceOf(folder);
    if (space.knowsSize && space.free < space.roomFor(length)) {
        refuse(JoinOutcome::Kind::NotJoinable,
               QStringLiteral("The folder ") + shownFolder + QStringLiteral(" has ")
                   + formatBytes(space.free)
                   + (atLeast ? QStringLiteral(" free, and the joined file needs at least ")
                              : QStringLiteral(" free, and the joined file needs "))
                   + formatBytes(space.roomFor(length)) + u'.');
    }
}

std::optional<FileIdentity> JoinRun::askToReplace(const QString &target, bool appearedMeanwhile)
{
    const std::optional<NamedFile> existing = FileSystem::namedFile(target);
    if (!existing)
        return std::nullopt;
    if (FileSystem::namesFolder(target)) {
        refuse(JoinOutcome::Kind::NotJoinable,
               QStringLiteral("A folder has the name the pieces join into: ") + target + u'.');
    }
    const QString what = appearedMeanwhile
        ? target + QStringLiteral(" appeared while the pieces were joined.")
        : target + QStringLiteral(" already exists.");
    const Prompter::Message question {
        what + LineEnd
            + QStringLiteral("OK replaces it with the joined file; Cancel keeps it and writes"
                             " nothing."),
        Prompter::Icon::Warning, Prompter::Buttons::OkCancel, Prompter::DefaultTitle, true};
    if (m_control.ask(question) == Prompter::Reply::Cancel) {
        if (m_control.stopAsked())
            throw stopped();
        refuse(JoinOutcome::Kind::NotReplaced, target + QStringLiteral(" was kept."));
    }
    return existing->identity;
}

void JoinRun::copyPieces(const JoinPlan &plan, const Progress &progress)
{
    FileCopy copier(m_buffer);
    File &whole = m_unfinished->file();
    qint64 written = 0;
    // Made once: a step of a small piece costs little more than making it.
    const FileCopy::AfterStep afterStep = [&](qint64 copied) {
        progress(written + copied, plan.length);
        return !m_control.stopAsked();
    };
    for (const Piece &piece : plan.pieces) {
        const auto changed = [&piece] {
            refuse(JoinOutcome::Kind::NotJoinable,
                   piece.name()
                       + QStringLiteral(" changed while the pieces were joined, so they do not"
                                        " make the whole they made when they were looked at."));
        };
        try {
            File source = plan.opened->openForReading(piece.bytes);
            const FileCopy::Result result
                = copier.copy(source, whole, piece.file.stamp.length, afterStep);
            if (result.stopped)
                throw stopped();
            // Still the file that was looked at, and as it was: one put at its name since,
            // or changed before or while it was copied, has another identity or stamp now.
            const NamedFile copied = source.asNamedFile();
            if (result.copied != piece.file.stamp.length || copied.identity != piece.file.identity
                || copied.stamp != piece.file.stamp)
                changed();
        } catch (const AppError &error) {
            refuse(JoinOutcome::Kind::Failed,
                   QStringLiteral("Joining ") + piece.name() + QStringLiteral(" failed: ")
                       + error.description() + u'.');
        }
        written += piece.file.stamp.length;
    }
}

void JoinRun::putInPlace(const QString &target, std::optional<FileIdentity> agreed)
{
    for (;;) {
        const std::optional<NamedFile> existing = FileSystem::namedFile(target);
        if (agreed && existing && existing->identity == *agreed) {
            FileSystem::rename(m_unfinished->path(), target);
            return;
        }
        if (existing) {
            agreed = askToReplace(target, true);
            continue;
        }
        try {
            FileSystem::renameNoReplace(m_unfinished->path(), target);
            return;
        } catch (const AppError &error) {
            // Someone took the name since it was looked at: asked about as above.
            if (error.number() != AppError::FileAlreadyExists)
                throw;
        }
    }
}

JoinOutcome JoinRun::removePieces(const JoinPlan &plan, const QString &joined)
{
    QStringList kept;
    const auto removeIfAsJoined
        = [&kept](const QString &path, const QString &name, const NamedFile &asJoined) {
              const std::optional<NamedFile> now = FileSystem::fileAt(path);
              try {
                  if (now && now->identity == asJoined.identity && now->stamp == asJoined.stamp) {
                      FileSystem::deleteFile(path);
                      return;
                  }
              } catch (const AppError &) {
              }
              kept << name;
          };
    // The script first: run on what is left, it would add the pieces still there to the whole.
    removeIfAsJoined(plan.scriptPath, QFileInfo(plan.scriptPath).fileName(), plan.script);
    for (const Piece &piece : plan.pieces)
        removeIfAsJoined(joinPath(plan.folder, piece.name()), piece.name(), piece.file);
    if (kept.isEmpty()) {
        return {JoinOutcome::Kind::Joined,
                joined + QStringLiteral(" The pieces and the join script were removed.")};
    }
    return {JoinOutcome::Kind::PiecesKept,
            joined + LineEnd + QStringLiteral("Kept, as they changed since or cannot be removed: ")
                + listForMessage(kept) + u'.'};
}

JoinStop JoinRun::stopped() const
{
    return {JoinOutcome::Kind::Stopped,
            m_control.whoStopped() + QStringLiteral(", so the join stopped.")};
}

QString JoinRun::discardUnfinished()
{
    const QString nothing = LineEnd + QStringLiteral("Nothing was written.");
    if (!m_unfinished)
        return nothing;
    const bool discarded = m_unfinished->discard();
    const QString path = m_unfinished->path();
    m_unfinished.reset();
    if (discarded)
        return nothing;
    return LineEnd + QStringLiteral("The unfinished file ") + path
        + QStringLiteral(" could not be removed; remove it yourself.");
}

} // namespace modMorlend
