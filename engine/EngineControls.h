#pragma once

class PictureBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace modMorlend {

// The window's controls that the engine reads its inputs from and writes its results into.
// The window owns them; the engine only borrows them.
struct EngineControls
{
    QComboBox *cmbFilesize = nullptr;
    QLineEdit *txtEst = nullptr;
    PictureBox *picProg = nullptr;
    QLabel *lblProg = nullptr;
};

} // namespace modMorlend
