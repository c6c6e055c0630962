#pragma once

#include <QByteArray>
#include <QStringView>

class QLocale;

// The 8-bit character set in which the console's command interpreter reads batch files: the
// OEM code page of the user's region (437 by default, 850 for Western European languages,
// 866 for languages written in Cyrillic). Each holds ASCII and 128 characters more.
class OemCodePage
{
public:
    static OemCodePage forLocale(const QLocale &locale);

    // The page's number, as the system names it (437, 850, 866).
    int number() const { return m_number; }
    // Whether every character of text has a byte in this page.
    bool canEncode(QStringView text) const;
    // text in this page; a character it has no byte for becomes "?".
    QByteArray encode(QStringView text) const;

private:
    OemCodePage(int number, const char16_t *upperHalf);
    // The byte for character, or -1 when the page has none.
    int byteFor(QChar character) const;

    int m_number;
    const char16_t *m_upperHalf;
};
