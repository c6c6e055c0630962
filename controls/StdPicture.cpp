#include "StdPicture.h"

#include "AppError.h"

#include <QImageReader>

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
    return picture;
}
