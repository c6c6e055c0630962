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

    // Loads the picture that source names: an empty source gives an empty picture, a
    // Windows icon file an icon, anything else a bitmap; a 24-bit BMP file keeps its 24 bits
    // per pixel. Throws AppError when it cannot.
    static std::shared_ptr<StdPicture> load(const QString &source);
};

using PictureRef = std::shared_ptr<StdPicture>;
