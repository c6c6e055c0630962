#include "engine/PiecesOnDisks.h"

#include "engine/JoinOutcome.h"
#include "engine/JoinScript.h"
#include "engine/LineEnd.h"
#include "engine/PieceSet.h"
#include "engine/RunControl.h"
#include "engine/SetNames.h"
#include "engine/SizeText.h"
#include "platform/AppError.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/FloppyDrive.h"
#include "platform/Platform.h"

#include <QFile>
#include <QStringList>

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace modMorlend {

namespace {

// A file in the floppy's root as the messages name it: "A:\clip.avi.2".
QString onTheFloppy(const QString &name)
{
    return FloppyDrive::Name + FloppyDrive::Separator + name;
}

} // namespace

PiecesOnDisks::PiecesOnDisks(const Platform &platform, RunControl &control, const JoinSet &set,
                             FileCopy &copier)
    : m_platform(platform)
    , m_control(control)
    , m_set(set)
    , m_copier(copier)
    , m_disks(platform, control, u"the join"_s)
    , m_read(std::size_t(set.pieceCount), false)
{
}

std::optional<PiecesOnDisks::Joined> PiecesOnDisks::readInto(File &whole, const QString &wholePath,
                                                             const RoomCheck &roomFor,
                                                             const Progress &progress)
{
    m_whole = &whole;
    m_wholePath = wholePath;
    m_roomFor = roomFor;
    m_progress = progress;
    for (bool first = true;; first = false) {
        const Look look = lookAtTheDrive(first);
        if (look.stopped)
            return std::nullopt;
        if (m_piecesRead == m_set.pieceCount)
            return Joined {expectedLength(), m_permissions & m_lastPermissions};
        const QString request
            = u"Please insert the disk with %1."_s.arg(pieceName(m_set.fileName, firstMissing()));
        if (!m_disks.askForDisk(look.said, request, look.icon))
            return std::nullopt;
    }
}

PiecesOnDisks::Look PiecesOnDisks::lookAtTheDrive(bool first)
{
    QString mountPoint;
    try {
        if (const QString problem = m_disks.whyNoDiskIsTaken(); !problem.isEmpty())
            return {problem, Prompter::Icon::Warning};
        mountPoint = m_platform.floppyMountPoint();
    } catch (const AppError &error) {
        return {DiskQuestions::whatTheErrorSays(error, DiskQuestions::Use::Reading),
                Prompter::Icon::Warning};
    }
    QStringList read;
    QStringList readBefore;
    QStringList problems;
    const QMap<qint64, QStringList> names = pieceNamesIn(mountPoint, m_set);
    for (auto piece = names.cbegin(); piece != names.cend(); ++piece) {
        // A disk's file system that tells case apart may hold two names for one piece; the
        // floppy's holds one.
        const QString &name = piece.value().first();
        if (m_read[std::size_t(piece.key() - 1)]) {
            readBefore << onTheFloppy(name);
            continue;
        }
        const Reading reading = readPiece(piece.key(), name, mountPoint);
        if (reading.stopped)
            return {{}, Prompter::Icon::Information, true};
        if (reading.problem.isEmpty())
            read << onTheFloppy(name);
        else
            problems << reading.problem;
    }
    if (!m_notRead.isEmpty())
        problems << std::exchange(m_notRead, {});
    return told(read, readBefore, problems, first);
}

PiecesOnDisks::Look PiecesOnDisks::told(const QStringList &read, const QStringList &readBefore,
                                        const QStringList &problems, bool first) const
{
    QStringList said;
    if (!read.isEmpty()) {
        said << (read.size() == 1 ? u"File %1 read successfully."_s
                                  : u"Files %1 read successfully."_s)
                    .arg(listForMessage(read));
    }
    if (!problems.isEmpty())
        return {(said + problems).join(LineEnd), Prompter::Icon::Warning};
    if (!read.isEmpty())
        return {said.join(LineEnd), Prompter::Icon::Information};
    // The user answered without changing the disk, or offers one from the stack twice.
    if (!readBefore.isEmpty()) {
        return {(readBefore.size() == 1
                     ? u"The disk in the drive holds %1, which is read already."_s
                     : u"The disk in the drive holds %1, which are read already."_s)
                    .arg(listForMessage(readBefore)),
                Prompter::Icon::Information};
    }
    // The disk with the script alone, one more disk than the pieces took, is no wrong disk.
    if (first)
        return {};
    return {u"The disk in the drive holds no piece of %1."_s.arg(m_set.fileName),
            Prompter::Icon::Warning};
}

PiecesOnDisks::Reading PiecesOnDisks::readPiece(qint64 index, const QString &name,
                                                const QString &mountPoint)
{
    const QString shown = onTheFloppy(name);
    const QString path = mountPoint + u'/' + name;
    NamedFile looked;
    try {
        const std::optional<NamedFile> found = FileSystem::fileAt(path);
        // Listed a moment ago: the disk went since.
        if (!found)
            throw AppError(AppError::FileNotFound);
        looked = *found;
        if (const QString fault = pieceFault(mountPoint, {QFile::encodeName(name), looked});
            !fault.isEmpty())
            return {fault};
        if (const QString why = whyNotOfTheSet(index, shown, looked.stamp.length); !why.isEmpty())
            return {why};
        File source = File::openForReading(path);
        const FileCopy::Result copied = copyToItsPlace(index, source, shown, looked.stamp.length);
        if (copied.stopped)
            return {{}, true};
        const NamedFile after = source.asNamedFile();
        if (copied.copied != looked.stamp.length || after.identity != looked.identity
            || after.stamp != looked.stamp) {
            return {isGone(path, looked) ? u"The disk was taken out while %1 was read."_s.arg(shown)
                                         : u"%1 changed while it was read."_s.arg(shown)};
        }
        noteRead(index, looked);
        return {};
    } catch (const AppError &error) {
        return {whatWentWrong(error, shown, path, looked)};
    }
}

FileCopy::Result PiecesOnDisks::copyToItsPlace(qint64 index, File &source, const QString &shown,
                                               qint64 length)
{
    const bool last = index == m_set.pieceCount;
    const bool setsLength = !last && !m_common;
    if (setsLength) {
        m_common = length;
        m_commonFrom = shown;
    }
    if (last) {
        m_lastLength = length;
        m_lastShown = shown;
    }
    // What the pieces found so far say of the whole's length, it needs at least.
    m_roomFor(expectedLength() - m_bytesRead);
    if (setsLength)
        placeWaitingLast();
    return copy(source, waits(index) ? 0 : (index - 1) * m_common.value_or(0), length, true);
}

void PiecesOnDisks::noteRead(qint64 index, const NamedFile &piece)
{
    m_read[std::size_t(index - 1)] = true;
    ++m_piecesRead;
    m_bytesRead += piece.stamp.length;
    if (index == m_set.pieceCount) {
        m_lastWaits = waits(index);
        m_lastPermissions = piece.permissions;
    } else {
        m_permissions &= piece.permissions;
    }
}

bool PiecesOnDisks::waits(qint64 index) const
{
    // The last piece waits at the start of the whole until a piece before it tells where it
    // goes; the first piece takes its place only then.
    return index == m_set.pieceCount && !m_common && index > 1;
}

QString PiecesOnDisks::whyNotOfTheSet(qint64 index, const QString &shown, qint64 length) const
{
    if (!m_common)
        return {};
    if (index < m_set.pieceCount && length != *m_common) {
        return u"%1 has %2, and %3 has %4: the pieces before the last have one length."_s.arg(
            shown, formatBytes(length), m_commonFrom, formatBytes(*m_common));
    }
    if (index == m_set.pieceCount && length > *m_common) {
        return u"%1, the last piece, has %2, more than the %3 of %4."_s.arg(
            shown, formatBytes(length), formatBytes(*m_common), m_commonFrom);
    }
    return {};
}

FileCopy::Result PiecesOnDisks::copy(File &source, qint64 offset, qint64 length, bool readMore)
{
    m_whole->seek(offset);
    return m_copier.copy(source, *m_whole, length, [&](qint64 copied) {
        m_progress(m_bytesRead + (readMore ? copied : 0), expectedLength());
        return !m_control.stopAsked();
    });
}

void PiecesOnDisks::placeWaitingLast()
{
    if (!m_lastWaits)
        return;
    m_lastWaits = false;
    const qint64 count = m_set.pieceCount;
    const qint64 length = *m_common;
    if (m_lastLength > length) {
        m_notRead = u"%1, the last piece, read before, has %2, more than the %3 of %4: it is no"
                    " piece of this set."_s.arg(m_lastShown, formatBytes(m_lastLength),
                                                formatBytes(length), m_commonFrom);
        m_read[std::size_t(count - 1)] = false;
        --m_piecesRead;
        m_bytesRead -= m_lastLength;
        m_lastLength = 0;
        m_lastPermissions = 0777;
        return;
    }
    // Within the whole, which is ours: what fails here is where the whole goes, not a disk.
    try {
        File waiting = File::openForReading(m_wholePath);
        const FileCopy::Result moved = copy(waiting, (count - 1) * length, m_lastLength, false);
        if (!moved.stopped && moved.copied != m_lastLength)
            throw AppError(AppError::InputPastEndOfFile);
    } catch (const AppError &error) {
        throw JoinStop {JoinOutcome::Kind::Failed,
                        u"Joining %1 failed: %2."_s.arg(m_lastShown, error.description())};
    }
}

QString PiecesOnDisks::whatWentWrong(const AppError &error, const QString &shown,
                                     const QString &path, const NamedFile &looked) const
{
    if (isGone(path, looked))
        return u"The disk was taken out while %1 was read."_s.arg(shown);
    try {
        return DiskQuestions::whatTheErrorSays(error, DiskQuestions::Use::Reading);
    } catch (const AppError &) {
        // Not the disk's: the whole cannot be written where it goes.
        throw JoinStop {JoinOutcome::Kind::Failed,
                        u"Joining %1 failed: %2."_s.arg(shown, error.description())};
    }
}

bool PiecesOnDisks::isGone(const QString &path, const NamedFile &looked) const
{
    try {
        if (!m_disks.whyNoDiskIsTaken().isEmpty())
            return true;
        const std::optional<NamedFile> now = FileSystem::fileAt(path);
        return !now || now->identity != looked.identity || now->stamp != looked.stamp;
    } catch (const AppError &) {
        return true;
    }
}

qint64 PiecesOnDisks::expectedLength() const
{
    const qint64 count = m_set.pieceCount;
    if (m_common)
        return (count - 1) * *m_common + (m_lastLength > 0 ? m_lastLength : *m_common);
    // Only the last piece is found yet, and the pieces before it are at least as long.
    return count * m_lastLength;
}

qint64 PiecesOnDisks::firstMissing() const
{
    return qint64(std::find(m_read.cbegin(), m_read.cend(), false) - m_read.cbegin()) + 1;
}

} // namespace modMorlend
