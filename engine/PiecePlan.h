#pragma once

#include <QtGlobal>

// The arithmetic of the piece plan: how many pieces a source gives and how large the last one
// is.
namespace modMorlend {

// Ceiling of dividend / divisor for every sign of the operands. A zero divisor raises
// AppError::DivisionByZero, a quotient outside 64 bits AppError::Overflow.
qint64 CeilDiv(qint64 dividend, qint64 divisor);

// Bytes in the last of pieceCount pieces of pieceSize bytes each that sourceSize fills.
qint64 lastPieceSize(qint64 sourceSize, qint64 pieceCount, qint32 pieceSize);

} // namespace modMorlend
