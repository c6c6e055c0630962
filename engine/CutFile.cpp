#include "engine/CutRun.h"
#include "engine/Engine.h"
#include "engine/EngineView.h"
#include "engine/FolderText.h"
#include "engine/JoinScript.h"
#include "engine/MessageText.h"
#include "engine/NameRules.h"
#include "engine/PathHelpers.h"
#include "engine/PiecePlan.h"
#include "engine/ScriptFile.h"
#include "engine/SizeText.h"
#include "engine/StopRun.h"
#include "platform/AppError.h"
#include "platform/File.h"
#include "platform/FloppyDrive.h"
#include "platform/OemCodePage.h"
#include "platform/Platform.h"
#include "platform/StopSignals.h"

#include <QLocale>
#include <QScopedValueRollback>

#include <cstdio>
#include <cstring>
#include <new>

using namespace Qt::StringLiterals;

// The cutting run: its steps in order, and how it ends. What the steps keep is a CutRun; the
// set's outputs, the writing of each file and the floppy's disks are classes of their own.
namespace modMorlend {

namespace {

constexpr qint64 SectorSize = 512;
// More pieces than any disk or upload limit needs: a cut into more asks first.
constexpr qint64 ManyPieces = 100000;
// Only a few characters of what was typed are quoted back; a pasted page is not.
constexpr qsizetype QuotedSizeLength = 40;

// Why the size box's text is no piece size, from the error that reading it raised.
QString sizeRefusal(const QString &text, const AppError &error)
{
    QString quoted = text.simplified();
    if (quoted.size() > QuotedSizeLength)
        quoted = quoted.first(QuotedSizeLength - 1) + u'\u2026';
    if (error.number() == AppError::Overflow) {
        return u"The size \"%1\" is too large: a piece has at most %2."_s.arg(
            quoted, formatBytes(LargestPiece));
    }
    return lines({
        u"The size \"%1\" is not understood."_s.arg(quoted),
        u"Type the bytes of a piece, or a number and a unit, as in %1 (K, M and G count 1024s,"
        " KB, MB and GB 1000s)."_s.arg(pieceSizeExamples()),
    });
}

} // namespace

void Engine::CutFile()
{
    // The window answers its desktop during a run, and assistive technology can press Cut
    // then; a run inside the run would cut the same file into the same pieces twice over.
    if (m_run)
        return;
    m_run = std::make_unique<CutRun>(m_view, m_prompter, m_platform, m_state);
    const StopSignals::DuringRun noteStopSignals;
    if (!cutReportingFailures())
        endStoppedRun();
    const bool estimateDue = m_run->estimateDue;
    m_run.reset();
    // The buffer is a run's alone.
    m_state.PieceBuffer = QByteArray();
    handBackWindow(estimateDue);
}

bool Engine::cutReportingFailures()
{
    try {
        return cut();
    } catch (const StopRun &stop) {
        m_run->failed = true;
        const QString set = stop.explainsTheSet ? QString() : m_run->outputs.incompleteSet();
        m_run->control.tell({stop.message + set, Prompter::Icon::Error});
    } catch (const AppError &error) {
        m_run->failed = true;
        showGeneralError(error);
    } catch (const std::bad_alloc &) {
        m_run->failed = true;
        showGeneralError(AppError(AppError::OutOfMemory));
    }
    return false;
}

void Engine::endStoppedRun()
{
    CutRun &run = *m_run;
    // The run's files closed as it unwound, but for the source, which a message after the run
    // must not keep open on a disk the user may take out.
    run.source.reset();
    // One that ended before its first piece leaves the destination as it found it, and a
    // floppy run's script that joins no piece goes with the run.
    const qint64 written = run.outputs.piecesWritten();
    if (written == 0 || (run.outputs.writesToFloppy() && run.piecesInScript == 0))
        run.outputs.discard();
    // A floppy run's pieces are on disks the user has put away: the progress shows how many,
    // and the run tells where the script stays.
    const qint64 onDisks = run.outputs.writesToFloppy() ? written : 0;
    ShowProgress(onDisks > 0 ? onDisks : -1);
    if (run.failed)
        return;
    if (run.control.stopAsked())
        run.control.tell({stoppedMessage(), Prompter::Icon::Information});
    else if (onDisks > 0)
        run.control.tell({cancelledOnFloppies(), Prompter::Icon::Information});
}

void Engine::handBackWindow(bool estimateDue)
{
    m_view.endRun();
    if (estimateDue)
        RefreshEstimate();
}

void Engine::stopRun(StopReason reason)
{
    if (m_run)
        m_run->control.requestStop(reason);
}

QString Engine::stoppedMessage() const
{
    const QString who = m_run->control.whoStopped();
    const qint64 written = m_run->outputs.piecesWritten();
    if (written == 0)
        return u"%1, so the cut stopped before its first piece. Nothing was written."_s.arg(who);
    return lines({
               u"%1, so the cut stopped after piece %2 of %3."_s.arg(
                   who, QString::number(written), QString::number(m_state.PieceCount)),
               u"The pieces written so far and the join script as far as it goes are kept; they"
               " do not rebuild the whole file."_s,
           })
        + m_run->outputs.scriptLeftBehind();
}

QString Engine::cancelledOnFloppies() const
{
    const qint64 written = m_run->outputs.piecesWritten();
    if (written < m_state.PieceCount) {
        return u"The cut was cancelled after piece %1 of %2. The pieces on the disks do not"
               " rebuild the file; cut it again."_s.arg(QString::number(written),
                                                        QString::number(m_state.PieceCount))
            + m_run->outputs.scriptLeftBehind();
    }
    return u"All %1 pieces are on their disks, but the join script is not: it is the file %2,"
           " and the disks cannot be joined without it. Copy it onto a disk as %3."_s.arg(
               QString::number(written), onDisk(m_run->outputs.scriptPath()),
               scriptName(GetFileName(m_state.SourcePath)));
}

bool Engine::cut()
{
    CutRun &run = *m_run;
    const OemCodePage codePage = OemCodePage::forLocale(QLocale());
    const std::optional<QString> request = checkRequest(codePage);
    if (!request)
        return false;
    const QString &fileName = *request;
    m_state.DeleteLine.clear();
    chooseDestination();
    m_state.NeedExtraDisk = false;
    m_state.CancelRun = false;
    m_view.startProgress(m_state.PieceCount);

    run.source.emplace(onDisk(m_state.SourcePath));
    if (run.source->stamp().length != m_state.SourceSize)
        throw sourceChanged();
    run.writer.shareAs(run.source->sharing());
    if (!run.outputs.prepare(fileName, scriptPathFor(fileName), run.source->identity()))
        return false;
    const QString &scriptPath = run.outputs.scriptPath();
    // A floppy run's script waits under a name that no other run has, and that none takes.
    ScriptFile script(run.outputs.writesToFloppy() ? run.writer.createNewFile(scriptPath)
                                                   : run.writer.replaceFile(scriptPath),
                      onDisk(scriptPath), codePage);
    run.outputs.noteScript(script.identity());
    script.write(headerLine() + LineEnd);
    if (!write(script, fileName)) {
        script.close();
        return false;
    }
    run.source->close();
    if (run.outputs.liesOnFloppy(scriptPath))
        script.flushToDisk(m_platform);
    script.close();
    if (run.outputs.writesToFloppy() && HandOverScript(fileName, scriptPath))
        return false;
    run.outputs.checkAsWritten(fileName);
    if (const QString room = run.outputs.writesToFloppy() ? QString() : run.outputs.roomToJoin();
        !room.isEmpty())
        run.control.tell({room, Prompter::Icon::Warning});
    return true;
}

std::optional<QString> Engine::checkRequest(const OemCodePage &codePage)
{
    const QString sizeText = m_view.pieceSizeText();
    try {
        m_state.PieceSize = parsePieceSize(sizeText);
    } catch (const AppError &error) {
        throw StopRun {sizeRefusal(sizeText, error)};
    }
    // "Files size" is the message's own wording, which users know it by.
    if (m_state.PieceSize == 0)
        throw StopRun {u"Files size is 0."_s};
    if (m_state.PieceSize < 0)
        throw StopRun {u"Files size is negative."_s};
    // The source may have changed since the estimate measured it, and pieces cut to an old
    // length would lose its tail or come out short.
    if (!m_state.SourcePath.isEmpty()) {
        measureSource(sourceLength());
        m_view.showSource(m_state.SourcePath, m_state.SourceSize);
    }
    if (m_state.SourceSize == 0)
        throw StopRun {u"Source file size is 0."_s};

    const QString fileName = GetFileName(m_state.SourcePath);
    if (const std::optional<QString> refusal = refusalOfName(fileName, codePage))
        throw StopRun {*refusal};
    // A size typed without its unit ("25" meant as 25 MB) cuts a file into millions of files,
    // which no disk or upload limit asks for and which take long to write and to clear away.
    // Enter answers Cancel, so that the key that started the cut does not answer for the user.
    if (m_state.PieceCount > ManyPieces) {
        const Prompter::Message question {
            lines({
                u"Pieces of %1 cut %2 into %3 files."_s.arg(
                    formatBytes(m_state.PieceSize), fileName, formatCount(m_state.PieceCount)),
                u"OK cuts it so. Cancel writes nothing: a size with a unit, as in 25M (%1), gives"
                " larger pieces."_s.arg(formatBytes(25 * 1024 * 1024)),
            }),
            Prompter::Icon::Warning, Prompter::Buttons::OkCancel, Prompter::DefaultTitle, true};
        if (m_run->control.ask(question) == Prompter::Reply::Cancel)
            return std::nullopt;
    }
    return fileName;
}

FolderText Engine::destination() const
{
    if (!m_view.writesIntoFolder())
        return {FloppyDrive::Name, {}};
    return readFolderText(m_view.folderText(), m_platform.homeFolder());
}

void Engine::chooseDestination()
{
    const FolderText destination = this->destination();
    // Before anything is written: a folder relative to whatever folder the program happened to
    // start in is no place the user could find again.
    if (!destination.refusal.isEmpty())
        throw StopRun {destination.refusal};
    m_state.OutFolder = destination.folder;
    // The window handles this write as it handles the user's edits, and plans the cut again
    // before the run goes on.
    if (m_view.writesIntoFolder())
        m_view.setFolderText(m_state.OutFolder);
    OutputSet &outputs = m_run->outputs;
    outputs.lookAtFolder();
    if (m_view.clearBoxIsOn() && !outputs.writesToFloppy() && outputs.folderLiesOnFloppy()) {
        m_run->control.tell({u"The floppy will not be cleared: the pieces go into the folder %1"
                             " on it, and clearing would remove them."_s.arg(m_state.OutFolder),
                             Prompter::Icon::Information});
    }
    if (clearsTheSourcesDisk()) {
        // The window's notice says the same, and a run it refuses must not leave it hidden.
        showClearedDiskNotice();
        throw StopRun {lines({
            u"The file to cut is on the floppy, which would be cleared before its first piece is"
            " written."_s,
            u"Untick \"Clear disk before copying\" or move the file to another disk, and cut"
            " again."_s,
        })};
    }
}

bool Engine::clearsTheSourcesDisk() const
{
    if (!m_view.clearBoxIsOn() || m_state.SourcePath.isEmpty()
        || !m_platform.isOnFloppy(m_state.SourcePath))
        return false;
    try {
        return FloppyDrive::isName(destination().folder);
    } catch (const AppError &) {
        // No folder typed yet: nothing would be written, let alone cleared.
        return false;
    }
}

QString Engine::scriptPathFor(const QString &fileName)
{
    if (!m_run->outputs.writesToFloppy())
        return joinPath(m_state.OutFolder, scriptName(fileName));
    // Disks come and go while the run writes, so the script waits on a disk that stays.
    m_state.InterpreterPath = m_platform.interpreterPath();
    return FloppyDisks::waitingScriptPath(m_platform, m_platform.temporaryFolder(), fileName);
}

bool Engine::write(ScriptFile &script, const QString &fileName)
{
    if (!writePieces(script, fileName))
        return false;
    if (m_run->outputs.writesToFloppy())
        checkSpace(script.length(), fileName);
    return true;
}

bool Engine::writePieces(ScriptFile &script, const QString &fileName)
{
    const QScopedValueRollback writing(m_run->writingPieces, true);
    for (qint64 index = 1; index < m_state.PieceCount; ++index) {
        const QString piece = cutPiece(fileName, index, m_state.PieceSize);
        if (m_state.CancelRun)
            return false;
        if (index == 1) {
            m_state.JoinLine = renameLine(fileName);
        } else {
            m_state.JoinLine = appendLine(fileName, piece);
            m_state.DeleteLine = deleteLine(piece);
        }
        script.write(m_state.JoinLine + LineEnd);
        if (!m_state.DeleteLine.isEmpty())
            script.write(m_state.DeleteLine + LineEnd);
        m_run->piecesInScript = index;
        // A stop asked for as a piece became whole keeps that piece in the set.
        if (m_run->control.stopAsked()) {
            m_state.CancelRun = true;
            return false;
        }
    }

    const qint64 last = lastPieceSize(m_state.SourceSize, m_state.PieceCount, m_state.PieceSize);
    const QString piece = cutPiece(fileName, m_state.PieceCount, last);
    if (m_state.CancelRun)
        return false;
    ShowProgress(m_state.PieceCount);

    if (m_state.PieceCount < 2) {
        m_state.JoinLine = renameLine(fileName);
        m_state.DeleteLine = deleteLine(scriptName(fileName));
    } else {
        m_state.JoinLine = appendLine(fileName, piece);
        m_state.DeleteLine = deleteLine(piece) + LineEnd + deleteLine(scriptName(fileName));
    }
    script.write(m_state.JoinLine + LineEnd);
    script.write(m_state.DeleteLine);
    m_run->piecesInScript = m_state.PieceCount;
    return true;
}

QString Engine::cutPiece(const QString &fileName, qint64 index, qint64 size)
{
    const QString piece = pieceName(fileName, index);
    m_run->pieceStart = (index - 1) * qint64(m_state.PieceSize);
    m_run->pieceLength = size;
    WritePiece(joinPath(m_state.OutFolder, piece), index);
    return piece;
}

void Engine::WritePiece(const QString &path, qint64 index)
{
    CutRun &run = *m_run;
    // A piece of minutes fills its part of the progress box as it is copied.
    const FileCopy::AfterStep afterStep = [this, &run, index](qint64 done) {
        m_view.showPieceProgress(index - 1, double(done) / double(run.pieceLength));
        return betweenSteps();
    };
    const auto copy = [&] {
        return run.writer.copyPiece(path, run.source->file(), run.pieceStart, run.pieceLength,
                                    afterStep);
    };
    const bool intoFloppysRoot = FloppyDrive::isName(GetFolder(path));
    const std::optional<NamedFile> piece = intoFloppysRoot
        ? run.disks.copyPieceOntoADisk(index, run.pieceLength, copy)
        : copyIntoFolder(copy);
    if (!piece) {
        m_state.CancelRun = true;
        return;
    }
    run.outputs.notePiece(*piece);
    ShowProgress(index);
    // Asked to stop as the piece became whole: the run stops once its lines are in the script,
    // without asking for another disk.
    if (run.control.stopAsked() || !intoFloppysRoot)
        return;
    run.disks.notePieceOnDisk(path);
    if (index == m_state.PieceCount)
        return;
    const bool nextDiskIn = run.disks.askForDisk(u"File %1 written successfully."_s.arg(path),
                                                 index + 1, Prompter::Icon::Information);
    // A stop asked for while the prompt waited (the window closed, the session ending) keeps
    // this whole piece in the script and ends the run before the next; Cancel leaves the piece
    // out of the script, as it always did.
    if (!nextDiskIn && !run.control.stopAsked())
        m_state.CancelRun = true;
}

std::optional<NamedFile>
Engine::copyIntoFolder(const std::function<std::optional<NamedFile>()> &copy)
{
    try {
        return copy();
    } catch (const AppError &error) {
        // The files the user agreed to replace keep their room until the first piece is whole;
        // a disk that only they fill gets it back, and the piece is written again.
        if (error.number() != AppError::DiskFull || !m_run->outputs.makeRoomFor(m_run->pieceLength))
            throw;
    }
    return copy();
}

bool Engine::HandOverScript(const QString &fileName, const QString &temporaryScriptPath)
{
    return m_run->disks.handOverScript(fileName, temporaryScriptPath);
}

bool Engine::betweenSteps()
{
    // Bytes appended or changed in place while a prompt waited would be missing from the
    // pieces or mixed into them. Looking after every step stops the run at the next one
    // rather than at the last disk.
    if (m_run->source->hasChanged())
        throw sourceChanged();
    m_view.keepAlive();
    return !m_run->control.stopAsked();
}

StopRun Engine::sourceChanged() const
{
    return {lines({u"The file %1 changed while it was cut, so the pieces do not rebuild it."
                   " Nothing was removed."_s.arg(m_state.SourcePath),
                   u"Cut the file again when nothing changes it."_s}),
            true};
}

void Engine::checkSpace(qint64 scriptLength, const QString &fileName)
{
    // The piece size stands for a disk's capacity, and the script takes whole sectors.
    const qint64 last = lastPieceSize(m_state.SourceSize, m_state.PieceCount, m_state.PieceSize);
    if (CeilDiv(scriptLength, SectorSize) * SectorSize + last <= m_state.PieceSize)
        return;
    m_state.NeedExtraDisk = true;
    // "FDD" is the message's own word for the floppy disk.
    m_run->control.tell({u"You probably will need one more FDD for %1"_s.arg(scriptName(fileName)),
                         Prompter::Icon::Warning});
}

QString Engine::onDisk(const QString &path) const
{
    return m_platform.resolve(path);
}

void Engine::showGeneralError(const AppError &error)
{
    // The box keeps the catalogue's words; what the system itself answered goes to the
    // standard error, so that a report from the field can say it.
    if (error.systemError() != 0) {
        std::fprintf(stderr, "Morlend: error #%d %s: the system answered %s\n", error.number(),
                     qPrintable(error.description()), std::strerror(error.systemError()));
    }
    m_run->control.tell({lines({u"General error."_s, QString(), errorLines(error)})
                             + m_run->outputs.incompleteSet(),
                         Prompter::Icon::Error});
}

} // namespace modMorlend
