#pragma once

#include "EngineControls.h"
#include "EngineState.h"
#include "FileSystem.h"
#include "Prompter.h"
#include "RunPacer.h"

#include <QList>

class AppError;
class File;
class Platform;

namespace modMorlend {

class ScriptFile;

// The cutting engine: the shared state and the procedures that plan, show and run a cut. It
// talks to the user through the prompter and to the system through the platform. The program
// makes one for its lifetime; every test makes a fresh one.
class Engine
{
public:
    Engine(const EngineControls &controls, Prompter &prompter, Platform &platform);

    EngineState &state() { return m_state; }
    const EngineState &state() const { return m_state; }

    // Recomputes the piece plan from the size box and the source, and shows it. Never fails:
    // on a failure the estimate box keeps its text and the progress display is reset.
    void UpdateEstimate();
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
    // Writes PieceBuffer as the piece at path, number index of PieceCount: clears the floppy
    // first when that is asked for, and on the floppy asks for the next disk (CancelRun is
    // set when the user declines).
    void WritePiece(const QString &path, qint64 index);
    // Ends a floppy run by copying the join script from the temporary folder onto the last
    // disk, or onto one more when it will not fit; asks again after a failure. Returns
    // whether the user cancelled.
    bool HandOverScript(const QString &fileName, const QString &temporaryScriptPath);

    // Whether a run is going on, which the window lets answer its desktop between pieces.
    bool isRunning() const { return m_running; }
    // Asks the run to stop once the piece it writes is whole, leaving what a cancel at a disk
    // prompt leaves, and to say so; for a window that is being closed.
    void stopRun();
    // What keeps the window alive during a run; tests give it a clock.
    RunPacer &pacer() { return m_pacer; }

private:
    // A piece of this run on a disk, as it was when written.
    struct PieceOnDisk
    {
        QString path;
        FileStamp stamp;
    };

    // Whether an estimate has to wait for the run to end.
    bool deferEstimate();
    void showEstimate();
    // Measures the source and, for a size that cuts it, plans its pieces and shows the
    // estimate.
    void measureSource();
    void showClearedDiskNotice();

    // The run from its first step to its end; false when it stops on the way.
    bool cut();
    // The run, with the message for a failure shown; false when it stopped on the way.
    bool cutReportingFailures();
    // The run gives the window back to the user: shown as it stands, with what they typed
    // meanwhile, and planned again if they changed the plan during the run.
    void handBackWindow();
    // The destination folder that the controls name, tidied, or "A:" for the floppy.
    QString destinationFolder() const;
    // Sets OutFolder from the destination controls, writing a tidied folder back.
    void chooseDestination();
    bool writesToFloppy() const;
    QString prepareScriptPath(const QString &fileName);
    // Writes every piece and the script's lines for it; false when the user cancelled.
    bool writePieces(File &source, ScriptFile &script, const QString &fileName);
    // Reads piece index of size bytes and writes it into the output folder; returns its name.
    QString cutPiece(File &source, const QString &fileName, qint64 index, qint64 size);
    // Reads the next size bytes of the source into PieceBuffer.
    void readPiece(File &source, qint64 size);
    // What the run says when the source changed while it was cut.
    QString sourceChanged() const;
    // Warns when the script will not fit on the last disk beside the last piece.
    void checkSpace(qint64 scriptLength, const QString &fileName);
    // Refuses the run when a file it would write already exists as the source under another
    // name, before anything is written.
    void checkOutputsAreNotTheSource(const QString &fileName, const QString &scriptPath);
    static QString sourceWouldBeOverwritten(const QString &path);
    // A new, empty file in the place of whatever has the name path, which must be neither the
    // source nor a folder.
    File replaceFile(const QString &path);
    // Creates or replaces the file at path with bytes.
    void writeFile(const QString &path, const QByteArray &bytes);
    // Whether path lies on the floppy, named by the drive or found in the run's folder on it.
    bool liesOnFloppy(const QString &path) const;
    // Whether "Clear disk before copying" is enabled and ticked.
    bool clearingIsOn() const;
    // Whether the run clears each disk before its piece: only when it writes to the floppy's
    // root.
    bool clearsDisks() const;
    // Asks for disk number index until the drive holds none that this run wrote a piece on;
    // false when the user cancels.
    bool awaitDiskWithoutPiece(qint64 index);
    // The piece of this run that the disk in the drive holds; empty when it holds none.
    QString pieceInDrive() const;
    void clearFloppy();
    // path as the file system knows it: the floppy's drive name becomes its mount point.
    QString onDisk(const QString &path) const;
    // What the run says when it stopped because the window is being closed.
    QString stoppedForClosing() const;
    // Every message goes through here: the window is shown as it stands behind the box.
    Prompter::Reply ask(const Prompter::Message &message);
    // "An error #", the number, " occured:", a line end and the description.
    static QString errorLines(const AppError &error);
    void showGeneralError(const AppError &error);

    EngineControls m_controls;
    Prompter &m_prompter;
    Platform &m_platform;
    EngineState m_state;
    // The file being cut, which no output of the run may be, and its stamp when it was opened.
    FileIdentity m_sourceIdentity;
    FileStamp m_sourceStamp;
    // Whether the run's folder lies on the floppy, looked at once per run.
    bool m_outFolderOnFloppy = false;
    // The pieces this run wrote into the floppy's root, one per disk.
    QList<PieceOnDisk> m_piecesOnDisks;
    RunPacer m_pacer;
    bool m_running = false;
    // From the first piece on, the run works on its plan; an estimate asked for meanwhile
    // (through assistive technology, while the window answers) waits until the run ends.
    bool m_writingPieces = false;
    bool m_estimateDue = false;
    // The piece after which the run stopped because the window is being closed; 0 while it
    // was not asked to stop.
    qint64 m_stoppedAfter = 0;
    bool m_stopRequested = false;
};

} // namespace modMorlend
