#include "controls/DrawEdge.h"

#include <QPainter>
#include <QPalette>
#include <QRect>

namespace {

struct RingColors
{
    QPalette::ColorRole topLeft;
    QPalette::ColorRole bottomRight;
};

void drawRing(QPainter &painter, QRect &rect, const RingColors &colors, Qt::Edges sides,
              const QPalette &palette)
{
    if (rect.isEmpty())
        return;
    const QColor topLeft = palette.color(colors.topLeft);
    const QColor bottomRight = palette.color(colors.bottomRight);
    if (sides & Qt::TopEdge)
        painter.fillRect(rect.left(), rect.top(), rect.width(), 1, topLeft);
    if (sides & Qt::LeftEdge)
        painter.fillRect(rect.left(), rect.top(), 1, rect.height(), topLeft);
    if (sides & Qt::BottomEdge)
        painter.fillRect(rect.left(), rect.bottom(), rect.width(), 1, bottomRight);
    if (sides & Qt::RightEdge)
        painter.fillRect(rect.right(), rect.top(), 1, rect.height(), bottomRight);
    rect.adjust(sides & Qt::LeftEdge ? 1 : 0, sides & Qt::TopEdge ? 1 : 0,
                sides & Qt::RightEdge ? -1 : 0, sides & Qt::BottomEdge ? -1 : 0);
}

} // namespace

void drawEdge(QPainter &painter, const QRect &rect, int edge, Qt::Edges sides,
              const QPalette &palette)
{
    struct Ring
    {
        int raised;
        int sunken;
        RingColors raisedColors;
        RingColors sunkenColors;
    };
    static constexpr Ring rings[] = {
        {Edge::RaisedOuter,
         Edge::SunkenOuter,
         {QPalette::Midlight, QPalette::Shadow},
         {QPalette::Dark, QPalette::Light}},
        {Edge::RaisedInner,
         Edge::SunkenInner,
         {QPalette::Light, QPalette::Dark},
         {QPalette::Shadow, QPalette::Midlight}},
    };
    QRect remaining = rect;
    for (const Ring &ring : rings) {
        const int flags = edge & (ring.raised | ring.sunken);
        if (flags == ring.raised)
            drawRing(painter, remaining, ring.raisedColors, sides, palette);
        else if (flags == ring.sunken)
            drawRing(painter, remaining, ring.sunkenColors, sides, palette);
    }
}

void drawBorder(QPainter &painter, const QRect &rect, int style, const QPalette &palette)
{
    const Qt::Edges allSides = Qt::TopEdge | Qt::LeftEdge | Qt::BottomEdge | Qt::RightEdge;
    if (style == Edge::Flat) {
        QRect frame = rect;
        drawRing(painter, frame, {QPalette::Dark, QPalette::Dark}, allSides, palette);
    } else {
        drawEdge(painter, rect, style, allSides, palette);
    }
}
