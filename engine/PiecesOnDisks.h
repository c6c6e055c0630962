#pragma once

#include "engine/DiskQuestions.h"
#include "engine/JoinScriptReader.h"
#include "platform/FileCopy.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class AppError;
class File;
class Platform;
struct NamedFile;

namespace modMorlend {

class RunControl;

// The pieces of a set that a floppy run spread over its disks, one a disk in the floppy's root,
// read into the whole one disk at a time. The run takes every piece of the set that the disk in
// the drive holds and that it has not read yet, and asks for the disk with the first piece it
// still lacks, so that the disks may come in any order, and the disk with the script, in the
// drive when the join starts, is not asked for again. A disk without such a piece, one that
// cannot be read, a piece that is no file or has a length the others do not allow, or a piece
// whose disk was taken out while it was read is named, and its disk asked for again.
//
// Each piece goes to its own place in the whole, which the length of the pieces before the last
// gives: the first of them read sets it. The last piece, read before any of them, waits at the
// start of the whole until that length says where it goes. Nothing is kept open on a disk between
// two prompts, so that the user can take it out.
class PiecesOnDisks
{
public:
    // After each step of a copy: the bytes of the whole read so far, and the length the whole is
    // expected to have from the pieces seen.
    using Progress = std::function<void(qint64 read, qint64 length)>;
    // Refuses, with a JoinStop, a destination without room for so many bytes more, which the
    // whole needs at least: the pieces still to be read may be longer than the ones read.
    using RoomCheck = std::function<void(qint64 bytes)>;

    // What the pieces made.
    struct Joined
    {
        qint64 length = 0;
        // The permission bits that every piece has.
        quint32 permissions = 0;
    };

    PiecesOnDisks(const Platform &platform, RunControl &control, const JoinSet &set,
                  FileCopy &copier);

    // Reads every piece of the set into whole, a new, empty file at wholePath, asking for the
    // disk with the first piece not yet read for as long as one is missing. The disk in the drive
    // is looked at first. Returns none when the user cancels at a prompt or the run is stopped.
    // Throws a JoinStop when the whole cannot be written there, an AppError when the pieces
    // cannot be joined for a reason that is no disk's.
    std::optional<Joined> readInto(File &whole, const QString &wholePath, const RoomCheck &roomFor,
                                   const Progress &progress);

private:
    // What the disk in the drive gave, in plain words, for the prompt after it.
    struct Look
    {
        QString said;
        Prompter::Icon icon = Prompter::Icon::Information;
        bool stopped = false;
    };
    // What reading one piece came to: why it was not read, when it was not.
    struct Reading
    {
        QString problem;
        bool stopped = false;
    };

    // Reads what the disk in the drive holds of the pieces still missing; first for the disk in
    // the drive when the join starts, which may hold none.
    Look lookAtTheDrive(bool first);
    // Reads piece index, named name in the floppy's root at mountPoint.
    Reading readPiece(qint64 index, const QString &name, const QString &mountPoint);
    // What the pieces read and read before, and the problems met, on the disk in the drive come
    // to for the prompt after it; first for the disk in the drive when the join starts.
    Look told(const QStringList &read, const QStringList &readBefore, const QStringList &problems,
              bool first) const;
    // Copies piece index, shown as shown and length bytes long, from source to its place in the
    // whole, which the piece may be the first to tell.
    FileCopy::Result copyToItsPlace(qint64 index, File &source, const QString &shown,
                                    qint64 length);
    // Piece index, as piece, is read whole.
    void noteRead(qint64 index, const NamedFile &piece);
    // Whether piece index, read now, waits at the start of the whole for its place.
    bool waits(qint64 index) const;
    // Why a piece shown as shown, of length bytes, cannot be piece index of this set; empty when
    // it can.
    QString whyNotOfTheSet(qint64 index, const QString &shown, qint64 length) const;
    // Copies length bytes of source into the whole from offset on, showing the progress of the
    // pieces read so far and read more.
    FileCopy::Result copy(File &source, qint64 offset, qint64 length, bool readMore);
    // Now that the length of the pieces before the last is known, a last piece waiting at the
    // start of the whole goes to its place, or, when it is longer, is read again from its disk.
    void placeWaitingLast();
    // What an error while the piece shown as shown (at path, as looked) was read says.
    QString whatWentWrong(const AppError &error, const QString &shown, const QString &path,
                          const NamedFile &looked) const;
    // Whether the piece at path is no longer the one looked at: its disk was taken out.
    bool isGone(const QString &path, const NamedFile &looked) const;
    qint64 expectedLength() const;
    qint64 firstMissing() const;

    const Platform &m_platform;
    RunControl &m_control;
    JoinSet m_set;
    FileCopy &m_copier;
    DiskQuestions m_disks;
    // Where the pieces go, while they are read.
    File *m_whole = nullptr;
    QString m_wholePath;
    RoomCheck m_roomFor;
    Progress m_progress;
    // Which pieces are read, by number from 0, and how many.
    std::vector<bool> m_read;
    qint64 m_piecesRead = 0;
    // The bytes of the whole read so far.
    qint64 m_bytesRead = 0;
    // The length of every piece before the last, once one of them is read, and which one it was.
    std::optional<qint64> m_common;
    QString m_commonFrom;
    // The length of the last piece, once it is found, and whether it waits at the start of the
    // whole.
    qint64 m_lastLength = 0;
    bool m_lastWaits = false;
    QString m_lastShown;
    // What the prompt after this disk says besides what it read: a last piece read before that
    // is not one of the set.
    QString m_notRead;
    quint32 m_permissions = 0777;
    quint32 m_lastPermissions = 0777;
};

} // namespace modMorlend
