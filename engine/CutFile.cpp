#include "engine/Engine.h"
#include "engine/EngineView.h"
#include "engine/FolderText.h"
#include "engine/JoinScript.h"
#include "engine/NameRules.h"
#include "engine/PathHelpers.h"
#include "engine/PiecePlan.h"
#include "engine/ScriptFile.h"
#include "engine/SizeText.h"
#include "engine/StopRun.h"
#include "platform/AppError.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/FloppyDrive.h"
#include "platform/OemCodePage.h"
#include "platform/Platform.h"
#include "platform/Prompter.h"
#include "platform/StopSignals.h"

#include <QDir>
#include <QLocale>
#include <QScopedValueRollback>

#include <algorithm>
#include <cstdio>
#include <new>

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
        return QStringLiteral("The size \"%1\" is too large: a piece has at most %2.")
            .arg(quoted, formatBytes(LargestPiece));
    }
    return QStringLiteral("The size \"%1\" is not understood.").arg(quoted) + LineEnd
        + QStringLiteral("Type the bytes of a piece, or a number and a unit, as in %1 (K, M and G"
                         " count 1024s, KB, MB and GB 1000s).")
              .arg(pieceSizeExamples());
}

} // namespace

void Engine::CutFile()
{
    // The window answers its desktop during a run, and assistive technology can press Cut
    // then; a run inside the run would cut the same file into the same pieces twice over.
    if (m_run)
        return;
    m_run.emplace();
    const StopSignals::DuringRun noteStopSignals;
    const bool completed = cutReportingFailures();
    if (!completed) {
        // The run's files closed as it unwound. One that ended before its first piece leaves the
        // destination as it found it.
        if (m_run->pieces.empty())
            discardOutputs();
        // A floppy run's pieces are on disks the user has put away: the progress shows how
        // many, and the run tells where the script stays.
        const qint64 onDisks = writesToFloppy() ? qint64(m_run->pieces.size()) : 0;
        ShowProgress(onDisks > 0 ? onDisks : -1);
        if (!m_run->failed && stopAsked())
            ask({stoppedMessage(), Prompter::Icon::Information});
        else if (!m_run->failed && onDisks > 0)
            ask({cancelledOnFloppies(), Prompter::Icon::Information});
    }
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
        ask({stop.message + (stop.explainsTheSet ? QString() : incompleteSet()),
             Prompter::Icon::Error});
    } catch (const AppError &error) {
        m_run->failed = true;
        showGeneralError(error);
    } catch (const std::bad_alloc &) {
        m_run->failed = true;
        showGeneralError(AppError(AppError::OutOfMemory));
    }
    return false;
}

void Engine::handBackWindow(bool estimateDue)
{
    m_view.endRun();
    if (estimateDue)
        RefreshEstimate();
}

void Engine::stopRun(StopReason reason)
{
    if (m_run && !m_run->stopRequested)
        m_run->stopRequested = reason;
}

bool Engine::stopAsked() const
{
    return m_run->stopRequested || StopSignals::received() != 0;
}

QString Engine::stoppedMessage() const
{
    const int signal = StopSignals::received();
    const QString reason = signal != 0
        ? QStringLiteral("Morlend was sent %1").arg(QLatin1StringView(StopSignals::nameOf(signal)))
        : m_run->stopRequested == StopReason::Escape ? QStringLiteral("Escape was pressed")
                                                     : QStringLiteral("The window is being closed");
    const qint64 written = qint64(m_run->pieces.size());
    if (written == 0)
        return reason
            + QStringLiteral(", so the cut stopped before its first piece. Nothing was"
                             " written.");
    return reason
        + QStringLiteral(", so the cut stopped after piece %1 of %2.")
              .arg(written)
              .arg(m_state.PieceCount)
        + LineEnd
        + QStringLiteral("The pieces written so far and the join script as far as it goes are"
                         " kept; they do not rebuild the whole file.")
        + scriptLeftBehind();
}

QString Engine::cancelledOnFloppies() const
{
    const qint64 written = qint64(m_run->pieces.size());
    if (written < m_state.PieceCount)
        return QStringLiteral("The cut was cancelled after piece %1 of %2.")
                   .arg(written)
                   .arg(m_state.PieceCount)
            + scriptLeftBehind();
    return QStringLiteral("All %1 pieces are on their disks, but the join script is not: it is"
                          " the file ")
               .arg(written)
        + onDisk(m_run->scriptPath)
        + QStringLiteral(", and the disks cannot be joined without it. Copy it onto a disk as ")
        + scriptName(GetFileName(m_state.SourcePath)) + u'.';
}

QString Engine::scriptLeftBehind() const
{
    if (!writesToFloppy() || m_run->pieces.empty()
        || !FileSystem::namedFile(onDisk(m_run->scriptPath)))
        return {};
    return LineEnd + QStringLiteral("The join script, as far as it goes, is the file ")
        + onDisk(m_run->scriptPath) + QStringLiteral(": the disks cannot be joined without it.");
}

