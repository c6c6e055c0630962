#pragma once

#include <QWidget>

#include <array>
#include <memory>

class CLine;
class FormBuilder;
class ImageBox;
class PButton;
class PictureBox;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QRadioButton;
class TextBox;

// The program's only window: three numbered groups (the file, the size of the pieces, where
// they go), the progress row between two etched lines, and the Cut, Exit and About buttons.
// Its controls and their initial values come from its stored layout.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    explicit Form1(QWidget *parent = nullptr);
    ~Form1() override;

    const FormBuilder &builder() const { return *m_builder; }

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

private:
    void centreOnScreen();

    std::unique_ptr<FormBuilder> m_builder;
};
