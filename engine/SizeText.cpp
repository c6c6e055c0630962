#include "engine/SizeText.h"

#include "platform/AppError.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <limits>
#include <utility>

namespace modMorlend {

namespace {

constexpr qsizetype GroupOfThree = 3;

// What keyboards and pasted text put between groups where a locale groups with a blank.
bool isBlank(QChar c)
{
    return c == u' ' || c == u'\u00a0' || c == u'\u2009' || c == u'\u202f';
}

// The locale's group separator and, where it is a typographic apostrophe, the apostrophe that
// a keyboard types for it. A blank separator is gone with the blanks by then.
QStringList groupSeparators(const QLocale &locale)
{
    const QString separator = locale.groupSeparator();
    if (separator == u"\u2019")
        return {separator, QStringLiteral("'")};
    return {separator};
}

// The size of the groups that the locale puts before the last three digits: two in India
// (14,57,664), three elsewhere.
qsizetype localGroupSize(const QLocale &locale)
{
    const QStringList groups
        = locale.toString(Q_INT64_C(1234567890123)).split(locale.groupSeparator());
    return groups.size() >= 3 ? groups.at(groups.size() - 2).toUcs4().size() : GroupOfThree;
}

// Whether groups of digits, as the separators split them, stand where the program or the
// locale puts separators: the last group of three, those before it all of one size, threes
// or the locale's own, and the first no longer than they are.
bool isGroupedAsWritten(const QList<qsizetype> &sizes, qsizetype localSize)
{
    if (sizes.size() == 1)
        return true;
    if (sizes.last() != GroupOfThree)
        return false;
    const qsizetype inner = sizes.size() > 2 ? sizes.at(1) : GroupOfThree;
    if (inner != GroupOfThree && inner != localSize)
        return false;
    const bool innerAlike = std::all_of(sizes.cbegin() + 1, sizes.cend() - 1,
                                        [inner](qsizetype size) { return size == inner; });
    return innerAlike && sizes.first() <= inner;
}

// The value of digit in the digits 0 to 9 or in the locale's own, whose zero is zero; -1 for
// anything else.
int digitValue(char32_t digit, char32_t zero)
{
    if (digit >= U'0' && digit <= U'9')
        return int(digit - U'0');
    if (zero != U'0' && digit >= zero && digit <= zero + 9)
        return int(digit - zero);
    return -1;
}

// text without its sign, and whether the sign was a minus.
std::pair<QString, bool> withoutSign(const QString &text, const QLocale &locale)
{
    for (const QString &minus : {locale.negativeSign(), QStringLiteral("-")}) {
        if (text.startsWith(minus))
            return {text.sliced(minus.size()), true};
    }
    for (const QString &plus : {locale.positiveSign(), QStringLiteral("+")}) {
        if (text.startsWith(plus))
            return {text.sliced(plus.size()), false};
    }
    return {text, false};
}

} // namespace

qint32 parsePieceSize(const QString &text)
{
    const QLocale locale;
    QString compact = text;
    compact.removeIf(isBlank);
    const auto [number, negative] = withoutSign(compact, locale);

    const QStringList separators = groupSeparators(locale);
    const char32_t zero = locale.zeroDigit().toUcs4().value(0, U'0');
    // Anything beyond this is out of range for either sign; counting stops there.
    constexpr qint64 Limit = qint64(std::numeric_limits<qint32>::max()) + 1;
    qint64 magnitude = 0;
    QList<qsizetype> sizes {0};
    for (QStringView rest(number); !rest.isEmpty();) {
        const auto separator
            = std::find_if(separators.cbegin(), separators.cend(),
                           [rest](const QString &separator) { return rest.startsWith(separator); });
        if (separator != separators.cend()) {
            if (sizes.last() == 0)
                throw AppError(AppError::TypeMismatch);
            sizes.append(0);
            rest = rest.sliced(separator->size());
            continue;
        }
        const bool pair = rest.size() > 1 && rest[0].isHighSurrogate() && rest[1].isLowSurrogate();
        const int value
            = digitValue(pair ? QChar::surrogateToUcs4(rest[0], rest[1]) : rest[0].unicode(), zero);
        if (value < 0)
            throw AppError(AppError::TypeMismatch);
        magnitude = std::min(magnitude * 10 + value, Limit + 1);
        ++sizes.last();
        rest = rest.sliced(pair ? 2 : 1);
    }
    if (sizes.last() == 0 || !isGroupedAsWritten(sizes, localGroupSize(locale)))
        throw AppError(AppError::TypeMismatch);
    if (magnitude > (negative ? Limit : Limit - 1))
        throw AppError(AppError::Overflow);
    return qint32(negative ? -magnitude : magnitude);
}

QString formatBytes(qint64 count)
{
    QString text = QString::number(count);
    const QString separator = QLocale().groupSeparator();
    const qsizetype firstDigit = count < 0 ? 1 : 0;
    for (qsizetype at = text.size() - GroupOfThree; at > firstDigit; at -= GroupOfThree)
        text.insert(at, separator);
    return text + QStringLiteral(" bytes");
}

} // namespace modMorlend
