#pragma once

#include "engine/EngineView.h"
#include "ui/RunPacer.h"

#include <array>

class PictureBox;
class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;
class TextBox;

// The cutting engine's view of the window: its controls, which the window owns, and what keeps
// the window alive while a run holds its thread.
class WindowView : public modMorlend::EngineView
{
public:
    struct Controls
    {
        QComboBox *cmbFilesize = nullptr;
        TextBox *txtEst = nullptr;
        PictureBox *picProg = nullptr;
        QLabel *lblProg = nullptr;
        // Index 0 writes into the folder named by txtOut, index 1 onto the floppy.
        std::array<QRadioButton *, 2> optWrite {};
        TextBox *txtOut = nullptr;
        QCheckBox *chbClearFDD = nullptr;
    };

    explicit WindowView(const Controls &controls);

    // What keeps the window alive during a run; tests give it a clock.
    RunPacer &pacer() { return m_pacer; }

    QString pieceSizeText() const override;
    bool writesIntoFolder() const override;
    QString folderText() const override;
    void setFolderText(const QString &folder) override;
    bool clearBoxIsOn() const override;
    void showEstimate(const QString &text) override;
    void startProgress(qint64 count) override;
    void showProgress(qint64 index, qint64 count) override;
    void yieldToMessage() override;
    void endRun() override;

private:
    Controls m_controls;
    RunPacer m_pacer;
};
