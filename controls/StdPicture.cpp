#include "StdPicture.h"

#include "AppError.h"

#include <QFile>
#include <QImageReader>
#include <QtEndian>

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
    picture->image = reader.read();
    if (picture->image.isNull()) {
        throw AppError(reader.error() == QImageReader::FileNotFoundError
                           ? AppError::FileNotFound
                           : AppError::InvalidPicture);
    }
    // Qt widens a 24-bit bitmap to 32 bits per pixel; the picture keeps the depth it is
    // stored at, which the memory surface made from it reports.
    if (bmpBitsPerPixel(source) == 24)
        picture->image = picture->image.convertToFormat(QImage::Format_RGB888);
    return picture;
}
