#include "tests/e2e/DragSource.h"

#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QTextStream>

namespace {

QString actionName(Qt::DropAction action)
{
    switch (action) {
    case Qt::CopyAction:
        return QStringLiteral("copy");
    case Qt::MoveAction:
        return QStringLiteral("move");
    case Qt::LinkAction:
        return QStringLiteral("link");
    default:
        return QStringLiteral("none");
    }
}

} // namespace

DragSource::DragSource(const QList<QUrl> &files, Qt::DropActions offered, QWidget *parent)
    : QWidget(parent)
    , m_files(files)
    , m_offered(offered)
{
    setWindowTitle(QStringLiteral("morlend-e2e-drag-source"));
    setFixedSize(120, 60);
}

void DragSource::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // File managers offer the addresses both as a URI list and as plain text, one a line.
    auto *data = new QMimeData;
    data->setUrls(m_files);
    QStringList addresses;
    for (const QUrl &file : m_files)
        addresses << QString::fromUtf8(file.toEncoded());
    data->setText(addresses.join(u'\n'));
    auto *drag = new QDrag(this);
    drag->setMimeData(data);
    const Qt::DropAction answered = drag->exec(
        m_offered, m_offered.testFlag(Qt::CopyAction) ? Qt::CopyAction : Qt::MoveAction);
    // A drop target asks for the data after it has answered the drop, so the source stays
    // to serve it, as a file manager does, until it is closed.
    QTextStream(stdout) << actionName(answered) << Qt::endl;
}

void DragSource::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("drag me"));
}
