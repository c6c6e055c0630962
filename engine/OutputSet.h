#pragma once

#include "platform/FileSystem.h"
#include "platform/FolderLock.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class Platform;

namespace modMorlend {

class RunControl;
struct EngineState;
struct StopRun;

// The files a run writes, as a set that someone will join later: the destination made ready
// before anything in it changes (the folder made and held against other runs, the names of the
// set looked at once and the user asked about them), what the run wrote, what a run that ends
// before its first piece takes away again, and the check of the whole before the run says done.
class OutputSet
{
public:
    // What a folder holds of a cut's set.
    struct NamesFound
    {
        // A file with the name the pieces join back into.
        QString joined;
        // Files with the names of pieces (of any number) or of the script, in reading order.
        QStringList names;
    };

    OutputSet(const Platform &platform, const EngineState &state, RunControl &control);

    // Whether the run writes onto the floppy's root, one piece a disk, rather than into a folder.
    [[nodiscard]] bool writesToFloppy() const;
    // Looks once per run whether the run's folder lies on the floppy: a run's folder holds
    // thousands of pieces, each of which would otherwise pay for a look at the mount table.
    void lookAtFolder();
    [[nodiscard]] bool folderLiesOnFloppy() const { return m_folderOnFloppy; }
    // Whether path lies on the floppy, named by the drive or found in the run's folder on it.
    [[nodiscard]] bool liesOnFloppy(const QString &path) const;
    // Whether path is in the run's folder, whose names of the set were looked at and answered
    // for before the run began and which the run holds against other runs.
    [[nodiscard]] bool isInRunFolder(const QString &path) const;

    // Makes the destination ready to be written, or returns false when the user cancels: the
    // folder exists and is held against other runs, no output is the source (the file with
    // identity source), and no file of the user's has a name of the set of fileName (or the user
    // agreed to replace them). scriptPath says where the script goes while the run writes.
    [[nodiscard]] bool prepare(const QString &fileName, const QString &scriptPath,
                               const FileIdentity &source);
    const QString &scriptPath() const { return m_scriptPath; }
    // The script was made: the file with identity script.
    void noteScript(const FileIdentity &script) { m_script = script; }
    // The next piece was written, as it was then. With the first one the run holds all it needs,
    // and the files set aside for it go for good.
    void notePiece(const NamedFile &piece);
    [[nodiscard]] qint64 piecesWritten() const { return qint64(m_pieces.size()); }
    // The script was handed over to the floppy, beside the last piece or onto one more disk.
    void noteScriptOnFloppy(const NamedFile &script, bool besideLastPiece);

    // What folder holds of the set of fileName. Refuses the run when a name the run writes is
    // the source or a folder.
    NamesFound setNamesIn(const QString &folder, const QString &fileName) const;
    // Asks once whether the files names in folder (described as where) may go; false when the
    // user cancels. In a folder they are set aside, under names of their own there, until the run
    // has its first piece, so that a run that ends before it puts them back; a floppy's are
    // removed, since the piece needs their room on the disk.
    [[nodiscard]] bool replaceSetNames(const QString &where, const QString &folder,
                                       const QStringList &names, const QString &fileName);
    // The files set aside still hold their room until the first piece is whole. When the disk
    // is too full for a first piece of length bytes and removing them makes the room, removes
    // them and returns true; otherwise leaves them.
    [[nodiscard]] bool makeRoomFor(qint64 length);
    // Refuses the run when path, links followed, is the file being cut.
    void refuseIfSource(const QString &path) const;

    // A run that ends before its first piece takes away the script and the folders it made, and
    // puts back what it set aside.
    void discard();
    // After a folder run: when the disk has less room than joining the pieces there takes, what
    // the user should know before joining them there; empty otherwise.
    QString roomToJoin() const;
    // Before a run reports that it is done: every piece and the script are still the files it
    // wrote, where it wrote them; refuses the set otherwise.
    void checkAsWritten(const QString &fileName) const;
    // The file at path as this run wrote it, which is the file identity; refuses the set when
    // another has taken its name.
    NamedFile asWritten(const QString &path, const FileIdentity &identity) const;

    // After a failure: what is left of the set, and that it does not rebuild the file; empty
    // when no piece was written.
    QString incompleteSet() const;
    // For a floppy run that ends with pieces on disks: where the join script stays, on a line
    // of its own; empty otherwise.
    QString scriptLeftBehind() const;

    static QString folderInTheWay(const QString &path);

private:
    // A file the user agreed to replace, under the name it was set aside as.
    struct SetAside
    {
        QString path;
        QString asidePath;
        qint64 length = 0;
    };

    // Refuses the run when a name of the set would be longer than the volume of the run's folder
    // (or the temporary folder, for the floppy's script) allows.
    void checkNameLengths(const QString &fileName) const;
    void setAside(const QString &path);
    void putBackSetAside();
    void removeSetAside();
    // Makes the folders of the run's folder that are missing, noting each for discard.
    void makeFolders();
    // Takes the run's folder's lock, or refuses the run when another run holds it.
    void lockFolder();
    static StopRun setChanged(const QString &path);
    QString onDisk(const QString &path) const;

    const Platform &m_platform;
    const EngineState &m_state;
    RunControl &m_control;
    bool m_folderOnFloppy = false;
    FileIdentity m_source;
    // The run's folder, held against other runs while this one writes into it.
    std::optional<FolderLock> m_folderLock;
    // The folders the run made, outermost first, and its join script (on disk): what a run that
    // ends before its first piece takes away again.
    QStringList m_madeFolders;
    QString m_scriptPath;
    std::optional<FileIdentity> m_script;
    // What each piece written is, by number, and the script as it was handed over to the
    // floppy: checked once more before the run reports that it is done.
    std::vector<NamedFile> m_pieces;
    std::optional<NamedFile> m_scriptOnFloppy;
    bool m_scriptBesideLastPiece = false;
    std::vector<SetAside> m_setAside;
};

} // namespace modMorlend
