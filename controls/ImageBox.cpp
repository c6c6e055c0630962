#include "controls/ImageBox.h"

#include "controls/CopyOffer.h"

#include <QDropEvent>
#include <QMimeData>
#include <QPixmap>
#include <QWindow>

namespace {

// Takes a drag of files as a copy, whatever action its source proposes or the user's keys
// choose: a file manager told that its file was moved may delete it. Anything but files, and a
// drag that cannot be copied, is refused.
bool takeAsCopy(QDropEvent &event)
{
    if (!event.mimeData()->hasUrls() || !(event.possibleActions() & Qt::CopyAction)) {
        event.ignore();
        return false;
    }
    event.setDropAction(Qt::CopyAction);
    event.accept();
    return true;
}

} // namespace

ImageBox::ImageBox(QWidget *parent)
    : QLabel(parent)
{
    setAcceptDrops(true);
}

void ImageBox::setPicture(const PictureRef &New_Picture)
{
    m_Picture = New_Picture;
    showPicture();
}

// The picture is shown at the screen's density, from the one drawn at twice its size where
// there is one, so that it is as sharp as the screen allows.
void ImageBox::showPicture()
{
    m_shownRatio = devicePixelRatioF();
    const QPixmap pixmap
        = m_Picture ? QPixmap::fromImage(m_Picture->imageAt(m_shownRatio)) : QPixmap();
    setPixmap(pixmap);
    if (!pixmap.isNull())
        resize(m_Picture->image.size());
}

void ImageBox::showEvent(QShowEvent *event)
{
    QLabel::showEvent(event);
    if (m_shownRatio != devicePixelRatioF())
        showPicture();
    if (QWindow *handle = window()->windowHandle(); handle && acceptDrops())
        CopyOffer::offerOn(*handle);
}

void ImageBox::dragEnterEvent(QDragEnterEvent *event)
{
    takeAsCopy(*event);
}

// Qt asks again on every move, and the action proposed changes as the user presses or lets go
// of Shift or Ctrl over the box.
void ImageBox::dragMoveEvent(QDragMoveEvent *event)
{
    takeAsCopy(*event);
}

void ImageBox::dropEvent(QDropEvent *event)
{
    if (takeAsCopy(*event))
        emit OLEDragDrop(event->mimeData());
}
