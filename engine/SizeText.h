#pragma once

#include <QtGlobal>

class QString;

// Byte counts as the window shows them and the size box takes them, in the user's locale.
namespace modMorlend {

// The piece size a size text stands for. Blanks (the space, the no-break, narrow no-break and
// thin spaces) are ignored wherever they stand. The rest is an optional sign and a whole
// number in the digits 0 to 9 or the locale's own, grouped or not with the locale's group
// separator (a typed apostrophe stands for a typographic one): in threes, as formatBytes
// writes it, or in the locale's own groups. A text that is no such number raises
// AppError::TypeMismatch, so a fraction such as 1,5 is never read as 15; one outside 32 bits
// raises AppError::Overflow.
qint32 parsePieceSize(const QString &text);

// count in the digits 0 to 9, grouped in threes from the right with the locale's group
// separator, then " bytes": "584,672 bytes", "584.672 bytes", "584 672 bytes".
QString formatBytes(qint64 count);

} // namespace modMorlend
