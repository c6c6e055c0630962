#include "controls/CLine.h"

#include "controls/ControlHost.h"
#include "controls/DrawEdge.h"
#include "controls/MouseCapture.h"
#include "controls/PropertyBag.h"

#include <QPainter>

using namespace Qt::StringLiterals;

namespace {
constexpr int Thickness = 2;
}

CLine::CLine(ControlHost &host, QWidget *parent)
    : QWidget(parent)
    , m_host(host)
{
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
}

void CLine::setOrientation(qint32 New_Orientation)
{
    m_Orientation = New_Orientation;
    layoutLine();
    m_host.propertyChanged(*this, u"Orientation"_s);
}

void CLine::ReadProperties(const PropertyBag &PropBag)
{
    m_Orientation = PropBag.readProperty(u"Orientation"_s, qint32(0));
}

void CLine::WriteProperties(PropertyBag &PropBag) const
{
    PropBag.writeProperty(u"Orientation"_s, m_Orientation, qint32(0));
}

void CLine::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutLine();
}

void CLine::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawEdge(painter, rect(), Edge::Etched, m_Orientation == 0 ? Qt::TopEdge : Qt::LeftEdge,
             palette());
}

void CLine::mouseReleaseEvent(QMouseEvent *)
{
    releaseMouseCapture();
}

void CLine::layoutLine()
{
    m_Orientation = width() > height() ? 0 : 1;
    // A real change of size comes back here once more, on the final two-pixel rectangle.
    if (m_Orientation == 0)
        resize(width(), Thickness);
    else
        resize(Thickness, height());
    update();
}
