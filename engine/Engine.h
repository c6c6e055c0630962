#pragma once

#include "engine/EngineState.h"
#include "engine/RunControl.h"

#include <QtGlobal>

#include <functional>
#include <memory>
#include <optional>

class AppError;
struct NamedFile;
class OemCodePage;
class Platform;

namespace modMorlend {

class EngineView;
class ScriptFile;
struct CutRun;
struct FolderText;
struct StopRun;

// The cutting engine: the shared state and the procedures that plan, show and run a cut. It
// reads the user's choices from the view and shows its results there, talks to the user through
// the prompter and to the system through the platform. The program makes one for its lifetime;
// every test makes a fresh one. A run's own state is a CutRun (engine/CutRun.h), present while
// the run goes on; the engine orchestrates its steps.
class Engine
{
public:
    Engine(EngineView &view, Prompter &prompter, Platform &platform);
    ~Engine();

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
    // Writes the next piece of the source as the file at path, number index of PieceCount, into
    // a folder or onto the disk in the drive: clears the floppy first when that is asked for,
    // and on the floppy asks for the next disk (CancelRun is set when the user declines).
    void WritePiece(const QString &path, qint64 index);
    // Ends a floppy run by copying the join script from the temporary folder onto the last
    // disk, or onto one more when it will not fit; asks again after a failure. Returns
    // whether the user cancelled.
    [[nodiscard]] bool HandOverScript(const QString &fileName, const QString &temporaryScriptPath);

    // Whether a run is going on, which the window lets answer its desktop between pieces.
    bool isRunning() const { return m_run != nullptr; }
    using StopReason = RunControl::StopReason;
    // Asks the run to stop at once, leaving what a cancel at a disk prompt leaves (a piece not
    // yet whole is removed), and to say so.
    void stopRun(StopReason reason);

private:
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
    [[nodiscard]] bool cut();
    // The run, with the message for a failure shown; false when it stopped on the way.
    [[nodiscard]] bool cutReportingFailures();
    // After a run that stopped on the way: what it leaves, and what it says of it.
    void endStoppedRun();
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
    // Where the script is written while the run goes on.
    QString scriptPathFor(const QString &fileName);
    // Writes the pieces and completes the script; false when the user cancelled.
    [[nodiscard]] bool write(ScriptFile &script, const QString &fileName);
    // Writes every piece and the script's lines for it; false when the user cancelled.
    [[nodiscard]] bool writePieces(ScriptFile &script, const QString &fileName);
    // Has copy write a piece into the run's folder, making room for it once where the files
    // the user agreed to replace still hold it.
    std::optional<NamedFile> copyIntoFolder(const std::function<std::optional<NamedFile>()> &copy);
    // Copies piece index of size bytes into the output folder; returns its name.
    QString cutPiece(const QString &fileName, qint64 index, qint64 size);
    // Between two steps of a piece's copy: stops the run when the source changed, lets the
    // window answer, and tells whether the copy goes on.
    [[nodiscard]] bool betweenSteps();
    // What stops the run when the source changed while it was cut.
    StopRun sourceChanged() const;
    // Warns when the script will not fit on the last disk beside the last piece.
    void checkSpace(qint64 scriptLength, const QString &fileName);
    // path as the file system knows it: the floppy's drive name becomes its mount point.
    QString onDisk(const QString &path) const;
    // What the run says when it was stopped by the user or the session.
    QString stoppedMessage() const;
    // What a floppy run says when the user cancelled it after its first piece.
    QString cancelledOnFloppies() const;
    void showGeneralError(const AppError &error);

    EngineView &m_view;
    Prompter &m_prompter;
    Platform &m_platform;
    EngineState m_state;
    // What the window measured of the source while it takes it in.
    std::optional<qint64> m_measuredSourceLength;
    // Present while a run is going on.
    std::unique_ptr<CutRun> m_run;
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
