#include "controls/CaptionFont.h"

#include "controls/StdFont.h"

#include <QByteArray>
#include <QFont>
#include <QRawFont>
#include <QtEndian>

#include <algorithm>
#include <cmath>

namespace {

// Offsets of the fields read from the face's tables.
constexpr int WinAscentOffset = 74; // usWinAscent in 'OS/2', usWinDescent follows
constexpr int UnitsPerEmOffset = 18; // unitsPerEm in 'head'

quint16 fieldAt(const QByteArray &table, int offset)
{
    return qFromBigEndian<quint16>(table.constData() + offset);
}

// A face's cell as a multiple of its em: the Windows ascent and descent over the units per
// em, or, for a face without those tables, its ascent and descent.
double cellPerEm(const QFont &font)
{
    const QRawFont face = QRawFont::fromFont(font);
    const QByteArray os2 = face.fontTable("OS/2");
    const QByteArray head = face.fontTable("head");
    if (os2.size() >= WinAscentOffset + 4 && head.size() >= UnitsPerEmOffset + 2) {
        const int cell = fieldAt(os2, WinAscentOffset) + fieldAt(os2, WinAscentOffset + 2);
        const int unitsPerEm = fieldAt(head, UnitsPerEmOffset);
        if (cell > 0 && unitsPerEm > 0)
            return double(cell) / unitsPerEm;
    }
    if (face.pixelSize() > 0 && face.ascent() + face.descent() > 0)
        return (face.ascent() + face.descent()) / face.pixelSize();
    return 1;
}

} // namespace

int cellHeight(double points)
{
    if (!(points > 0))
        return 0;
    return int(std::lround(std::min(points, MaximumCaptionPoints) * 1.6));
}

QFont captionFont(const StdFont &font)
{
    QFont qfont(font.name);
    qfont.setWeight(font.bold ? QFont::Bold : QFont::Normal);
    qfont.setItalic(font.italic);
    qfont.setUnderline(font.underline);
    qfont.setStrikeOut(font.strikethrough);
    const int cell = std::max(1, cellHeight(font.size));
    qfont.setPixelSize(std::max(1, int(std::lround(cell / cellPerEm(qfont)))));
    return qfont;
}
