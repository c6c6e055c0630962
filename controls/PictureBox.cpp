#include "PictureBox.h"

#include <QColor>
#include <QPainter>

#include <cmath>

PictureBox::PictureBox(QWidget *parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
}

void PictureBox::setScaleWidth(qreal width)
{
    Q_ASSERT(width > 0);
    m_scaleWidth = width;
}

void PictureBox::setScaleHeight(qreal height)
{
    Q_ASSERT(height > 0);
    m_scaleHeight = height;
}

void PictureBox::clear()
{
    fitSurface();
    m_surface.fill(Qt::transparent);
    update();
}

void PictureBox::fillBox(QPointF from, QPointF to)
{
    const QSize interior = contentsRect().size();
    const qreal unitX = interior.width() / m_scaleWidth;
    const qreal unitY = interior.height() / m_scaleHeight;
    const int left = int(std::floor(std::min(from.x(), to.x()) * unitX));
    const int top = int(std::floor(std::min(from.y(), to.y()) * unitY));
    const int right = std::max(left + 1, int(std::lround(std::max(from.x(), to.x()) * unitX)));
    const int bottom = std::max(top + 1, int(std::lround(std::max(from.y(), to.y()) * unitY)));

    fitSurface();
    QPainter painter(&m_surface);
    painter.fillRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)),
                     TranslateColor(m_foreColor, palette()));
    update();
}

const QImage &PictureBox::surface()
{
    fitSurface();
    return m_surface;
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    fitSurface();
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), m_surface);
}

void PictureBox::fitSurface()
{
    const qreal ratio = devicePixelRatioF();
    const QSize size = contentsRect().size() * ratio;
    if (m_surface.size() == size && m_surface.devicePixelRatio() == ratio)
        return;
    m_surface = QImage(size, QImage::Format_ARGB32_Premultiplied);
    m_surface.setDevicePixelRatio(ratio);
    m_surface.fill(Qt::transparent);
}
