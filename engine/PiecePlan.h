#pragma once

#include <QtGlobal>

class QString;

// The arithmetic and texts of the piece plan: how a size text becomes a piece size, how many
// pieces a source gives and how large the last one is, and how byte counts are shown.
namespace modMorlend {

// Ceiling of dividend / divisor for every sign of the operands. A zero divisor raises
// AppError::DivisionByZero, a quotient outside 64 bits AppError::Overflow.
qint64 CeilDiv(qint64 dividend, qint64 divisor);

// Bytes in the last of pieceCount pieces of pieceSize bytes each that sourceSize fills.
qint64 lastPieceSize(qint64 sourceSize, qint64 pieceCount, qint32 pieceSize);

// The piece size a size text stands for: every blank (U+0020) removed, then converted with
// the current locale (optional sign, digits, the locale's group separators). A text that is
// no whole number raises AppError::TypeMismatch, one outside 32 bits AppError::Overflow.
qint32 parsePieceSize(const QString &text);

// A byte count grouped in thousands with the current locale's separator, then " bytes".
QString formatBytes(qint64 count);

} // namespace modMorlend
