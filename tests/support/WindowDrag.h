#pragma once

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <QWindow>

// Drags data over a shown window the way the platform reports a drag: an enter, moves, then a
// drop or a leave, each sent to the window (not to a control), so that Qt picks the control
// under the point. Points are in the window's pixels; each step returns the action the window
// answered, or IgnoreAction when it refused.
class WindowDrag
{
public:
    WindowDrag(QWidget &window, const QMimeData &data, Qt::DropActions offered)
        : m_window(*window.windowHandle())
        , m_data(data)
        , m_offered(offered)
    {
    }
    ~WindowDrag()
    {
        if (m_over) {
            QDragLeaveEvent leave;
            QCoreApplication::sendEvent(&m_window, &leave);
        }
    }

    Qt::DropAction enter(QPoint at, Qt::KeyboardModifiers keys = {})
    {
        m_over = true;
        QDragEnterEvent event(at, m_offered, &m_data, Qt::LeftButton, keys);
        return answer(event);
    }
    Qt::DropAction move(QPoint at, Qt::KeyboardModifiers keys = {})
    {
        QDragMoveEvent event(at, m_offered, &m_data, Qt::LeftButton, keys);
        return answer(event);
    }
    Qt::DropAction drop(QPoint at, Qt::KeyboardModifiers keys = {})
    {
        m_over = false;
        QDropEvent event(at, m_offered, &m_data, Qt::LeftButton, keys);
        return answer(event);
    }

    // What a file manager puts in a drag of files: their addresses, and the same as text.
    static void carryFiles(QMimeData &data, const QStringList &paths)
    {
        QList<QUrl> urls;
        QStringList text;
        for (const QString &path : paths) {
            urls << QUrl::fromLocalFile(path);
            text << urls.last().toString();
        }
        data.setUrls(urls);
        data.setText(text.join("\r\n"));
    }

private:
    Qt::DropAction answer(QDropEvent &event)
    {
        QCoreApplication::sendEvent(&m_window, &event);
        return event.isAccepted() ? event.dropAction() : Qt::IgnoreAction;
    }

    QWindow &m_window;
    const QMimeData &m_data;
    Qt::DropActions m_offered;
    bool m_over = false;
};
