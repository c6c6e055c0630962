#pragma once

#include "engine/EngineState.h"
#include "platform/FileCopy.h"
#include "platform/FileSystem.h"
#include "platform/FolderLock.h"
#include "platform/Prompter.h"

#include <QList>

#include <functional>
#include <optional>
#include <vector>

class AppError;
class File;
class OemCodePage;
class Platform;

namespace modMorlend {

class EngineView;
class ScriptFile;
struct FolderText;
struct StopRun;

// The cutting engine: the shared state and the procedures that plan, show and run a cut. It
// reads the user's choices from the view and shows its results there, talks to the user through
// the prompter and to the system through the platform. The program makes one for its lifetime;
// every test makes a fresh one.
class Engine
{
public:
    Engine(EngineView &view, Prompter &prompter, Platform &platform);

    EngineState &state() { return m_state; }
    const EngineState &state() const { return m_state; }

    // Recomputes the piece plan from the size box and the source, and shows it. Never fails:
    // on a failure the estimate box keeps its text and the progress display is reset.
    void UpdateEstimate();
    // The window took in a source it has just measured: while the returned object lives, the
    // estimates reuse that length rather than measure the file again. Later ones measure, since
    // the file may have changed by then, and a run always does.
    class MeasuredSource;
    [[nodiscard]] MeasuredSource measuredSource(qint64 length);
    // Shows the notice for a source on the disk to be cleared, or else the estimate.
    void RefreshEstimate();
    // Whether a run would clear the disk that holds the source: the source lies on the
    // floppy, and the controls send the pieces to the floppy's root with clearing on. The
    // window shows its notice exactly then, and the run refuses to start.
    bool clearsTheSourcesDisk() const;
    // Shows index of PieceCount pieces as written; a negative index resets the display. During
    // a run the window reaches the screen once a frame, and answers its desktop then.
    void ShowProgress(qint64 index);

    // The run behind the Cut button: cuts the source into pieces in the chosen folder or
    // across floppies and writes the join script beside them. Reports its own failures.
    void CutFile();
    // Writes the next piece of the source as the file at path, number index of PieceCount,
    // copying it through PieceBuffer where the system cannot copy it itself: clears the floppy
    // first when that is asked for, and on the floppy asks for the next disk (CancelRun is
    // set when the user declines).
    void WritePiece(const QString &path, qint64 index);
    // Ends a floppy run by copying the join script from the temporary folder onto the last
    // disk, or onto one more when it will not fit; asks again after a failure. Returns
    // whether the user cancelled.
    bool HandOverScript(const QString &fileName, const QString &temporaryScriptPath);

    // Whether a run is going on, which the window lets answer its desktop between pieces.
    bool isRunning() const { return m_run.has_value(); }
    // Why the user stops a run.
    enum class StopReason
    {
        WindowClosed,
        Escape,
    };
    // Asks the run to stop at once, leaving what a cancel at a disk prompt leaves (a piece not
    // yet whole is removed), and to say so.
    void stopRun(StopReason reason);

private:
    // A piece of this run on a disk, as it was when written.
    struct PieceOnDisk
    {
        QString path;
        FileStamp stamp;
    };
    // What a run keeps from its start to its end, beside the shared state.
    struct Run
    {
        // The file being cut, which no output of the run may be, and its stamp when opened.
        FileIdentity sourceIdentity;
        FileStamp sourceStamp;
        File *source = nullptr;
        // What copies the pieces, and where in the source the one being copied starts and
        // how long it is.
        std::optional<FileCopy> copier;
        qint64 pieceStart = 0;
        qint64 pieceLength = 0;
        // Whether the run's folder lies on the floppy, looked at once per run.
        bool outFolderOnFloppy = false;
        // The destination folder, held against other runs of the program while this one
        // writes into it.
        std::optional<FolderLock> folderLock;
        // The folders the run made, outermost first, and its join script (on disk): what a
        // run that ends before its first piece takes away again.
        QStringList madeFolders;
        QString scriptPath;
        std::optional<FileIdentity> script;
        // What each piece written is, by number, and the script as it was handed over to the
        // floppy: checked once more before the run reports that it is done.
        std::vector<NamedFile> pieces;
        // A file the run could not remove after it failed to write it whole.
        QString unfinishedFile;
        std::optional<NamedFile> scriptOnFloppy;
        // The script went onto the disk of the last piece rather than onto one more.
        bool scriptBesideLastPiece = false;
        // The pieces this run wrote into the floppy's root, one per disk.
        QList<PieceOnDisk> piecesOnDisks;
        // From the first piece on, the run works on its plan; an estimate asked for meanwhile
        // (through assistive technology, while the window answers) waits until the run ends.
        bool writingPieces = false;
        bool estimateDue = false;
        // Set when the user stops the run; it then stops between two steps of a piece.
        std::optional<StopReason> stopRequested;
        // The run ended with a failure message.
        bool failed = false;
    };
    // What a folder holds of a cut's set, the run's own pieces left out.
    struct SetNamesFound
    {
        // A file with the name the pieces join back into.
        QString joined;
        // Files with the names of pieces (of any number) or of the script, in reading order.
        QStringList names;
    };

