#pragma once

#include "controls/OleColor.h"

#include <QFrame>
#include <QImage>

class QRegion;

// A sunken box with a persistent drawing surface in a user-defined scale: what is drawn into
// it stays shown until it is cleared, whatever repaints the window system asks for.
class PictureBox : public QFrame
{
    Q_OBJECT

public:
    explicit PictureBox(QWidget *parent = nullptr);

    // The user scale: the interior is scaleWidth units wide and scaleHeight units high,
    // with its origin at the top-left corner. Both must be positive.
    void setScaleWidth(qreal width);
    void setScaleHeight(qreal height);
    qreal scaleWidth() const { return m_scaleWidth; }
    qreal scaleHeight() const { return m_scaleHeight; }

    // The colour of filled boxes, resolved against the palette when a box is drawn.
    void setForeColor(OleColor color) { m_foreColor = color; }
    OleColor foreColor() const { return m_foreColor; }

    // Erases the surface.
    void clear();
    // How far along the scale the boxes filled since the last clear reach: the progress the
    // box shows, which assistive technology reads as its value.
    qreal filledTo() const { return m_filledTo; }
    // Fills the box between two corners given in scale units. Like the classic filled box,
    // it covers at least one pixel in each direction. Only the pixels it changes are painted
    // again, at the window's next paint: a progress bar filled after every one of thousands
    // of steps moves by a pixel now and then, and its sunken border never changes.
    void fillBox(QPointF from, QPointF to);

    // What the surface holds, at device pixels.
    const QImage &surface();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // The surface follows the interior's size and the screen's density, keeping what was
    // drawn where it was: a window moved to a denser screen in the middle of a run still shows
    // the progress so far.
    void fitSurface();
    // Marks that part of the surface as drawn and yet to be shown.
    void changed(const QRegion &surfaceRegion);
    void setFilledTo(qreal reach);

    qreal m_scaleWidth = 1;
    qreal m_scaleHeight = 1;
    OleColor m_foreColor = OleColor::ButtonText;
    QImage m_surface;
    // The box filled last and its colour, as long as nothing else was drawn since: a fill
    // within it in the same opaque colour leaves every pixel as it is.
    QRect m_lastFill;
    QRgb m_lastFillColor = 0;
    qreal m_filledTo = 0;
};
