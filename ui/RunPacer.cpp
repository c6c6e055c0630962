#include "ui/RunPacer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QList>
#include <QPointer>
#include <QScopedValueRollback>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <utility>

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
    // Answering may run a handler that steps the run's display again.
    if (m_answering || m_clock() < m_nextFrame)
        return;
    show();
    answer();
    m_nextFrame = m_clock() + frameInterval();
}

void RunPacer::show()
{
    // A change to a control only marks it and posts the window an update request, which Qt
    // answers by painting everything marked and handing it to the display in one go.
    QCoreApplication::sendPostedEvents(&m_window, QEvent::UpdateRequest);
}

void RunPacer::answer()
{
    if (m_answering)
        return;
    const QScopedValueRollback answering(m_answering, true);
    // On the windows, where the window system's input arrives before any control sees it. The
    // application's own filters stay as they are: the run may be inside one of them (the
    // window's key preview), and Qt would call that one again after a change to their list.
    QList<QPointer<QWindow>> windows;
    for (QWindow *window : QGuiApplication::topLevelWindows()) {
        window->installEventFilter(&m_input);
        windows << window;
    }
    QCoreApplication::processEvents(QEventLoop::X11ExcludeTimers
                                    | QEventLoop::ExcludeSocketNotifiers);
    for (QWindow *window : std::as_const(windows)) {
        if (window)
            window->removeEventFilter(&m_input);
    }
}

qint64 RunPacer::frameInterval() const
{
    const QScreen *screen = m_window.screen();
    const qreal rate = screen ? screen->refreshRate() : 0;
    // A screen that does not know its rate is shown every step, as without pacing.
    return rate > 0 ? qint64(1e9 / rate) : 0;
}
