#include "ui/WindowView.h"

#include "controls/PictureBox.h"
#include "controls/TextBox.h"
#include "engine/SizeText.h"
#include "ui/Form1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>

#include <cmath>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// Longer than Qt waits on X11 before it takes a window's lost focus for a change of the active
// window rather than a move between two of the program's windows (a tenth of a second).
constexpr auto FocusSettles = 200ms;

} // namespace

WindowView::WindowView(Form1 &window)
    : m_window(window)
    , m_pacer(window)
    , m_attention(window)
{
    // The caption is repainted every frame of a run, so its paint must stay small beside the
    // run's own work: an opaque label spares painting the window beneath it, and digits and a
    // slash need no text shaping. Neither changes a pixel on screen.
    QLabel &caption = *m_window.lblProg;
    caption.setAutoFillBackground(true);
    QFont font = caption.font();
    font.setStyleStrategy(QFont::PreferNoShaping);
    caption.setFont(font);
}

QString WindowView::pieceSizeText() const
{
    return m_window.cmbFilesize->currentText();
}

bool WindowView::writesIntoFolder() const
{
    return m_window.optWrite[0]->isChecked();
}

QString WindowView::folderText() const
{
    return m_window.txtOut->text();
}

void WindowView::setFolderText(const QString &folder)
{
    m_window.txtOut->setText(folder);
}

bool WindowView::clearBoxIsOn() const
{
    return m_window.chbClearFDD->isEnabled() && m_window.chbClearFDD->checkState() != Qt::Unchecked;
}

void WindowView::showEstimate(const QString &text)
{
    m_window.txtEst->setText(text);
}

void WindowView::showSource(const QString &path, qint64 length)
{
    m_window.txtFN->setText(path + u" * "_s + modMorlend::formatBytes(length));
}

void WindowView::startProgress(qint64 count)
{
    m_window.picProg->clear();
    m_window.picProg->setScaleWidth(count);
}

void WindowView::showProgress(qint64 index, qint64 count)
{
    const bool reset = index < 0;
    if (reset)
        m_window.picProg->clear();
    else
        m_window.picProg->fillBox({0, 0}, {qreal(index), 1});
    const QString caption = QString::number(reset ? 0 : index) + u'/' + QString::number(count);
    if (caption != m_window.lblProg->text())
        m_window.lblProg->setText(caption);
    // Every piece is drawn and counted, but the screen can show no more than a frame at a
    // time: the window is handed to it once a frame, at the end of the run and before any
    // message. A reset waits for the window's next paint.
    if (!reset)
        m_pacer.pace();
}

void WindowView::showPieceProgress(qint64 index, double fraction)
{
    // As far as a whole pixel of the box reaches: the box shows no less, and assistive
    // technology hears of the value once a pixel rather than once a step, which can be
    // thousands of times a second.
    PictureBox &box = *m_window.picProg;
    const int pixels = box.contentsRect().width();
    if (pixels <= 0)
        return;
    const qreal unitsPerPixel = box.scaleWidth() / pixels;
    const qreal reach = std::floor((qreal(index) + fraction) / unitsPerPixel) * unitsPerPixel;
    if (reach > box.filledTo())
        box.fillBox({0, 0}, {reach, 1});
}

void WindowView::keepAlive()
{
    m_pacer.pace();
}

void WindowView::yieldToMessage()
{
    handOver();
}

void WindowView::endRun()
{
    handOver();
}

void WindowView::handOver()
{
    m_pacer.show();
    m_pacer.dropPendingInput();
    // A user who went to another window during a long run learns that it needs them now, the
    // desktop's way (the task bar's entry asks for attention); the focus stays where it is.
    // Qt hears that the window lost the focus only on a timer of its own, which the run holds
    // back, so the window asks once the event loop has caught up.
    QTimer::singleShot(FocusSettles, &m_window, [this] { m_attention.ask(); });
}
