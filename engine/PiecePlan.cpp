#include "engine/PiecePlan.h"

#include "platform/AppError.h"

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

} // namespace modMorlend
