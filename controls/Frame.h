#pragma once

#include <QGroupBox>

// A group box whose bold caption stays bold on dense screens.
//
// The window's face has no bold of its own (Wine's bold Tahoma repeats the regular outlines),
// so FreeType thickens the regular glyphs by a twenty-fourth of the em: a whole pixel at the
// window's 11-pixel size, where the face has hand-drawn bitmaps to thicken, but under a device
// pixel at the sizes a dense screen draws, where the caption looks regular. There the caption
// is drawn once more, moved right by the part of a pixel that the screen's density adds (a
// device pixel at twice the density), as the classic desktop makes a bold of a face without
// one; its strokes then look as heavy as at the window's own size.
class Frame : public QGroupBox
{
    Q_OBJECT

public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent *event) override;
};
