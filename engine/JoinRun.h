#pragma once

#include "engine/JoinOutcome.h"
#include "engine/JoinScriptReader.h"
#include "engine/PieceSet.h"
#include "platform/FileSystem.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

class File;
class OemCodePage;
class OpenFolder;
class Platform;

namespace modMorlend {

class RunControl;
class UnfinishedFile;

// A join script and its pieces as they were read and looked at.
struct JoinPlan
{
    // The script as the file system knows it, and what it was when read.
    QString scriptPath;
    NamedFile script;
    JoinSet set;
    // The script's folder, which holds the pieces, and the same held open.
    QString folder;
    std::shared_ptr<const OpenFolder> opened;
    std::vector<Piece> pieces;
    // The length of the whole.
    qint64 length = 0;
    // The script lies in the floppy's root, whose disk lacks some of its pieces: they are on
    // other disks, which the join asks for one after another (PiecesOnDisks). Nothing on the
    // disk is held open, and the pieces and the length are known only once they are read.
    bool onDisks = false;
};

// What the user asks a join to do.
struct JoinRequest
{
    QString scriptPath;
    // The folder the whole is written into; empty for the script's own, as the script would.
    QString folder;
    // The pieces and the script are removed once the whole is written.
    bool removePieces = false;
};

// Joins the pieces of a join script into the whole here, as running the script would, without
// running anything: the script is read (JoinScriptReader) and its set looked at before anything
// is written. The whole is written under a temporary name in its folder and takes its name only
// once it is complete, so that a failure, Escape or a stop signal leaves nothing behind and
// nothing of the user's changed. The pieces and the script are kept unless the user asks for
// them to be removed.
class JoinRun
{
public:
    JoinRun(RunControl &control, const Platform &platform);
    ~JoinRun();

    // Reads the script at scriptPath and looks at its pieces, changing nothing and asking
    // nothing: what a join would join, or why it would not.
    std::variant<JoinPlan, JoinOutcome> look(const QString &scriptPath) const;

    // After each step of the copy: the bytes of the whole written so far, of its length.
    using Progress = std::function<void(qint64 written, qint64 length)>;
    // Reads and looks again (the files may have changed since a look), asks before it replaces
    // a file of the joined name, and joins.
    JoinOutcome join(const JoinRequest &request, const Progress &progress);

private:
    // Where the whole goes: the folder as the file system knows it and as the user named it, and
    // the whole's path there.
    struct Destination
    {
        QString folder;
        QString shownFolder;
        QString target;
    };

    JoinPlan plan(const QString &scriptPath) const;
    // Reads the script named scriptPath, at path, as script; refuses one that is missing, no
    // file, unreadable or not one that a cut writes.
    static JoinSet readScript(const QString &scriptPath, const QString &path,
                              const OemCodePage &codePage, NamedFile &script);
    // Whether folder is the root of the floppy disk in the drive.
    bool isFloppysRoot(const QString &folder) const;
    JoinOutcome joinAndReport(const JoinRequest &request, const Progress &progress);
    // Joins a set whose pieces are on floppy disks into the folder the request names.
    JoinOutcome joinFromDisks(const JoinRequest &request, const JoinPlan &plan,
                              const Progress &progress);
    // The folder the request names, which must be one with room for the whole.
    Destination destinationOf(const JoinRequest &request, const JoinPlan &plan) const;
    // Writes the whole under its temporary name, through fill, which copies the pieces into the
    // file and returns the permission bits they share, and gives it its name; agreed is the
    // file of that name the user agreed to replace, and piecesGo whether the pieces go
    // afterwards.
    void writeWhole(const Destination &destination, std::optional<FileIdentity> agreed,
                    bool piecesGo, const std::function<quint32(File &whole)> &fill);
    // Refuses a folder that lacks room for length bytes more, which the whole needs, or needs
    // at least.
    static void checkRoom(const QString &folder, const QString &shownFolder, qint64 length,
                          bool atLeast = false);
    // Asks whether the file at target may be replaced, and returns it; none when nothing has
    // the name. Throws when the user declines, or a folder has it.
    std::optional<FileIdentity> askToReplace(const QString &target, bool appearedMeanwhile);
    void copyPieces(const JoinPlan &plan, const Progress &progress);
    // Gives the complete whole its name, replacing only the file the user agreed to replace.
    void putInPlace(const QString &target, std::optional<FileIdentity> agreed);
    // Removes the script, then the pieces that are still as they were joined; the outcome says
    // what it kept.
    JoinOutcome removePieces(const JoinPlan &plan, const QString &joined);
    JoinStop stopped() const;
    // Removes the unfinished whole; what the user must know when it cannot be removed.
    QString discardUnfinished();

    RunControl &m_control;
    const Platform &m_platform;
    // What the pieces pass through where the system cannot copy them itself.
    QByteArray m_buffer;
    std::unique_ptr<UnfinishedFile> m_unfinished;
};

} // namespace modMorlend
