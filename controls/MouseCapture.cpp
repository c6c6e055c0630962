#include "controls/MouseCapture.h"

#include <QWidget>

void releaseMouseCapture()
{
    if (QWidget *grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
}
