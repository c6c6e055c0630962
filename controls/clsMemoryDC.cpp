#include "controls/clsMemoryDC.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

QImage::Format clsMemoryDC::displayFormat()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen && screen->depth() == 16 ? QImage::Format_RGB16 : QImage::Format_RGB32;
}

void clsMemoryDC::Create(qint32 lpWidth, qint32 lpHeight)
{
    if (m_surface)
        return;
    // A size the image cannot take leaves a null image: drawing into it does nothing.
    m_surface.emplace(lpWidth, lpHeight, displayFormat());
    m_Width = lpWidth;
    m_Height = lpHeight;
}

void clsMemoryDC::Destroy()
{
    m_surface.reset();
    m_Width = 0;
    m_Height = 0;
}

void clsMemoryDC::Resize(qint32 lpWidth, qint32 lpHeight)
{
    Destroy();
    Create(lpWidth, lpHeight);
}

void clsMemoryDC::CreateFromPicture(const QImage &lpPicture)
{
    m_BPP = quint8(lpPicture.depth());
    Resize(lpPicture.width(), lpPicture.height());
    if (lpPicture.isNull())
        return;
    // A picture drawn for a dense screen keeps its pixels: they are copied one to one.
    m_surface->setDevicePixelRatio(lpPicture.devicePixelRatio());
    QPainter painter(&*m_surface);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, lpPicture);
}