bool Engine::cut()
{
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

    File source = openSource();
    if (m_run->sourceStamp.length != m_state.SourceSize)
        throw sourceChanged();
    m_run->source = &source;
    m_run->copier.emplace(m_state.PieceBuffer);
    if (!prepareOutputs(fileName))
        return false;
    const QString &scriptPath = m_run->scriptPath;
    ScriptFile script(replaceFile(scriptPath), onDisk(scriptPath), codePage);
    m_run->script = script.identity();
    script.write(headerLine() + LineEnd);
    if (!write(script, fileName)) {
        script.close();
        return false;
    }
    source.close();
    if (liesOnFloppy(scriptPath))
        script.flushToDisk(m_platform);
    script.close();
    if (writesToFloppy() && HandOverScript(fileName, scriptPath))
        return false;
    checkTheSetIsAsWritten(fileName);
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
    if (m_state.PieceSize == 0)
        throw StopRun {QStringLiteral("Files size is 0.")};
    if (m_state.PieceSize < 0)
        throw StopRun {QStringLiteral("Files size is negative.")};
    // The source may have changed since the estimate measured it, and pieces cut to an old
    // length would lose its tail or come out short.
    if (!m_state.SourcePath.isEmpty()) {
        measureSource(sourceLength());
        m_view.showSource(m_state.SourcePath, m_state.SourceSize);
    }
    if (m_state.SourceSize == 0)
        throw StopRun {QStringLiteral("Source file size is 0.")};

    const QString fileName = GetFileName(m_state.SourcePath);
    if (const std::optional<QString> refusal = refusalOfName(fileName, codePage))
        throw StopRun {*refusal};
    // A size typed without its unit ("25" meant as 25 MB) cuts a file into millions of files,
    // which no disk or upload limit asks for and which take long to write and to clear away.
    // Enter answers Cancel, so that the key that started the cut does not answer for the user.
    if (m_state.PieceCount > ManyPieces) {
        const Prompter::Message question {
            QStringLiteral("Pieces of %1 cut %2 into %3 files.")
                    .arg(formatBytes(m_state.PieceSize), fileName, formatCount(m_state.PieceCount))
                + LineEnd
                + QStringLiteral("OK cuts it so. Cancel writes nothing: a size with a unit, as in"
                                 " 25M (%1), gives larger pieces.")
                      .arg(formatBytes(25 * 1024 * 1024)),
            Prompter::Icon::Warning, Prompter::Buttons::OkCancel, Prompter::DefaultTitle, true};
        if (ask(question) == Prompter::Reply::Cancel)
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
    m_run->outFolderOnFloppy = m_platform.isOnFloppy(m_state.OutFolder);
    if (m_view.clearBoxIsOn() && !writesToFloppy() && m_run->outFolderOnFloppy) {
        ask({QStringLiteral("The floppy will not be cleared: the pieces go into the folder ")
                 + m_state.OutFolder + QStringLiteral(" on it, and clearing would remove them."),
             Prompter::Icon::Information});
    }
    if (clearsTheSourcesDisk()) {
        // The window's notice says the same, and a run it refuses must not leave it hidden.
        showClearedDiskNotice();
        throw StopRun {QStringLiteral(
            "The file to cut is on the floppy, which would be cleared before its first piece is"
            " written.\r\nUntick \"Clear disk before copying\" or move the file to another"
            " disk, and cut again.")};
    }
}

bool Engine::writesToFloppy() const
{
    return FloppyDrive::isName(m_state.OutFolder);
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

File Engine::openSource()
{
    File source = File::openForReading(onDisk(m_state.SourcePath));
    m_run->sourceIdentity = source.identity();
    m_run->sourceStamp = source.stamp();
    return source;
}

bool Engine::write(ScriptFile &script, const QString &fileName)
{
    if (!writePieces(script, fileName))
        return false;
    if (writesToFloppy())
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
        // A stop asked for as a piece became whole keeps that piece in the set.
        if (stopAsked()) {
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

bool Engine::betweenSteps()
{
    // Bytes appended or changed in place while a prompt waited would be missing from the
    // pieces or mixed into them. Looking after every step stops the run at the next one
    // rather than at the last disk.
    if (m_run->source->stamp() != m_run->sourceStamp)
        throw sourceChanged();
    m_view.keepAlive();
    return !stopAsked();
}

StopRun Engine::sourceChanged() const
{
    return {
        QStringLiteral("The file ") + m_state.SourcePath
            + QStringLiteral(" changed while it was cut, so the pieces do not rebuild it. Nothing"
                             " was removed.\r\nCut the file again when nothing changes it."),
        true};
}

void Engine::checkSpace(qint64 scriptLength, const QString &fileName)
{
    // The piece size stands for a disk's capacity, and the script takes whole sectors.
    const qint64 last = lastPieceSize(m_state.SourceSize, m_state.PieceCount, m_state.PieceSize);
    if (CeilDiv(scriptLength, SectorSize) * SectorSize + last <= m_state.PieceSize)
        return;
    m_state.NeedExtraDisk = true;
    ask({QStringLiteral("You probably will need one more FDD for ") + scriptName(fileName),
         Prompter::Icon::Warning});
}

QString Engine::onDisk(const QString &path) const
{
    return m_platform.resolve(path);
}

QString Engine::errorLines(const AppError &error)
{
    return QStringLiteral("An error #%1 occured:").arg(error.number()) + LineEnd
        + error.description();
}

Prompter::Reply Engine::ask(const Prompter::Message &message)
{
    // A program told to stop by its session has no one left to answer: the message goes to
    // the standard error, and a question is declined.
    if (m_run && StopSignals::received() != 0) {
        const QString line = QString(message.text).replace(LineEnd, QStringLiteral(" "));
        std::fprintf(stderr, "Morlend: %s\n", qPrintable(line));
        return Prompter::Reply::Cancel;
    }
    // The box comes over the window as it stands, and takes the keys and clicks from now on.
    m_view.yieldToMessage();
    const Prompter::Reply reply = m_prompter.ask(message);
    // A window closed while the box waited: whatever the answer, the run goes no further.
    return m_run && stopAsked() ? Prompter::Reply::Cancel : reply;
}

void Engine::showGeneralError(const AppError &error)
{
    ask({QStringLiteral("General error.") + LineEnd + LineEnd + errorLines(error) + incompleteSet(),
         Prompter::Icon::Error});
}

} // namespace modMorlend
