#pragma once

#include <QImage>
#include <QString>

#include <memory>

// A picture as controls store it and share it. An empty picture is present but holds no
// image; "no picture" is a null PictureRef.
struct StdPicture
{
    enum class Type
    {
        Bitmap,
        Icon,
    };

    Type type = Type::Bitmap;
    QImage image;
    // The image file or resource it was loaded from; empty for one made in memory.
    QString source;
    // The same picture drawn at twice its size, from the file beside the source that Qt's
    // naming gives it (ent@2x.bmp beside ent.bmp), at a device pixel ratio of 2; null when
    // there is none.
    QImage image2x;

    // The sharpest image for a screen of that many device pixels to a pixel: the one drawn at
    // twice the size, where there is one, for any ratio above 1.
    const QImage &sharpestFor(qreal ratio) const;
    // The picture at its own size in pixels on such a screen: the sharpest image, scaled
    // smoothly to the screen's device pixels unless it has exactly their number.
    QImage imageAt(qreal ratio) const;

    // Loads the picture that source names, and the one drawn at twice its size beside it:
    // an empty source gives an empty picture, a Windows icon file an icon, anything else a
    // bitmap; a 24-bit BMP file keeps its 24 bits per pixel. Throws AppError when it cannot.
    static std::shared_ptr<StdPicture> load(const QString &source);
};

using PictureRef = std::shared_ptr<StdPicture>;
