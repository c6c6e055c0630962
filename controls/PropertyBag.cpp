#include "controls/PropertyBag.h"

#include "platform/AppError.h"

#include <QJsonValue>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

QString keyOf(const QString &name)
{
    return name.toLower();
}

[[noreturn]] void typeMismatch()
{
    throw AppError(AppError::TypeMismatch);
}

template<typename T> struct Codec;

template<typename Integer> struct IntegerCodec
{
    static QJsonValue encode(Integer value) { return qint64(value); }
    static Integer decode(const QJsonValue &json)
    {
        const double number = json.toDouble(std::nan(""));
        if (std::isnan(number) || number != std::trunc(number))
            typeMismatch();
        if (number < std::numeric_limits<Integer>::min()
            || number > std::numeric_limits<Integer>::max()) {
            throw AppError(AppError::Overflow);
        }
        return Integer(number);
    }
};

template<> struct Codec<qint32> : IntegerCodec<qint32>
{
};

template<> struct Codec<qint16> : IntegerCodec<qint16>
{
};

template<> struct Codec<double>
{
    static QJsonValue encode(double value) { return value; }
    static double decode(const QJsonValue &json)
    {
        if (!json.isDouble())
            typeMismatch();
        return json.toDouble();
    }
};

template<> struct Codec<bool>
{
    static QJsonValue encode(bool value) { return value; }
    static bool decode(const QJsonValue &json)
    {
        if (!json.isBool())
            typeMismatch();
        return json.toBool();
    }
};

template<> struct Codec<QString>
{
    static QJsonValue encode(const QString &value) { return value; }
    static QString decode(const QJsonValue &json)
    {
        if (!json.isString())
            typeMismatch();
        return json.toString();
    }
};

template<> struct Codec<OleColor>
{
    static QJsonValue encode(OleColor value)
    {
        return u"0x"_s + QString::number(quint32(value), 16).toUpper().rightJustified(8, u'0');
    }
    static OleColor decode(const QJsonValue &json)
    {
        const QString text = json.toString();
        if (!text.startsWith(u"0x"_s, Qt::CaseInsensitive) || text.size() > 10)
            typeMismatch();
        bool ok = false;
        const quint32 value = text.sliced(2).toUInt(&ok, 16);
        if (!ok)
            typeMismatch();
        return OleColor(value);
    }
};

template<> struct Codec<FontRef>
{
    static QJsonValue encode(const FontRef &font)
    {
        if (!font)
            return QJsonValue::Null;
        return QJsonObject {
            {u"name"_s, font->name},           {u"size"_s, font->size},
            {u"bold"_s, font->bold},           {u"italic"_s, font->italic},
            {u"underline"_s, font->underline}, {u"strikethrough"_s, font->strikethrough},
            {u"charset"_s, font->charset},
        };
    }
    static FontRef decode(const QJsonValue &json)
    {
        if (json.isNull())
            return nullptr;
        if (!json.isObject())
            typeMismatch();
        const QJsonObject object = json.toObject();
        const QJsonValue size = object.value(u"size"_s);
        if (!size.isDouble())
            typeMismatch();
        return std::make_shared<StdFont>(StdFont {
            Codec<QString>::decode(object.value(u"name"_s)),
            size.toDouble(),
            Codec<bool>::decode(object.value(u"bold"_s)),
            Codec<bool>::decode(object.value(u"italic"_s)),
            Codec<bool>::decode(object.value(u"underline"_s)),
            Codec<bool>::decode(object.value(u"strikethrough"_s)),
            Codec<qint16>::decode(object.value(u"charset"_s)),
        });
    }
};

template<> struct Codec<PictureRef>
{
    static QJsonValue encode(const PictureRef &picture)
    {
        if (!picture)
            return QJsonValue::Null;
        // A picture made in memory has no file to refer to.
        if (picture->source.isEmpty() && !picture->image.isNull())
            throw AppError(AppError::InvalidPropertyValue);
        return picture->source;
    }
    static PictureRef decode(const QJsonValue &json)
    {
        if (json.isNull())
            return nullptr;
        return StdPicture::load(Codec<QString>::decode(json));
    }
};

// Fonts are the same when they look the same; pictures only when they are the same object.
template<typename T> bool sameValue(const T &a, const T &b)
{
    return a == b;
}

template<> bool sameValue(const FontRef &a, const FontRef &b)
{
    return a == b || (a && b && *a == *b);
}

} // namespace

PropertyBag PropertyBag::fromJson(const QJsonObject &object)
{
    PropertyBag bag;
    for (auto it = object.begin(); it != object.end(); ++it)
        bag.m_values.insert(keyOf(it.key()), it.value());
    return bag;
}

template<typename T> T PropertyBag::readProperty(const QString &name, const T &defaultValue) const
{
    const QJsonValue stored = m_values.value(keyOf(name));
    return stored.isUndefined() ? defaultValue : Codec<T>::decode(stored);
}

template<typename T>
void PropertyBag::writeProperty(const QString &name, const T &value, const T &defaultValue)
{
    if (sameValue(value, defaultValue))
        m_values.remove(keyOf(name));
    else
        m_values.insert(keyOf(name), Codec<T>::encode(value));
}

#define MORLEND_PROPERTY_TYPE(T)                                                                   \
    template T PropertyBag::readProperty<T>(const QString &, const T &) const;                     \
    template void PropertyBag::writeProperty<T>(const QString &, const T &, const T &);

MORLEND_PROPERTY_TYPE(qint32)
MORLEND_PROPERTY_TYPE(qint16)
MORLEND_PROPERTY_TYPE(double)
MORLEND_PROPERTY_TYPE(bool)
MORLEND_PROPERTY_TYPE(QString)
MORLEND_PROPERTY_TYPE(OleColor)
MORLEND_PROPERTY_TYPE(FontRef)
MORLEND_PROPERTY_TYPE(PictureRef)
