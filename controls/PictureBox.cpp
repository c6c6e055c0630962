#include "controls/PictureBox.h"

#include <QAccessible>
#include <QColor>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <cmath>
#include <utility>

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
    m_lastFill = {};
    changed(QRect(QPoint(0, 0), contentsRect().size()));
    setFilledTo(0);
}

void PictureBox::fillBox(QPointF from, QPointF to)
{
    setFilledTo(std::max({m_filledTo, from.x(), to.x()}));
    const QSize interior = contentsRect().size();
    const qreal unitX = interior.width() / m_scaleWidth;
    const qreal unitY = interior.height() / m_scaleHeight;
    const int left = int(std::floor(std::min(from.x(), to.x()) * unitX));
    const int top = int(std::floor(std::min(from.y(), to.y()) * unitY));
    const int right = std::max(left + 1, int(std::lround(std::max(from.x(), to.x()) * unitX)));
    const int bottom = std::max(top + 1, int(std::lround(std::max(from.y(), to.y()) * unitY)));

    const QRect box(QPoint(left, top), QPoint(right - 1, bottom - 1));
    const QColor color = TranslateColor(m_foreColor, palette());
    fitSurface();
    const bool paintsOver = color.alpha() == 255 && color.rgba() == m_lastFillColor;
    if (paintsOver && m_lastFill.contains(box))
        return;
    QPainter painter(&m_surface);
    painter.fillRect(box, color);
    changed(paintsOver ? QRegion(box).subtracted(m_lastFill) : QRegion(box));
    m_lastFill = box;
    m_lastFillColor = color.rgba();
}

void PictureBox::setFilledTo(qreal reach)
{
    if (reach == m_filledTo)
        return;
    m_filledTo = reach;
    QAccessibleValueChangeEvent progressed(this, m_filledTo);
    QAccessible::updateAccessibility(&progressed);
}

void PictureBox::changed(const QRegion &surfaceRegion)
{
    update(surfaceRegion.translated(contentsRect().topLeft()));
}

const QImage &PictureBox::surface()
{
    fitSurface();
    return m_surface;
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    // The sunken border costs many times the interior to draw; it is drawn when a paint
    // reaches it, never for the interior alone.
    if (!contentsRect().contains(event->rect()))
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
    QImage drawn = std::exchange(m_surface, QImage(size, QImage::Format_ARGB32_Premultiplied));
    m_surface.setDevicePixelRatio(ratio);
    m_surface.fill(Qt::transparent);
    if (!drawn.isNull())
        QPainter(&m_surface).drawImage(QPoint(0, 0), drawn);
    m_lastFill = {};
}
