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
        const std::optional<QByteArray> text = m_fromPage.convert(bytes);
        if (!text)
            return std::nullopt;
        return QString::fromUtf8(*text);
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
        const QByteArray text = QString::fromUcs4(&character, 1).toUtf8();
        const std::optional<QByteArray> code = m_toPage.convert(text);
        // The C library writes some characters as the code of another one, which is what
        // the joining machine then reads: "¥" as the backslash in 932, the wave dash as the
        // full-width tilde.
        if (!code || m_fromPage.convert(*code) != text)
            return std::nullopt;
        // Or as a letter and a combining mark, which its decoder joins again: 1258 writes most
        // Vietnamese letters so. The joining machine reads two characters there, a name that
        // no file has; a code of one character has no shorter start that reads as one.
        for (qsizetype length = 1; length < code->size(); ++length) {
            if (m_fromPage.convert(code->first(length)))
                return std::nullopt;
        }
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
    const QList<uint> characters = text.toUcs4();
    return std::all_of(characters.cbegin(), characters.cend(), [this](char32_t character) {
        return character < FirstBeyondAscii || m_codes->codeOf(character).has_value();
    });
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
            throw AppError(AppError::BadFileName);
        bytes += *code;
    }
    return bytes;
}
