#include "Engine.h"

#include "AppError.h"
#include "FileSystem.h"
#include "PictureBox.h"
#include "PiecePlan.h"
#include "SizeText.h"

#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>

namespace modMorlend {

Engine::Engine(const EngineControls &controls, Prompter &prompter, Platform &platform)
    : m_controls(controls)
    , m_prompter(prompter)
    , m_platform(platform)
    , m_pacer(*controls.picProg->window())
{
    // The caption is repainted every frame of a run, so its paint must stay small beside the
    // run's own work: an opaque label spares painting the window beneath it, and digits and a
    // slash need no text shaping. Neither changes a pixel on screen.
    QLabel &caption = *m_controls.lblProg;
    caption.setAutoFillBackground(true);
    QFont font = caption.font();
    font.setStyleStrategy(QFont::PreferNoShaping);
    caption.setFont(font);
}

void Engine::UpdateEstimate()
{
    if (deferEstimate())
        return;
    if (m_state.SourcePath.isEmpty()) {
        m_controls.txtEst->setText(QStringLiteral("{no source file selected}"));
    } else {
        try {
            showEstimate();
        } catch (const AppError &) {
            // The estimate is advisory: a size text being typed or a source that went away
            // leaves the last good estimate on screen, and the cutting run reports for itself.
        }
    }
    ShowProgress(-1);
}

void Engine::showEstimate()
{
    m_state.PieceSize = parsePieceSize(m_controls.cmbFilesize->currentText());
    if (m_state.PieceSize == 0)
        m_controls.txtEst->setText(QStringLiteral("{files size is 0}"));
    else if (m_state.PieceSize < 0)
        m_controls.txtEst->setText(QStringLiteral("{files size is negative}"));
    measureSource();
}

void Engine::measureSource()
{
    m_state.SourceSize = FileSystem::FileLength(onDisk(m_state.SourcePath));
    // A size that cuts nothing plans nothing: the count, and with it the progress label, keeps
    // what the last size gave.
    if (m_state.PieceSize <= 0)
        return;
    m_state.PieceCount = CeilDiv(m_state.SourceSize, m_state.PieceSize);
    const qint64 last = lastPieceSize(m_state.SourceSize, m_state.PieceCount, m_state.PieceSize);
    m_controls.txtEst->setText(
        QStringLiteral("files: %1, last file: %2").arg(m_state.PieceCount).arg(formatBytes(last)));
}

bool Engine::deferEstimate()
{
    // A new plan in the middle of the run would change the size and number of the pieces
    // still to come.
    if (m_writingPieces)
        m_estimateDue = true;
    return m_writingPieces;
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
    m_controls.txtEst->setText(QStringLiteral("{file is on disk being cleared}"));
}

void Engine::ShowProgress(qint64 index)
{
    const bool reset = index < 0;
    if (reset)
        m_controls.picProg->clear();
    else
        m_controls.picProg->fillBox({0, 0}, {qreal(index), 1});
    const QString caption
        = QString::number(reset ? 0 : index) + u'/' + QString::number(m_state.PieceCount);
    if (caption != m_controls.lblProg->text())
        m_controls.lblProg->setText(caption);
    // Every piece is drawn and counted, but the screen can show no more than a frame at a
    // time: the window is handed to it once a frame, at the end of the run and before any
    // message. A reset waits for the window's next paint.
    if (!reset)
        m_pacer.pace();
}

} // namespace modMorlend
