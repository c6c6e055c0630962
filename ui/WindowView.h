#pragma once

#include "engine/EngineView.h"
#include "ui/Attention.h"
#include "ui/RunPacer.h"

class Form1;

// The cutting engine's view of the window: its controls, and what keeps the window alive while
// a run holds its thread.
class WindowView : public modMorlend::EngineView
{
public:
    explicit WindowView(Form1 &window);

    // What keeps the window alive during a run; tests give it a clock.
    RunPacer &pacer() { return m_pacer; }

    QString pieceSizeText() const override;
    bool writesIntoFolder() const override;
    QString folderText() const override;
    void setFolderText(const QString &folder) override;
    bool clearBoxIsOn() const override;
    void showEstimate(const QString &text) override;
    void showSource(const QString &path, qint64 length) override;
    void startProgress(qint64 count) override;
    void showProgress(qint64 index, qint64 count) override;
    void showPieceProgress(qint64 index, double fraction) override;
    void keepAlive() override;
    void yieldToMessage() override;
    void endRun() override;

private:
    // The run gives the window to the user: it reaches the screen as it stands, what was typed
    // meanwhile goes, and a window the user left asks for attention.
    void handOver();

    Form1 &m_window;
    RunPacer m_pacer;
    Attention m_attention;
};
