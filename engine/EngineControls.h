#pragma once

#include <array>

class PictureBox;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class TextBox;

namespace modMorlend {

// The window's controls that the engine reads its inputs from and writes its results into.
// The window owns them; the engine only borrows them.
struct EngineControls
{
    QComboBox *cmbFilesize = nullptr;
    QLineEdit *txtEst = nullptr;
    PictureBox *picProg = nullptr;
    QLabel *lblProg = nullptr;
    // Index 0 writes into the folder named by txtOut, index 1 onto the floppy.
    std::array<QRadioButton *, 2> optWrite {};
    TextBox *txtOut = nullptr;
    QCheckBox *chbClearFDD = nullptr;
};

} // namespace modMorlend
