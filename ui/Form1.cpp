#include "Form1.h"

#include "Artwork.h"
#include "CLine.h"
#include "FormBuilder.h"
#include "ImageBox.h"
#include "PButton.h"
#include "PictureBox.h"
#include "SystemFonts.h"
#include "TextBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace {

FormLayout storedLayout()
{
    Artwork::registerResource();
    QFile file(u":/resources/Form1.json"_s);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("The window's stored layout is missing from the program");
    return FormLayout::fromJson(file.readAll());
}

} // namespace

Form1::Form1(QWidget *parent)
    : QWidget(parent,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    SystemFonts::provideTahoma();
    m_builder = std::make_unique<FormBuilder>(*this, storedLayout());
    const FormBuilder &b = *m_builder;
    cbExit = b.control<PButton>(u"cbExit"_s);
    picProg = b.control<PictureBox>(u"picProg"_s);
    CLine1 = {b.control<CLine>(u"CLine1"_s, 0), b.control<CLine>(u"CLine1"_s, 1)};
    Frame1 = b.control<QGroupBox>(u"Frame1"_s);
    txtFN = b.control<TextBox>(u"txtFN"_s);
    imgDnD = b.control<ImageBox>(u"imgDnD"_s);
    Frame2 = b.control<QGroupBox>(u"Frame2"_s);
    txtEst = b.control<TextBox>(u"txtEst"_s);
    cmbFilesize = b.control<QComboBox>(u"cmbFilesize"_s);
    Frame3 = b.control<QGroupBox>(u"Frame3"_s);
    chbClearFDD = b.control<QCheckBox>(u"chbClearFDD"_s);
    txtOut = b.control<TextBox>(u"txtOut"_s);
    optWrite
        = {b.control<QRadioButton>(u"optWrite"_s, 0), b.control<QRadioButton>(u"optWrite"_s, 1)};
    cbCut = b.control<PButton>(u"cbCut"_s);
    cbAbout = b.control<PButton>(u"cbAbout"_s);
    lblProg = b.control<QLabel>(u"lblProg"_s);
    centreOnScreen();
}

Form1::~Form1() = default;

void Form1::centreOnScreen()
{
    const QRect available = screen()->availableGeometry();
    move(available.center() - rect().center());
}
