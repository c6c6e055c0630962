#pragma once

#include "controls/StdPicture.h"

#include <QLabel>

class QMimeData;

// An image shown at its own size that takes files dropped on it, always as a copy, and hands
// the drop's data to its owner, which decides what to do with it.
class ImageBox : public QLabel
{
    Q_OBJECT

public:
    explicit ImageBox(QWidget *parent = nullptr);

    // The picture, shown at its own size; the box takes that size.
    PictureRef Picture() const { return m_Picture; }
    void setPicture(const PictureRef &New_Picture);

signals:
    void OLEDragDrop(const QMimeData *data);

protected:
    void showEvent(QShowEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void showPicture();

    PictureRef m_Picture;
    qreal m_shownRatio = 1;
};
