#pragma once

#include <QString>

namespace modMorlend {

// The classic platform's line end, CR LF: between the join script's lines, and between the lines
// of a message, which the message boxes show as line breaks.
inline const QString LineEnd = QStringLiteral("\r\n");

} // namespace modMorlend
