#pragma once

#include "controls/OleColor.h"
#include "controls/StdFont.h"
#include "controls/StdPicture.h"

#include <QJsonObject>

class QString;

// The stored design-time properties of one custom control, as its host keeps them in the
// stored layout. Keys compare without regard to case and are kept in lower case. A value
// equal to the default it is written with is not kept, and reading a key that is not there
// yields the default it is read with, so only what differs from the defaults is stored.
//
// The store is a JSON object: numbers as JSON numbers, colours as "0x8000000F", fonts as objects
// {"name", "size" in points, "bold", "italic", "underline", "strikethrough", "charset"} and
// pictures as the file or resource they come from ("" for an empty picture). Reading a store
// and writing the same values back gives the same object.
//
// readProperty and writeProperty take qint32, qint16, double, bool, QString, OleColor,
// FontRef and PictureRef; a stored value that cannot be read as the default's type throws
// AppError.
class PropertyBag
{
public:
    PropertyBag() = default;
    static PropertyBag fromJson(const QJsonObject &object);
    QJsonObject toJson() const { return m_values; }

    template<typename T> T readProperty(const QString &name, const T &defaultValue) const;
    template<typename T>
    void writeProperty(const QString &name, const T &value, const T &defaultValue);

private:
    QJsonObject m_values;
};
