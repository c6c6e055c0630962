#include "engine/SizeText.h"

#include "platform/AppError.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <utility>

namespace modMorlend {

namespace {

constexpr qsizetype GroupOfThree = 3;
// Anything beyond this is out of range for either sign; counting stops there.
constexpr qint64 Limit = qint64(LargestPiece) + 1;

// What keyboards and pasted text put between groups where a locale groups with a blank, and
// what a text copied from elsewhere brings along.
bool isIgnored(QChar c)
{
    return c == u' ' || c == u'\u00a0' || c == u'\u2009' || c == u'\u202f' || c == u'\t'
        || c == u'\n' || c == u'\r';
}

struct Unit
{
    QLatin1StringView suffix;
    qint64 bytes;
};

constexpr qint64 Kibi = 1024;
constexpr qint64 Mebi = Kibi * Kibi;
constexpr qint64 Gibi = Mebi * Kibi;
constexpr qint64 Tebi = Gibi * Kibi;
constexpr qint64 Kilo = 1000;
constexpr qint64 Mega = Kilo * Kilo;
constexpr qint64 Giga = Mega * Kilo;
constexpr qint64 Tera = Giga * Kilo;

// As GNU split reads them, longest first so that KiB is not taken for a B after a K.
constexpr Unit Units[] = {
    {QLatin1StringView("KiB"), Kibi}, {QLatin1StringView("MiB"), Mebi},
    {QLatin1StringView("GiB"), Gibi}, {QLatin1StringView("TiB"), Tebi},
    {QLatin1StringView("KB"), Kilo},  {QLatin1StringView("MB"), Mega},
    {QLatin1StringView("GB"), Giga},  {QLatin1StringView("TB"), Tera},
    {QLatin1StringView("K"), Kibi},   {QLatin1StringView("M"), Mebi},
    {QLatin1StringView("G"), Gibi},   {QLatin1StringView("T"), Tebi},
};

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

// The digit that text starts with, in the digits 0 to 9 or in the locale's own, whose zero is
// zero: its value, and the code units it takes; a value of -1 for anything else.
std::pair<int, qsizetype> leadingDigit(QStringView text, char32_t zero)
{
    const bool pair = text.size() > 1 && text[0].isHighSurrogate() && text[1].isLowSurrogate();
    const char32_t digit = pair ? QChar::surrogateToUcs4(text[0], text[1]) : text[0].unicode();
    const qsizetype length = pair ? 2 : 1;
    if (digit >= U'0' && digit <= U'9')
        return {int(digit - U'0'), length};
    if (zero != U'0' && digit >= zero && digit <= zero + 9)
        return {int(digit - zero), length};
    return {-1, length};
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

// text without its unit, and the bytes the unit counts: 1 without one.
std::pair<QStringView, qint64> withoutUnit(QStringView text)
{
    for (const Unit &unit : Units) {
        if (text.endsWith(unit.suffix, Qt::CaseInsensitive))
            return {text.chopped(unit.suffix.size()), unit.bytes};
    }
    return {text, 1};
}

// The whole number that text writes, grouped or not; Limit + 1 stands for any beyond Limit.
qint64 wholeNumber(QStringView text, const QLocale &locale, char32_t zero)
{
    const QStringList separators = groupSeparators(locale);
    qint64 magnitude = 0;
    QList<qsizetype> sizes {0};
    for (QStringView rest = text; !rest.isEmpty();) {
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
        const auto [value, length] = leadingDigit(rest, zero);
        if (value < 0)
            throw AppError(AppError::TypeMismatch);
        magnitude = std::min(magnitude * 10 + value, Limit + 1);
        ++sizes.last();
        rest = rest.sliced(length);
    }
    if (sizes.last() == 0 || !isGroupedAsWritten(sizes, localGroupSize(locale)))
        throw AppError(AppError::TypeMismatch);
    return magnitude;
}

// The whole bytes of the decimal part that digits write (those after the separator) of a
// unit of bytes: the product rounded down, digit by digit from the last, exactly however many
// digits there are.
qint64 bytesOfFraction(QStringView digits, qint64 bytes, char32_t zero)
{
    if (digits.isEmpty())
        throw AppError(AppError::TypeMismatch);
    QList<int> values;
    for (QStringView rest = digits; !rest.isEmpty();) {
        const auto [value, length] = leadingDigit(rest, zero);
        if (value < 0)
            throw AppError(AppError::TypeMismatch);
        values << value;
        rest = rest.sliced(length);
    }
    // What carries into the digit before is below bytes, so nothing here leaves 64 bits.
    qint64 carry = 0;
    for (auto value = values.crbegin(); value != values.crend(); ++value)
        carry = (*value * bytes + carry) / 10;
    return carry;
}

} // namespace

qint32 parsePieceSize(const QString &text)
{
    const QLocale locale;
    QString compact = text;
    compact.removeIf(isIgnored);
    const auto [signless, negative] = withoutSign(compact, locale);
    const auto [number, bytes] = withoutUnit(signless);
    const char32_t zero = locale.zeroDigit().toUcs4().value(0, U'0');

    // A decimal part makes sense of a unit only: in bytes, "1,5" is a slip or another
    // locale's grouping, and is refused with the other texts that are no size.
    const QString point = locale.decimalPoint();
    const qsizetype pointAt = bytes == 1 ? -1 : number.indexOf(point);
    const qint64 whole = wholeNumber(pointAt < 0 ? number : number.first(pointAt), locale, zero);
    qint64 magnitude = Limit + 1;
    if (whole <= Limit / bytes) {
        magnitude = whole * bytes;
        if (pointAt >= 0)
            magnitude += bytesOfFraction(number.sliced(pointAt + point.size()), bytes, zero);
    }
    if (negative)
        return qint32(-std::min(magnitude, Limit));
    if (magnitude >= Limit)
        throw AppError(AppError::Overflow);
    return qint32(magnitude);
}

QString pieceSizeExamples()
{
    return QStringLiteral("1 457 664, 700K, 25MB or 1") + QLocale().decimalPoint()
        + QStringLiteral("5GiB");
}

QString formatCount(qint64 count)
{
    QString text = QString::number(count);
    const QString separator = QLocale().groupSeparator();
    const qsizetype firstDigit = count < 0 ? 1 : 0;
    for (qsizetype at = text.size() - GroupOfThree; at > firstDigit; at -= GroupOfThree)
        text.insert(at, separator);
    return text;
}

QString formatBytes(qint64 count)
{
    return formatCount(count) + QStringLiteral(" bytes");
}

} // namespace modMorlend
