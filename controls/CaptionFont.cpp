#include "CaptionFont.h"

#include "StdFont.h"

#include <QFont>
#include <QFontMetrics>

#include <algorithm>
#include <cmath>

int cellHeight(double points)
{
    return int(std::lround(points * 1.6));
}

QFont captionFont(const StdFont &font)
{
    QFont qfont(font.name);
    qfont.setWeight(font.bold ? QFont::Bold : QFont::Normal);
    qfont.setItalic(font.italic);
    qfont.setUnderline(font.underline);
    qfont.setStrikeOut(font.strikethrough);

    const int cell = std::max(1, cellHeight(font.size));
    const auto heightAt = [&qfont](int pixelSize) {
        qfont.setPixelSize(pixelSize);
        return QFontMetrics(qfont).height();
    };
    // Qt sizes a font by its em, which is smaller than its cell: start from the em that
    // scales the cell right, then step to the largest em whose cell still fits.
    int pixelSize = std::max(1, cell * cell / std::max(1, heightAt(cell)));
    while (pixelSize > 1 && heightAt(pixelSize) > cell)
        --pixelSize;
    while (pixelSize < cell && heightAt(pixelSize + 1) <= cell)
        ++pixelSize;
    qfont.setPixelSize(pixelSize);
    return qfont;
}
