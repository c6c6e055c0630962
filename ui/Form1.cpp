#include "ui/Form1.h"

#include "controls/AccessibleControls.h"
#include "controls/CLine.h"
#include "controls/ImageBox.h"
#include "controls/KeyCodes.h"
#include "controls/PButton.h"
#include "controls/PictureBox.h"
#include "controls/SystemFonts.h"
#include "controls/TextBox.h"
#include "engine/Engine.h"
#include "engine/LineEnd.h"
#include "engine/PathHelpers.h"
#include "engine/Prompter.h"
#include "generated/MorlendVersion.h"
#include "platform/AppError.h"
#include "platform/FloppyDrive.h"
#include "platform/Platform.h"
#include "platform/StopSignals.h"
#include "resources/Artwork.h"
#include "ui/CloseRequests.h"
#include "ui/FormBuilder.h"
#include "ui/PastedFiles.h"
#include "ui/SourceCheck.h"
#include "ui/WindowView.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QUrl>

using namespace Qt::StringLiterals;
using namespace modMorlend;

namespace {

FormLayout storedLayout()
{
    Artwork::registerResource();
    QFile file(u":/resources/Form1.json"_s);
    if (!file.open(QIODevice::ReadOnly))
        throw LayoutError(u"it is missing from the program"_s);
    return FormLayout::fromJson(file.readAll());
}

// The bytes free for files on an empty 1.44 MB, 1.2 MB and 720 KB floppy.
const QStringList FloppySizes {u"1 457 664"_s, u"1 213 952"_s, u"730 112"_s};
constexpr qint32 StartPieceSize = 1457664;

} // namespace

