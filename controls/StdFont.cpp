#include "controls/StdFont.h"

#include <QFont>

QFont StdFont::toQFont() const
{
    // Every attribute is set explicitly, so that a control's font never inherits, say, the
    // bold weight of the group box around it.
    QFont font(name);
    font.setPointSizeF(size);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikethrough);
    return font;
}
