#include "platform/OemCodePage.h"

#include "platform/AppError.h"
#include "platform/Cp720.h"
#include "platform/IconvConverter.h"
#include "platform/OemCodePageTable.h"

#include <QHash>
#include <QString>

#include <algorithm>
#include <optional>

namespace {

constexpr char32_t FirstBeyondAscii = 0x80;
// The longest code of one character in the pages: a lead byte and a second byte.
constexpr qsizetype MaxCodeLength = 2;

// The C library's name of page number.
QByteArray iconvName(int number)
{
    return "CP" + QByteArray::number(number);
}

// The pages the C library lacks, held here: the characters of their bytes from 0x80 on.
const char16_t *upperHalfHeldFor(int number)
{
    return number == 720 ? Cp720UpperHalf : nullptr;
}

} // namespace

class OemCodePage::Codes
{
public:
    explicit Codes(int number)
        : m_upperHalf(upperHalfHeldFor(number))
        , m_toPage(iconvName(number).constData(), "UTF-8")
        , m_fromPage("UTF-8", iconvName(number).constData())
    {
    }

    // bytes, read in the page; none when the page reads no text from them.
    std::optional<QString> decode(QByteArrayView bytes)
    {
        if (m_upperHalf)
            return heldText(bytes);
        // A character at a time, as the joining machine reads the page: one byte, or a lead
        // byte and the one after it. Read as one text, the C library would join a letter and a
        // combining mark after it into one character (1258), where that machine reads two.
        QString text;
        for (qsizetype at = 0; at < bytes.size();) {
            std::optional<QByteArray> character;
            qsizetype length = 0;
            while (!character && length < MaxCodeLength && at + length < bytes.size())
                character = m_fromPage.convert(bytes.sliced(at, ++length));
            if (!character)
                return std::nullopt;
            text += QString::fromUtf8(*character);
            at += length;
        }
        return text;
    }

    bool hasConverter() const
    {
        return m_upperHalf != nullptr || (m_toPage.isOpen() && m_fromPage.isOpen());
    }

    // The bytes of character, a character beyond ASCII, or none.
    std::optional<QByteArray> codeOf(char32_t character)
    {
        auto known = m_known.constFind(character);
        if (known == m_known.cend())
            known = m_known.insert(character,
                                   m_upperHalf ? heldCode(character) : convertedCode(character));
        return *known;
    }

private:
    std::optional<QByteArray> heldCode(char32_t character) const
    {
        const char16_t *end = m_upperHalf + 128;
        const char16_t *found = std::find(m_upperHalf, end, character);
        if (found == end)
            return std::nullopt;
        return QByteArray(1, char(FirstBeyondAscii + (found - m_upperHalf)));
    }

    QString heldText(QByteArrayView bytes) const
    {
        QString text;
        text.reserve(bytes.size());
        for (const char byte : bytes) {
            const auto code = static_cast<unsigned char>(byte);
            text += code < FirstBeyondAscii ? QChar(char16_t(code))
                                            : QChar(m_upperHalf[code - FirstBeyondAscii]);
        }
        return text;
    }

    std::optional<QByteArray> convertedCode(char32_t character)
    {
        // Half of a surrogate pair is no character, and Qt would write it as "?".
        if (QChar::isSurrogate(character))
            return std::nullopt;
        // Not QString::fromUcs4, which takes a U+FEFF at the start for a byte-order mark and
        // drops it: the character would go with no code at all.
        const QString text = QStringView(QChar::fromUcs4(character)).toString();
        const std::optional<QByteArray> code = m_toPage.convert(text.toUtf8());
        // The C library writes some characters as the code of another one, which is what
        // the joining machine then reads: "¥" as the backslash in 932, the wave dash as the
        // full-width tilde. Or as a letter and a combining mark: 1258 writes most Vietnamese
        // letters so, which the joining machine reads as two characters, a name no file has.
        if (!code || decode(*code) != text)
            return std::nullopt;
        return code;
    }

    const char16_t *m_upperHalf;
    IconvConverter m_toPage;
    IconvConverter m_fromPage;
    QHash<char32_t, std::optional<QByteArray>> m_known;
};

OemCodePage OemCodePage::forLocale(const QLocale &locale)
{
    return OemCodePage(oemCodePageNumberFor(locale));
}

OemCodePage::OemCodePage(int number)
    : m_number(number)
    , m_codes(std::make_shared<Codes>(number))
{
}

bool OemCodePage::hasConverter() const
{
    return m_codes->hasConverter();
}

bool OemCodePage::canEncode(QStringView text) const
{
    // The text as a whole, read back as the joining machine reads it, is the one test: a
    // character that goes with no code or with another's, or codes that read as other
    // characters side by side, all come back as another text.
    const std::optional<QByteArray> bytes = encoded(text);
    return bytes && decode(*bytes) == text;
}

std::optional<QString> OemCodePage::decode(QByteArrayView bytes) const
{
    const bool ascii = std::all_of(bytes.cbegin(), bytes.cend(), [](char byte) {
        return static_cast<unsigned char>(byte) < FirstBeyondAscii;
    });
    if (ascii)
        return QString::fromLatin1(bytes);
    if (!hasConverter())
        return std::nullopt;
    return m_codes->decode(bytes);
}

QByteArray OemCodePage::encode(QStringView text) const
{
    std::optional<QByteArray> bytes = encoded(text);
    if (!bytes)
        throw AppError(AppError::BadFileName);
    return *std::move(bytes);
}

std::optional<QByteArray> OemCodePage::encoded(QStringView text) const
{
    // ASCII, the same in every page, as one block: a join script is mostly ASCII, and a long
    // one is written and read line by line.
    if (std::all_of(text.cbegin(), text.cend(),
                    [](QChar c) { return c.unicode() < FirstBeyondAscii; }))
        return text.toLatin1();
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype at = 0; at < text.size(); ++at) {
        const char16_t unit = text[at].unicode();
        if (unit < FirstBeyondAscii) {
            bytes += char(unit);
            continue;
        }
        const bool pair
            = QChar::isHighSurrogate(unit) && at + 1 < text.size() && text[at + 1].isLowSurrogate();
        const std::optional<QByteArray> code
            = m_codes->codeOf(pair ? QChar::surrogateToUcs4(unit, text[++at].unicode()) : unit);
        if (!code)
            return std::nullopt;
        bytes += *code;
    }
    return bytes;
}
