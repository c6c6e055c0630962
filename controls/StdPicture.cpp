#include "controls/StdPicture.h"

#include "platform/AppError.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {

// The bits per pixel that a BMP file's header gives; 0 for any other file.
int bmpBitsPerPixel(const QString &source)
{
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray header = file.read(30);
    if (header.size() < 30 || !header.startsWith("BM"))
        return 0;
    // The old core header keeps the field four bytes earlier than every later one.
    const quint32 headerSize = qFromLittleEndian<quint32>(header.constData() + 14);
    return qFromLittleEndian<quint16>(header.constData() + (headerSize == 12 ? 24 : 28));
}

// The picture at path, kept at the depth a bitmap file stores it at.
QImage readImage(QImageReader &reader, const QString &path)
{
    QImage image = reader.read();
    if (image.isNull()) {
        throw AppError(reader.error() == QImageReader::FileNotFoundError
                           ? AppError::FileNotFound
                           : AppError::InvalidPicture);
    }
    // Qt widens a 24-bit bitmap to 32 bits per pixel; the picture keeps the depth it is
    // stored at, which the memory surface made from it reports.
    if (bmpBitsPerPixel(path) == 24)
        image = image.convertToFormat(QImage::Format_RGB888);
    return image;
}

// Where Qt looks for the same picture drawn at twice its size: ent@2x.bmp beside ent.bmp.
QString twiceSizeName(const QString &path)
{
    const QFileInfo file(path);
    const QString suffix = file.suffix().isEmpty() ? QString() : u"."_s + file.suffix();
    return file.path() + u"/"_s + file.completeBaseName() + u"@2x"_s + suffix;
}

} // namespace

std::shared_ptr<StdPicture> StdPicture::load(const QString &source)
{
    auto picture = std::make_shared<StdPicture>();
    picture->source = source;
    if (source.isEmpty())
        return picture;

    QImageReader reader(source);
    if (reader.format() == "ico")
        picture->type = Type::Icon;
    picture->image = readImage(reader, source);
    if (const QString large = twiceSizeName(source); QFile::exists(large)) {
        QImageReader largeReader(large);
        picture->image2x = readImage(largeReader, large);
        picture->image2x.setDevicePixelRatio(2);
    }
    return picture;
}

const QImage &StdPicture::sharpestFor(qreal ratio) const
{
    return ratio > 1 && !image2x.isNull() ? image2x : image;
}

QImage StdPicture::imageAt(qreal ratio) const
{
    const QImage &sharpest = sharpestFor(ratio);
    if (sharpest.isNull() || sharpest.devicePixelRatio() == ratio)
        return sharpest;
    // Scaled as plain pixels: Qt 6.4 crashes scaling a palette image that has a ratio of 2.
    QImage pixels = sharpest.convertToFormat(QImage::Format_ARGB32);
    pixels.setDevicePixelRatio(1);
    pixels = pixels.scaled((QSizeF(image.size()) * ratio).toSize(), Qt::IgnoreAspectRatio,
                           Qt::SmoothTransformation);
    pixels.setDevicePixelRatio(ratio);
    return pixels;
}
