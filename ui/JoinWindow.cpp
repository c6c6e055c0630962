#include "ui/JoinWindow.h"

#include "controls/TextBox.h"
#include "engine/FolderText.h"
#include "engine/PathHelpers.h"
#include "engine/RunControl.h"
#include "engine/SizeText.h"
#include "platform/Platform.h"
#include "platform/StopSignals.h"
#include "resources/Artwork.h"
#include "ui/CloseRequests.h"
#include "ui/MessageBoxPrompter.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

using namespace modMorlend;
using namespace Qt::StringLiterals;

namespace {

// How often a join lets the window answer: once a frame of a usual screen.
constexpr qint64 FrameMilliseconds = 16;
// The progress bar's steps; the whole may be longer than its int counts.
constexpr int ProgressSteps = 1000;

// A text the window shows, which the user may select and copy (a path, a message). It takes no
// focus: Tab goes from control to control. A screen reader reads it by its text, and hears it
// change.
QLabel *shownText(const QString &name)
{
    auto *label = new QLabel;
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    return label;
}

} // namespace

JoinWindow::JoinWindow(Prompter &prompter, Platform &platform, const JoinRequest &request,
                       QWidget *parent)
    : QDialog(parent)
    , m_prompter(prompter)
    , m_platform(platform)
    , m_request(request)
{
    build();
    showSet();
    // A close request while a question or a disk prompt waits is dropped by Qt, not forgotten
    // by the join.
    m_closeRequests = std::make_unique<CloseRequests>(*this, [this] {
        if (m_running)
            closeAfterJoin();
    });
}

JoinWindow::~JoinWindow() = default;

void JoinWindow::build()
{
    setWindowTitle(u"Join pieces - Morlend"_s);
    setWindowIcon(Artwork::programIcon());
    m_name = shownText(u"name"_s);
    m_pieces = shownText(u"pieces"_s);
    m_folder = new TextBox;
    m_folder->setObjectName(u"folder"_s);
    m_folder->setText(m_request.folder);
    m_removePieces = new QCheckBox(u"&Remove the pieces and the join script once joined"_s);
    m_removePieces->setObjectName(u"removePieces"_s);
    m_removePieces->setChecked(m_request.removePieces);
    m_progress = new QProgressBar;
    m_progress->setObjectName(u"progress"_s);
    m_progress->setRange(0, ProgressSteps);
    m_progress->setValue(0);
    m_progress->setAccessibleName(u"Progress"_s);
    m_result = shownText(u"result"_s);
    m_result->setMinimumWidth(420);

    auto *form = new QFormLayout;
    form->addRow(u"Joins into:"_s, m_name);
    form->addRow(u"Pieces:"_s, m_pieces);
    auto *folderCaption = new QLabel(u"Into &folder:"_s);
    folderCaption->setBuddy(m_folder);
    form->addRow(folderCaption, m_folder);
    form->addRow(m_removePieces);

    m_join = new QPushButton(u"&Join"_s);
    m_join->setObjectName(u"join"_s);
    m_cancel = new QPushButton(u"Cancel"_s);
    m_cancel->setObjectName(u"cancel"_s);
    auto *buttons = new QDialogButtonBox;
    buttons->addButton(m_join, QDialogButtonBox::AcceptRole);
    buttons->addButton(m_cancel, QDialogButtonBox::RejectRole);
    // Enter joins and nothing else: pressed again during a join, it must not stop it.
    m_cancel->setAutoDefault(false);
    connect(m_join, &QPushButton::clicked, this, &JoinWindow::join);
    connect(m_cancel, &QPushButton::clicked, this, &JoinWindow::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_progress);
    layout->addWidget(m_result);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Only a button already in the window becomes its default for good: one made default before
    // is the default only until the focus leaves it, and Enter typed in the folder box would
    // join nothing.
    m_join->setDefault(true);
}

void JoinWindow::showSet()
{
    RunControl control(m_prompter);
    const std::variant<JoinPlan, JoinOutcome> look
        = JoinRun(control, m_platform).look(m_request.scriptPath);
    if (const JoinOutcome *refusal = std::get_if<JoinOutcome>(&look)) {
        m_name->setText(QFileInfo(m_request.scriptPath).fileName());
        m_pieces->setText(u"none joined"_s);
        if (m_folder->text().isEmpty())
            m_folder->setText(QFileInfo(m_request.scriptPath).absolutePath());
        showResult(refusal->message);
        return;
    }
    const JoinPlan &plan = std::get<JoinPlan>(look);
    m_name->setText(plan.set.fileName);
    m_onDisks = plan.onDisks;
    if (m_onDisks) {
        m_pieces->setText(u"%1 on floppy disks, asked for one after another"_s.arg(
            QString::number(plan.set.pieceCount)));
        // The floppy holds a piece, not the whole; and its disks are out of the drive when the
        // whole is written, so their pieces stay.
        if (m_folder->text().isEmpty())
            m_folder->setText(m_platform.homeFolder());
        m_removePieces->setChecked(false);
        m_removePieces->setEnabled(false);
    } else {
        m_pieces->setText(u"%1 in %2, %3 in all"_s.arg(plan.pieces.size())
                              .arg(plan.folder, formatBytes(plan.length)));
        if (m_folder->text().isEmpty())
            m_folder->setText(plan.folder);
    }
    m_result->setText(u"Enter joins the pieces; Escape closes the window."_s);
    m_join->setFocus();
}

