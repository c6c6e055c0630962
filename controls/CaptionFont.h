#pragma once

class QFont;
struct StdFont;

// The character-cell height in pixels of a caption font of that many points: points x 1.6,
// rounded to the nearest whole number.
int cellHeight(double points);

// The Qt font that draws a caption in font: its face, bold or regular, italic, underline and
// strikethrough, sized so that its ascent and descent together fill cellHeight(font.size)
// pixels, or as near below that as the face's sizes come. The character set is not used:
// Qt finds glyphs for every character itself.
QFont captionFont(const StdFont &font);
