#pragma once

#include <QtGlobal>

class QString;

// Byte counts as the window shows them and the size box takes them, in the user's locale.
namespace modMorlend {

// The largest piece: byte counts of pieces are signed 32-bit numbers.
inline constexpr qint32 LargestPiece = 2147483647;

// The piece size a size text stands for. Blanks (the space, the no-break, narrow no-break and
// thin spaces, tabs) and line breaks are ignored wherever they stand. The rest is an optional
// sign, a whole number in the digits 0 to 9 or the locale's own, grouped or not with the
// locale's group separator (a typed apostrophe stands for a typographic one): in threes, as
// formatBytes writes it, or in the locale's own groups; then, if the user likes, a unit in
// either case: K, M, G and T count powers of 1024, as do KiB, MiB, GiB and TiB, while KB, MB,
// GB and TB count powers of 1000. Before a unit the number may have a decimal part after the
// locale's decimal separator; the bytes it gives are rounded down to a whole byte, so that no
// piece is larger than the size typed. A text that is no such size raises
// AppError::TypeMismatch, so a fraction such as 1,5 without a unit is never read as 15; a
// size beyond the largest piece raises AppError::Overflow. A negative size is negative
// whatever its magnitude, and reads as the most negative number once beyond 32 bits.
qint32 parsePieceSize(const QString &text);

// Sizes the size box takes, in the locale's decimal separator, for a message that says what
// to type: "1 457 664, 700K, 25MB or 1.5GiB".
QString pieceSizeExamples();

// count in the digits 0 to 9, grouped in threes from the right with the locale's group
// separator: "584,672", "584.672", "584 672".
QString formatCount(qint64 count);
// The same, then " bytes": "584,672 bytes".
QString formatBytes(qint64 count);

} // namespace modMorlend
