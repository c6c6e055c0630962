#pragma once

class QFont;
struct StdFont;

// The character-cell height in pixels of a caption font of that many points: points x 1.6,
// rounded to the nearest whole number. Sizes are bounded: nothing below 0 points (a size that
// is no number counts as 0) and nothing above MaximumCaptionPoints.
int cellHeight(double points);

// A caption larger than this draws nothing more of use in a button and takes long to draw.
inline constexpr double MaximumCaptionPoints = 1000;

// The Qt font that draws a caption in font: its face, bold or regular, italic, underline and
// strikethrough, sized so that the face's cell (the Windows ascent plus descent of its OS/2
// table) is cellHeight(font.size) pixels high, to the nearest whole pixel of em. For Tahoma,
// whose cell is about 1.21 em, 8.25 points give a 13-pixel cell and an 11-pixel em: the size
// at which the window's other 8.25-point text is drawn. The character set is not used: Qt
// finds glyphs for every character itself.
QFont captionFont(const StdFont &font);
