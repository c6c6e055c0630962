#include "engine/Engine.h"

#include "engine/CutRun.h"
#include "engine/EngineView.h"
#include "engine/PiecePlan.h"
#include "engine/SizeText.h"
#include "platform/AppError.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"

namespace modMorlend {

Engine::Engine(EngineView &view, Prompter &prompter, Platform &platform)
    : m_view(view)
    , m_prompter(prompter)
    , m_platform(platform)
{
}

Engine::~Engine() = default;

Engine::MeasuredSource::MeasuredSource(Engine &engine, qint64 length)
    : m_engine(engine)
{
    m_engine.m_measuredSourceLength = length;
}

Engine::MeasuredSource::~MeasuredSource()
{
    m_engine.m_measuredSourceLength.reset();
}

Engine::MeasuredSource Engine::measuredSource(qint64 length)
{
    return MeasuredSource(*this, length);
}

void Engine::UpdateEstimate()
{
    if (deferEstimate())
        return;
    if (m_state.SourcePath.isEmpty()) {
        m_view.showEstimate(QStringLiteral("{no source file selected}"));
    } else {
        try {
            showEstimate();
        } catch (const AppError &) {
            // The estimate is advisory: a source that went away leaves the last good estimate
            // on screen, and the cutting run reports for itself.
        }
    }
    ShowProgress(-1);
}

void Engine::showEstimate()
{
    try {
        m_state.PieceSize = parsePieceSize(m_view.pieceSizeText());
    } catch (const AppError &error) {
        // The figures of the last size that was understood are no estimate of this text. The
        // plan keeps them, as a size of 0 keeps the count.
        m_view.showEstimate(
            error.number() == AppError::Overflow
                ? QStringLiteral("{largest size: %1}").arg(formatBytes(LargestPiece))
                : QStringLiteral("{size not understood}"));
        return;
    }
    // "files size" is the notice's own wording, as in the run's "Files size is 0.".
    if (m_state.PieceSize == 0)
        m_view.showEstimate(QStringLiteral("{files size is 0}"));
    else if (m_state.PieceSize < 0)
        m_view.showEstimate(QStringLiteral("{files size is negative}"));
    measureSource(m_measuredSourceLength ? *m_measuredSourceLength : sourceLength());
}

qint64 Engine::sourceLength() const
{
    return FileSystem::FileLength(onDisk(m_state.SourcePath));
}

void Engine::measureSource(qint64 length)
{
    m_state.SourceSize = length;
    // A size that cuts nothing plans nothing: the count, and with it the progress label, keeps
    // what the last size gave.
    if (m_state.PieceSize <= 0)
        return;
    m_state.PieceCount = CeilDiv(m_state.SourceSize, m_state.PieceSize);
    const qint64 last = lastPieceSize(m_state.SourceSize, m_state.PieceCount, m_state.PieceSize);
    m_view.showEstimate(
        QStringLiteral("files: %1, last file: %2").arg(m_state.PieceCount).arg(formatBytes(last)));
}

bool Engine::deferEstimate()
{
    // A new plan in the middle of the run would change the size and number of the pieces
    // still to come.
    if (!m_run || !m_run->writingPieces)
        return false;
    m_run->estimateDue = true;
    return true;
}

void Engine::RefreshEstimate()
{
    if (deferEstimate())
        return;
    if (m_state.SourceOnClearedDisk)
        showClearedDiskNotice();
    else
        UpdateEstimate();
}

void Engine::showClearedDiskNotice()
{
    m_view.showEstimate(QStringLiteral("{file is on disk being cleared}"));
}

void Engine::ShowProgress(qint64 index)
{
    m_view.showProgress(index, m_state.PieceCount);
}

} // namespace modMorlend
