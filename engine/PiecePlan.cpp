#include "PiecePlan.h"

#include "AppError.h"

#include <QLocale>
#include <QString>

#include <algorithm>
#include <limits>

namespace modMorlend {

qint64 CeilDiv(qint64 dividend, qint64 divisor)
{
    if (divisor == 0)
        throw AppError(AppError::DivisionByZero);
    if (dividend == std::numeric_limits<qint64>::min() && divisor == -1)
        throw AppError(AppError::Overflow);
    const qint64 quotient = dividend / divisor;
    // Truncation rounded down exactly when the true quotient is positive and inexact.
    const bool roundUp = dividend % divisor != 0 && (dividend < 0) == (divisor < 0);
    return roundUp ? quotient + 1 : quotient;
}

qint64 lastPieceSize(qint64 sourceSize, qint64 pieceCount, qint32 pieceSize)
{
    // An empty source has no pieces, so there is no last one to hold anything.
    if (pieceCount == 0)
        return 0;
    return sourceSize - (pieceCount - 1) * pieceSize;
}

static bool isWholeNumberForm(QString text, const QLocale &locale)
{
    text.remove(locale.groupSeparator());
    if (text.startsWith(locale.negativeSign()))
        text.remove(0, locale.negativeSign().size());
    else if (text.startsWith(locale.positiveSign()))
        text.remove(0, locale.positiveSign().size());
    return !text.isEmpty()
        && std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

qint32 parsePieceSize(const QString &text)
{
    const QString compact = QString(text).remove(u' ');
    const QLocale locale;
    bool ok = false;
    const int value = locale.toInt(compact, &ok);
    if (ok)
        return value;
    // A well-formed number that did not convert lies outside the 32-bit range.
    throw AppError(isWholeNumberForm(compact, locale) ? AppError::Overflow
                                                      : AppError::TypeMismatch);
}

QString formatBytes(qint64 count)
{
    QLocale locale;
    // The C locale leaves groups out unless told otherwise; the size is always grouped.
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return locale.toString(count) + QStringLiteral(" bytes");
}

} // namespace modMorlend
