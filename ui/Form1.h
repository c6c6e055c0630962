#pragma once

#include "ui/KeyRepeats.h"

#include <QWidget>

#include <array>
#include <memory>

class CLine;
class CloseRequests;
class FormBuilder;
class ImageBox;
class PButton;
class PictureBox;
class Platform;
class Prompter;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QMimeData;
class QRadioButton;
class QUrl;
class TextBox;
class WindowView;

namespace modMorlend {
class Engine;
}

// The program's only window: three numbered groups (the file, the size of the pieces, where
// they go), the progress row between two etched lines, and the Cut, Exit and About buttons.
// Its controls and their initial values come from its stored layout; its handlers are short
// and leave the work to the cutting engine.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    // The window that asks the user through prompter and uses the system through platform.
    // Throws LayoutError when its stored layout cannot be read.
    Form1(Prompter &prompter, Platform &platform, QWidget *parent = nullptr);
    ~Form1() override;

    modMorlend::Engine &engine() { return *m_engine; }
    const FormBuilder &builder() const { return *m_builder; }
    // The program's version numbers, as "major.minor.revision".
    const QString &AppVersion() const { return m_AppVersion; }
    // Takes the file at url as a drop on the drop area takes it, checks and messages alike: a
    // file given on the command line, as a file manager's "Open with" gives it.
    void takeFile(const QUrl &url);

    // The controls, by their stored names; the window owns them.
    PButton *cbExit = nullptr;
    PictureBox *picProg = nullptr;
    std::array<CLine *, 2> CLine1 {};
    QGroupBox *Frame1 = nullptr;
    TextBox *txtFN = nullptr;
    ImageBox *imgDnD = nullptr;
    QGroupBox *Frame2 = nullptr;
    TextBox *txtEst = nullptr;
    QComboBox *cmbFilesize = nullptr;
    QGroupBox *Frame3 = nullptr;
    QCheckBox *chbClearFDD = nullptr;
    TextBox *txtOut = nullptr;
    std::array<QRadioButton *, 2> optWrite {};
    PButton *cbCut = nullptr;
    PButton *cbAbout = nullptr;
    QLabel *lblProg = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Closing the window during a run (its close button, say) stops the run after the piece
    // it writes; the window closes once the run has said so.
    void closeEvent(QCloseEvent *event) override;
    // A request to close the window while a run goes on: the run stops (at once, or when the
    // prompt it waits on is answered) and the window closes after it.
    void closeAfterRun();

private:
    void bindControls();
    void describeControls();
    void connectHandlers();

    void Form_Load();
    void Form_KeyDown(qint16 KeyCode);
    void imgDnD_OLEDragDrop(const QMimeData *data);
    // Takes the first file of data as the source, checks and messages alike, and says which
    // it took when there were more; how says how they came ("dropped", "pasted").
    void takeFiles(const QMimeData &data, const QString &how);
    void txtFN_Paste(const QMimeData *clipboard);
    // Ctrl+O: the desktop's file chooser, whose file is taken as a drop.
    void chooseFile();
    void DestinationChange();
    void CheckClearConflict();
    // The destination's drive: "A:" for the floppy's option and for a folder on the floppy,
    // else the folder's first two characters.
    QString DestDrive() const;
    void cbCut_Click();
    void cbExit_Click();
    void ShowAbout();
    void centreOnScreen();

    Prompter &m_prompter;
    Platform &m_platform;
    std::unique_ptr<FormBuilder> m_builder;
    std::unique_ptr<WindowView> m_view;
    std::unique_ptr<modMorlend::Engine> m_engine;
    std::unique_ptr<CloseRequests> m_closeRequests;
    QString m_AppVersion;
    bool m_closeAfterRun = false;
    // Which presses the key preview passes on: none that only repeats a held key.
    KeyRepeats m_keyRepeats;
};