    // Whether an estimate has to wait for the run to end.
    bool deferEstimate();
    void showEstimate();
    // Takes length as the source's and, for a size that cuts it, plans its pieces and shows the
    // estimate.
    void measureSource(qint64 length);
    void showClearedDiskNotice();

    // The length of the source as the file system has it now.
    qint64 sourceLength() const;

    // The run from its first step to its end; false when it stops on the way.
    bool cut();
    // The run, with the message for a failure shown; false when it stopped on the way.
    bool cutReportingFailures();
    // The run gives the window back to the user: shown as it stands, with what they typed
    // meanwhile, and planned again if they changed the plan during the run.
    void handBackWindow(bool estimateDue);
    // Refuses a size or a source that cuts nothing and a name the script cannot hold, and asks
    // before a cut into very many pieces; returns the source's name, or none when the user
    // cancels.
    std::optional<QString> checkRequest(const OemCodePage &codePage);
    // The destination folder that the view names, tidied, or "A:" for the floppy.
    FolderText destination() const;
    // Sets OutFolder from the view, writing a tidied folder back, and refuses to clear the
    // disk the source lies on.
    void chooseDestination();
    // Opens the source for the run, taking what it is and how it stands now.
    File openSource();
    // Makes the destination ready to be written, or returns false when the user cancels: the
    // folder exists and is held against other runs, no output is the source, and no file of
    // the user's has a name of the set (or the user agreed to replace them). Sets where the
    // script goes.
    bool prepareOutputs(const QString &fileName);
    // Makes the folders of OutFolder that are missing, noting each for discardOutputs.
    void makeFolders();
    // Takes the destination folder's lock, or refuses the run when another run holds it.
    void lockFolder();
    // What folder holds of the set of fileName. Refuses the run when a name the run writes is
    // the source or a folder.
    SetNamesFound setNamesIn(const QString &folder, const QString &fileName) const;
    // Asks once whether the files names in folder (described as where) may go, and removes them
    // when the user agrees; false when the user cancels.
    bool replaceSetNames(const QString &where, const QString &folder, const QStringList &names,
                         const QString &fileName);
    // A run that ends before its first piece takes away the script and the folders it made.
    void discardOutputs();
    // Before a run reports that it is done: every piece and the script are still the files it
    // wrote, where it wrote them; refuses the set otherwise.
    void checkTheSetIsAsWritten(const QString &fileName);
    // After a failure: what is left of the set, and that it does not rebuild the file.
    QString incompleteSet() const;
    // Writes the pieces and completes the script; false when the user cancelled.
    bool write(ScriptFile &script, const QString &fileName);
    bool writesToFloppy() const;
    // Where the script is written while the run goes on.
    QString prepareScriptPath(const QString &fileName);
    // Writes every piece and the script's lines for it; false when the user cancelled.
    bool writePieces(ScriptFile &script, const QString &fileName);
    // Copies piece index of size bytes into the output folder; returns its name.
    QString cutPiece(const QString &fileName, qint64 index, qint64 size);
    // Between two steps of a piece's copy: stops the run when the source changed, lets the
    // window answer, and tells whether the copy goes on.
    bool betweenSteps();
    // What stops the run when the source changed while it was cut.
    StopRun sourceChanged() const;
    // Warns when the script will not fit on the last disk beside the last piece.
    void checkSpace(qint64 scriptLength, const QString &fileName);
    static QString sourceWouldBeOverwritten(const QString &path);
    static QString folderInTheWay(const QString &path);
    // What stops the run when its set is not as it wrote it.
    static StopRun setChanged(const QString &path);
    // A new, empty file in the place of whatever has the name path, which must be neither the
    // source nor a folder.
    File replaceFile(const QString &path);
    // Makes the file at path anew and has fill write it; a file left unfinished (fill fails, or
    // returns false for a run that stops) is removed, as a piece cut short would pass for a
    // whole one. Returns the file as written; none when the run stopped.
    std::optional<NamedFile> makeFile(const QString &path, const std::function<bool(File &)> &fill);
    // Creates or replaces the file at path with bytes; returns the new file as written.
    NamedFile writeFile(const QString &path, const QByteArray &bytes);
    // Copies the piece the run is at from the source into a new file at path; none when the
    // run stopped on the way.
    std::optional<NamedFile> copyPiece(const QString &path);
    // The file at path as this run wrote it, which is the file identity; refuses the set when
    // another has taken its name.
    NamedFile asWritten(const QString &path, const FileIdentity &identity) const;
    // Whether path lies on the floppy, named by the drive or found in the run's folder on it.
    bool liesOnFloppy(const QString &path) const;
    // Whether the run clears each disk before its piece: only when it writes to the floppy's
    // root.
    bool clearsDisks() const;
    // Asks for disk number index until the drive holds none that this run wrote a piece on;
    // false when the user cancels.
    bool awaitDiskWithoutPiece(qint64 index);
    // Says why on a line of its own and asks for floppy number index (OK/Cancel); true when the
    // user answers OK.
    bool askForDisk(const QString &why, qint64 index, Prompter::Icon icon);
    // The piece of this run that the disk in the drive holds; empty when it holds none.
    QString pieceInDrive() const;
    // Writes the piece the run is at onto the disk in the drive, asking for another disk for
    // as long as the one there cannot take it; none when the user cancels or the run stops.
    std::optional<NamedFile> copyPieceOntoADisk(const QString &path, qint64 index);
    // Why the disk in the drive cannot take a piece of length bytes (number index), once
    // cleared or as it is; empty when it can, or cannot tell.
    QString whyTheDiskCannotHold(qint64 length, qint64 index, bool cleared) const;
    // What an error while the disk was used says of the disk, in plain words; an error that is
    // not the disk's is thrown on.
    QString whatWentWrongOnTheDisk(const AppError &error, qint64 index);
    // Whether name on the disk in the drive is a piece this run wrote.
    bool isOwnPieceInDrive(const QString &name) const;
    // Whether the disk in the drive is the one with piece.
    bool isInDrive(const PieceOnDisk &piece) const;
    // What the run says of a disk with a file of the name the pieces join back into.
    static QString joinedNameOnDisk(const QString &name);
    // Makes sure that the disk in the drive holds no file with a name of the set, asking for
    // another disk (number index) or whether they may go; false when the user cancels.
    bool awaitDiskWithoutSetNames(qint64 index, const QString &fileName);
    void clearFloppy();
    // path as the file system knows it: the floppy's drive name becomes its mount point.
    QString onDisk(const QString &path) const;
    // Whether the run is to stop after the piece it writes: the window is being closed, or
    // the program was sent a stop signal.
    bool stopAsked() const;
    // What the run says when it stopped for that.
    QString stoppedMessage() const;
    // What a floppy run says when the user cancelled it after its first piece.
    QString cancelledOnFloppies() const;
    // For a floppy run that ends with pieces on disks: where the join script stays, on a line of
    // its own; empty otherwise.
    QString scriptLeftBehind() const;
    // Every message goes through here: the window is shown as it stands behind the box.
    Prompter::Reply ask(const Prompter::Message &message);
    // "An error #", the number, " occured:", a line end and the description.
    static QString errorLines(const AppError &error);
    void showGeneralError(const AppError &error);

    EngineView &m_view;
    Prompter &m_prompter;
    Platform &m_platform;
    EngineState m_state;
    // What the window measured of the source while it takes it in.
    std::optional<qint64> m_measuredSourceLength;
    // Present while a run is going on.
    std::optional<Run> m_run;
};

class Engine::MeasuredSource
{
public:
    MeasuredSource(Engine &engine, qint64 length);
    ~MeasuredSource();
    MeasuredSource(const MeasuredSource &) = delete;
    MeasuredSource &operator=(const MeasuredSource &) = delete;

private:
    Engine &m_engine;
};

} // namespace modMorlend