void JoinWindow::join()
{
    if (m_running)
        return;
    JoinRequest request = m_request;
    const QString folderText = m_folder->text();
    if (!folderText.isEmpty()) {
        // The folder box reads as the cut's does.
        const FolderText folder = readFolderText(folderText, m_platform.homeFolder());
        if (folder.folder.isEmpty()) {
            m_result->setText(u"\"%1\" names no folder to join into: type the folder's whole"
                              " path, beginning with / (or with ~ for your home folder), or A:"
                              " for the floppy."_s.arg(folderText));
            return;
        }
        request.folder = folder.folder;
    }
    request.removePieces = m_removePieces->isChecked();
    RunControl control(*this);
    m_running = &control;
    setChoicesEnabled(false);
    m_cancel->setFocus();
    m_progressTold = 0;
    m_progress->setValue(0);
    m_result->setText(u"Joining…"_s);
    // The first step answers at once: a key pressed just before the join is heard.
    m_sinceAnswered.invalidate();
    const JoinOutcome outcome
        = JoinRun(control, m_platform).join(request, [this](qint64 written, qint64 length) {
              showProgress(written, length);
          });
    m_running = nullptr;
    showOutcome(outcome);
    if (StopSignals::received() != 0 || m_closeAfterJoin)
        close();
}

void JoinWindow::showProgress(qint64 written, qint64 length)
{
    m_progressTold = length > 0 ? int(written * ProgressSteps / length) : ProgressSteps;
    if (m_sinceAnswered.isValid() && m_sinceAnswered.elapsed() < FrameMilliseconds)
        return;
    m_progress->setValue(m_progressTold);
    keepAlive();
}

Prompter::Reply JoinWindow::ask(const Message &message)
{
    // A disk's pieces are often read within a frame: the prompt for the next disk comes over
    // the progress they made, not the one a frame before.
    m_progress->setValue(m_progressTold);
    return m_prompter.ask(message);
}

void JoinWindow::keepAlive()
{
    m_sinceAnswered.start();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void JoinWindow::showOutcome(const JoinOutcome &outcome)
{
    m_outcome = outcome;
    showResult(outcome.message);
    const bool joined = outcome.kind == JoinOutcome::Kind::Joined
        || outcome.kind == JoinOutcome::Kind::PiecesKept;
    m_progress->setValue(joined ? ProgressSteps : 0);
    // After a refusal the user may put the set right, or name another folder, and join again.
    setChoicesEnabled(!joined);
    m_cancel->setText(joined ? u"Close"_s : u"Cancel"_s);
    if (joined)
        m_cancel->setFocus();
    else
        m_join->setFocus();
}

void JoinWindow::showResult(const QString &message)
{
    // The messages end their lines as message boxes do; a label breaks lines at line feeds.
    m_result->setText(QString(message).replace(u"\r\n"_s, u"\n"_s));
}

void JoinWindow::setChoicesEnabled(bool enabled)
{
    m_folder->setEnabled(enabled);
    m_removePieces->setEnabled(enabled && !m_onDisks);
    m_join->setEnabled(enabled);
}

void JoinWindow::reject()
{
    if (m_running) {
        m_running->requestStop(RunControl::StopReason::Escape);
        return;
    }
    QDialog::reject();
}

void JoinWindow::closeEvent(QCloseEvent *event)
{
    if (m_running) {
        closeAfterJoin();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void JoinWindow::closeAfterJoin()
{
    // The join ends first, leaving nothing behind, and then the window closes.
    m_running->requestStop(RunControl::StopReason::WindowClosed);
    m_closeAfterJoin = true;
}

void JoinWindow::keyPressEvent(QKeyEvent *event)
{
    // A key held down acts once: Enter held since a join started must not start another.
    if (event->isAutoRepeat()) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

int runJoinWindow(int &argc, char **argv, const JoinRequest &request)
{
    QApplication application(argc, argv);
    StopSignals::install();
    QApplication::setApplicationName(u"Morlend"_s);
    Artwork::registerResource();
    Platform platform;
    MessageBoxPrompter prompter;
    JoinWindow window(prompter, platform, request);
    prompter.setWindow(&window);
    window.exec();
    if (StopSignals::received() != 0)
        StopSignals::endAsReceived();
    const std::optional<JoinOutcome> outcome = window.outcome();
    return outcome ? int(outcome->kind) : 0;
}
