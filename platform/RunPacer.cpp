#include "RunPacer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QWidget>

namespace {

RunPacer::Clock steadyClock()
{
    QElapsedTimer timer;
    timer.start();
    return [timer] {
        return timer.nsecsElapsed();
    };
}

} // namespace

RunPacer::RunPacer(QWidget &window)
    : m_window(window)
    , m_clock(steadyClock())
{
}

void RunPacer::pace()
{
    if (m_clock() < m_nextFrame)
        return;
    show();
    m_nextFrame = m_clock() + frameInterval();
}

void RunPacer::show()
{
    // A change to a control only marks it and posts the window an update request, which Qt
    // answers by painting everything marked and handing it to the display in one go.
    QCoreApplication::sendPostedEvents(&m_window, QEvent::UpdateRequest);
}

qint64 RunPacer::frameInterval() const
{
    const QScreen *screen = m_window.screen();
    const qreal rate = screen ? screen->refreshRate() : 0;
    // A screen that does not know its rate is shown every step, as without pacing.
    return rate > 0 ? qint64(1e9 / rate) : 0;
}
