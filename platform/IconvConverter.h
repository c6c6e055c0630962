#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <iconv.h>
#include <optional>

// One direction of the C library's conversion between two character sets (iconv), open for
// the life of the object. The C library may have no converter for a set (a page it does not
// know, or an installation without its conversion modules): the object is then not open and
// converts nothing, rather than failing where it is made.
class IconvConverter
{
public:
    IconvConverter(const char *toCharset, const char *fromCharset);
    ~IconvConverter();
    IconvConverter(const IconvConverter &) = delete;
    IconvConverter &operator=(const IconvConverter &) = delete;

    bool isOpen() const { return m_descriptor != Closed; }
    // input converted as one text from the converter's initial state, with whatever a stateful
    // set keeps back written out at its end; none when a character of it has no code in the
    // target set, or input ends inside one, or the converter is not open. Nothing is ever
    // replaced or approximated.
    std::optional<QByteArray> convert(QByteArrayView input);

private:
    static inline const iconv_t Closed = reinterpret_cast<iconv_t>(-1);

    iconv_t m_descriptor;
};