Form1::Form1(Prompter &prompter, Platform &platform, QWidget *parent)
    : QWidget(parent,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_prompter(prompter)
    , m_platform(platform)
{
    SystemFonts::provideTahoma();
    AccessibleControls::install();
    m_builder = std::make_unique<FormBuilder>(*this, storedLayout());
    bindControls();
    describeControls();
    // The stored icon is the 16-pixel one; the window shows every size of it.
    setWindowIcon(Artwork::programIcon());
    m_view = std::make_unique<WindowView>(*this);
    m_engine = std::make_unique<Engine>(*m_view, m_prompter, m_platform);
    m_view->pacer().setOnEscape([this] { m_engine->stopRun(Engine::StopReason::Escape); });
    // A close request while a disk prompt waits is dropped by Qt, not forgotten by the run.
    m_closeRequests = std::make_unique<CloseRequests>(*this, [this] {
        if (m_engine->isRunning())
            closeAfterRun();
    });
    connectHandlers();
    centreOnScreen();
    Form_Load();
}

Form1::~Form1() = default;

void Form1::bindControls()
{
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
}

// What assistive technology tells of the controls beyond what they show. Each has a name of
// its own: the estimate and the folder option would otherwise share their group's caption
// with the size box and the folder box, and the progress box would have none.
void Form1::describeControls()
{
    txtEst->setAccessibleName(u"Estimate"_s);
    optWrite[0]->setAccessibleName(u"Folder"_s);
    picProg->setAccessibleName(u"Progress"_s);
    imgDnD->setAccessibleName(u"drop area"_s);
    imgDnD->setAccessibleDescription(
        u"Drop a file here, paste one into the source box, or press Ctrl+O to choose one."_s);
    txtFN->setAccessibleDescription(
        u"Paste a file here to cut it, or press Ctrl+O to choose one."_s);
    // The keys that Form_KeyDown answers with each button.
    cbCut->setKeyBinding(Qt::Key_Enter);
    cbExit->setKeyBinding(Qt::Key_Escape);
    cbAbout->setKeyBinding(Qt::Key_F1);
}

void Form1::connectHandlers()
{
    Engine &engine = *m_engine;
    connect(cmbFilesize, &QComboBox::editTextChanged, this, [&engine] { engine.UpdateEstimate(); });
    connect(cmbFilesize, &QComboBox::activated, this, [&engine] { engine.UpdateEstimate(); });
    connect(txtOut, &TextBox::Change, this, &Form1::DestinationChange);
    for (QRadioButton *option : optWrite)
        connect(option, &QRadioButton::clicked, this, &Form1::DestinationChange);
    connect(chbClearFDD, &QCheckBox::clicked, this, &Form1::CheckClearConflict);
    connect(imgDnD, &ImageBox::OLEDragDrop, this, &Form1::imgDnD_OLEDragDrop);
    connect(txtFN, &TextBox::pasteRequested, this, &Form1::txtFN_Paste);
    connect(cbCut, &PButton::Click, this, &Form1::cbCut_Click);
    connect(cbExit, &PButton::Click, this, &Form1::cbExit_Click);
    connect(cbAbout, &PButton::Click, this, &Form1::ShowAbout);
    // Ctrl+O, as in every program that opens files. During a run no shortcut acts (RunInput).
    connect(new QShortcut(QKeySequence::Open, this), &QShortcut::activated, this,
            &Form1::chooseFile);
    if (m_builder->keyPreview())
        qApp->installEventFilter(this);
}

void Form1::Form_Load()
{
    m_AppVersion = u"%1.%2.%3"_s.arg(MorlendVersionMajor)
                       .arg(MorlendVersionMinor)
                       .arg(MorlendVersionRevision);
    setWindowTitle(u"Morlend "_s + m_AppVersion);
    cmbFilesize->addItems(FloppySizes);
    cmbFilesize->setEditText(FloppySizes.first());
    m_engine->state().PieceSize = StartPieceSize;
    setWindowFlag(Qt::WindowStaysOnTopHint);
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    // The window sees each key before the control with the focus, which still gets it. A key
    // is looked at once, at its first delivery: the cut that Enter starts runs while the key is
    // on its way, which goes on to the control's parents afterwards, and one of them may have
    // the focus by then. That first delivery is the window system's own, or, where a screen
    // reader listens, the copy Qt's bridge to it hands on. A key held down repeats itself:
    // Enter held through a cut, or through a message box, would start it again once it ends.
    // The keys of every window tell that, a box's too.
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
        && watched->isWidgetType()
        && m_keyRepeats.isFirstDelivery(*static_cast<QKeyEvent *>(event))) {
        const auto *key = static_cast<QKeyEvent *>(event);
        m_keyRepeats.delivered(*key);
        const bool repeated = m_keyRepeats.repeats(*key);
        if (event->type() == QEvent::KeyPress && !repeated
            && static_cast<QWidget *>(watched)->window() == this) {
            Form_KeyDown(keyCodeOf(*key));
            m_keyRepeats.delivered(*key);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::Form_KeyDown(qint16 KeyCode)
{
    cbCut->InputKey(KeyCode);
    cbExit->InputKey(KeyCode);
    if (KeyCode == KeyCodes::F1)
        ShowAbout();
}

void Form1::imgDnD_OLEDragDrop(const QMimeData *data)
{
    takeFiles(*data, u"dropped"_s);
}

void Form1::takeFiles(const QMimeData &data, const QString &how)
{
    QList<QUrl> files;
    for (const QUrl &url : data.urls()) {
        // An address can carry a NUL ("%00"), which ends a name for the system: the file
        // checked and cut would be another than the one shown. It names no file.
        if (url.isLocalFile() && !url.toLocalFile().contains(QChar::Null))
            files << url;
    }
    if (files.isEmpty())
        return;
    // A file that cannot be cut changes nothing, and the user learns why.
    const QString name = files.first().toLocalFile();
    SourceCheck check {refusalOfAddress(files.first())};
    if (check.refusal.isEmpty())
        check = checkSource(name, m_platform.resolve(name));
    if (!check.refusal.isEmpty()) {
        m_prompter.ask({check.refusal, Prompter::Icon::Error});
        return;
    }
    // Everything that follows the drop at once takes the file as it was just measured.
    const Engine::MeasuredSource measured = m_engine->measuredSource(check.length);
    EngineState &state = m_engine->state();
    try {
        state.SourcePath = name;
        txtOut->setText(GetFolder(state.SourcePath) + NativeSeparator
                        + GetBaseName(state.SourcePath) + u"_cut"_s);
        m_view->showSource(state.SourcePath, check.length);
        state.SourceOnClearedDisk = m_engine->clearsTheSourcesDisk();
        m_engine->RefreshEstimate();
    } catch (const AppError &) {
        // A drop that cannot be taken in ends quietly; what it changed so far stays.
        return;
    }
    // The others are not forgotten in silence: whoever dropped them may expect all to be cut.
    if (files.size() > 1) {
        m_prompter.ask({u"Morlend cuts one file at a time, so of the %1 files %2 it took %3."_s.arg(
                            QString::number(files.size()), how, name),
                        Prompter::Icon::Information});
    }
}

void Form1::takeFile(const QUrl &url)
{
    QMimeData file;
    file.setUrls({url});
    takeFiles(file, {});
}

// A file pasted into the source box is taken as if it were dropped on the drop area, so that a
// keyboard alone can give the window a file.
void Form1::txtFN_Paste(const QMimeData *clipboard)
{
    QMimeData files;
    files.setUrls(pastedFiles(*clipboard));
    takeFiles(files, u"pasted"_s);
}

void Form1::chooseFile()
{
    // The dialog belongs to the window: one without a parent would open beneath it, since the
    // window stays on top of every other. It starts where the file taken last lies.
    const QString folder = m_engine->state().SourcePath.isEmpty()
        ? m_platform.homeFolder()
        : GetFolder(m_engine->state().SourcePath);
    const QString name = QFileDialog::getOpenFileName(this, u"Choose a file to cut"_s, folder);
    if (!name.isEmpty())
        takeFile(QUrl::fromLocalFile(name));
}

QString Form1::DestDrive() const
{
    if (!optWrite[0]->isChecked())
        return FloppyDrive::Name;
    const QString folder = txtOut->text();
    // On this system a folder on the floppy need not be named by the drive.
    if (!folder.isEmpty() && m_platform.isOnFloppy(folder))
        return FloppyDrive::Name;
    return folder.left(2);
}

void Form1::DestinationChange()
{
    chbClearFDD->setEnabled(FloppyDrive::isName(DestDrive()));
    CheckClearConflict();
}

void Form1::CheckClearConflict()
{
    // The run's own rule, so that the notice shows exactly when the run would refuse.
    m_engine->state().SourceOnClearedDisk = m_engine->clearsTheSourcesDisk();
    m_engine->RefreshEstimate();
}

void Form1::cbCut_Click()
{
    m_engine->CutFile();
    // A session that ends or a terminal that closes during the run ends the program after it.
    if (m_closeAfterRun || StopSignals::received() != 0)
        close();
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (!m_engine->isRunning()) {
        QWidget::closeEvent(event);
        return;
    }
    closeAfterRun();
    event->ignore();
}

void Form1::closeAfterRun()
{
    m_engine->stopRun(Engine::StopReason::WindowClosed);
    m_closeAfterRun = true;
}

void Form1::cbExit_Click()
{
    close();
}

void Form1::ShowAbout()
{
    const QString lines[] = {
        u"Morlend "_s + m_AppVersion,
        u"Written by Ravik, 2026. Free to use and to pass on."_s,
        u"View readme.txt and license.txt for more information."_s,
        QString(),
        u"E-MAIL: ravik@example.org"_s,
        u"WEB: https://example.org/morlend or https://morlend.example.org"_s,
    };
    QStringList text(std::begin(lines), std::end(lines));
    m_prompter.ask({text.join(LineEnd), Prompter::Icon::Information, Prompter::Buttons::Ok,
                    u"About Morlend by Ravik"_s});
}

void Form1::centreOnScreen()
{
    const QRect available = screen()->availableGeometry();
    move(available.center() - rect().center());
}
