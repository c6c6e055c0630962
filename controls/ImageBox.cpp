#include "ImageBox.h"

#include <QDropEvent>
#include <QMimeData>
#include <QPixmap>

ImageBox::ImageBox(QWidget *parent)
    : QLabel(parent)
{
    setAcceptDrops(true);
}

void ImageBox::setPicture(const PictureRef &New_Picture)
{
    m_Picture = New_Picture;
    const QPixmap pixmap = m_Picture ? QPixmap::fromImage(m_Picture->image) : QPixmap();
    setPixmap(pixmap);
    if (!pixmap.isNull())
        resize(pixmap.deviceIndependentSize().toSize());
}

void ImageBox::dragEnterEvent(QDragEnterEvent *event)
{
    // Only files are of use; anything else is refused before it is dropped.
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void ImageBox::dropEvent(QDropEvent *event)
{
    event->acceptProposedAction();
    emit OLEDragDrop(event->mimeData());
}
