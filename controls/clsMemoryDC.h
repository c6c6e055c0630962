#pragma once

#include <QImage>

#include <optional>

// One off-screen drawing surface at the display's pixel format, drawn once and then copied
// to the screen as often as needed. The surface is an image: hDC() points at it, so that a
// QPainter can draw into it (QPainter painter(surface.hDC())) and rectangles of it can be
// copied with QPainter::drawImage; it is null while there is no surface. The object owns the
// surface and frees it when it goes.
class clsMemoryDC
{
public:
    clsMemoryDC() = default;
    ~clsMemoryDC() { Destroy(); }
    clsMemoryDC(const clsMemoryDC &) = delete;
    clsMemoryDC &operator=(const clsMemoryDC &) = delete;

    qint32 Width() const { return m_Width; }
    qint32 Height() const { return m_Height; }
    // Bits per pixel of the last picture given to CreateFromPicture; Create and Destroy
    // leave it alone.
    quint8 BPP() const { return m_BPP; }
    QImage *hDC() { return m_surface ? &*m_surface : nullptr; }
    const QImage *hDC() const { return m_surface ? &*m_surface : nullptr; }

    // Builds a surface of that size unless there is one already: changing the size takes
    // Resize. Its content is undefined until the user fills it.
    void Create(qint32 lpWidth, qint32 lpHeight);
    void Destroy();
    // A new surface of that size; the former content is lost.
    void Resize(qint32 lpWidth, qint32 lpHeight);
    // A new surface of the picture's size holding a copy of the picture, converted to the
    // display's format, at the picture's device pixel ratio. The caller keeps its picture; a
    // null image gives a 0 x 0 surface.
    void CreateFromPicture(const QImage &lpPicture);

    // The pixel format of the primary screen, which every surface takes.
    static QImage::Format displayFormat();

private:
    qint32 m_Width = 0;
    qint32 m_Height = 0;
    quint8 m_BPP = 0;
    std::optional<QImage> m_surface;
};
