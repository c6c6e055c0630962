#pragma once

#include <Qt>

class QPainter;
class QPalette;
class QRect;

// Bevelled borders in the classic edge convention: an edge is any combination of an outer
// and an inner ring, each one pixel wide and raised or sunken.
namespace Edge {
enum : int
{
    RaisedOuter = 1,
    SunkenOuter = 2,
    RaisedInner = 4,
    SunkenInner = 8,
    Raised = RaisedOuter | RaisedInner,
    Sunken = SunkenOuter | SunkenInner,
    Etched = SunkenOuter | RaisedInner,
    Bump = RaisedOuter | SunkenInner,
    // Not a ring combination: a flat one-pixel frame in the button-shadow colour.
    Flat = 20,
};
}

// Draws the rings of edge along the given sides of rect, the outer ring on the rect's outer
// pixels and the inner ring just inside it (a lone ring lies on the outer pixels). A raised
// ring is light on the top and left and dark on the bottom and right, a sunken one the
// reverse: the outer ring uses the palette's midlight and shadow, the inner ring its light
// and dark. The bottom and right lines run the full length, over the corners. Only the low
// four bits of edge count; a ring that is both raised and sunken is not drawn.
void drawEdge(QPainter &painter, const QRect &rect, int edge, Qt::Edges sides,
              const QPalette &palette);

// A border of the given style around rect: Edge::Flat or the rings of drawEdge on all sides.
void drawBorder(QPainter &painter, const QRect &rect, int style, const QPalette &palette);
