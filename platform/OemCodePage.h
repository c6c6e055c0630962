#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <memory>
#include <optional>

class QLocale;

// The 8-bit character set in which the command interpreter of the machine that joins the
// pieces reads batch files: the OEM code page that the system gives the user's locale
// (OemCodePageTable). ASCII is the same in every one of them. Any other character is written
// only when the page has a code of its own for it that the joining machine reads back as that
// very character, so that no name in the script names another file there.
class OemCodePage
{
public:
    static OemCodePage forLocale(const QLocale &locale);
    explicit OemCodePage(int number);

    // The page's number, as the system names it (437, 852, 932, ...).
    int number() const { return m_number; }
    // Whether characters beyond ASCII can be written in this page at all: the C library
    // converts it (an installation without its conversion modules does not), or Morlend holds
    // the page itself.
    bool hasConverter() const;
    // Whether text can be written in this page so that the joining machine reads back exactly
    // text: the one test of a name that the script is to carry.
    bool canEncode(QStringView text) const;
    // text in this page; a character without a code raises "Bad file name or number".
    QByteArray encode(QStringView text) const;
    // bytes read in this page, as the joining machine reads them; none when they hold a byte
    // or a sequence that the page gives no character.
    std::optional<QString> decode(QByteArrayView bytes) const;

private:
    class Codes;

    // text in this page; none when a character of it has no code.
    std::optional<QByteArray> encoded(QStringView text) const;

    int m_number;
    // Shared by copies: the converters, and the code of each character looked up so far.
    std::shared_ptr<Codes> m_codes;
};
