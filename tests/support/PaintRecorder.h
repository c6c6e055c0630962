#pragma once

#include <QEvent>
#include <QList>
#include <QObject>
#include <QPaintEvent>
#include <QRegion>
#include <QWidget>

// Keeps the region of every paint that a widget gets, from its making on.
class PaintRecorder : public QObject
{
public:
    explicit PaintRecorder(QWidget &widget) { widget.installEventFilter(this); }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            paints += static_cast<QPaintEvent *>(event)->region();
        return false;
    }

    QList<QRegion> paints;
};
