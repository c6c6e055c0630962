#pragma once

#include <QtGlobal>

// A colour as controls store it. With the top byte 0x80 it names a system colour by its
// number in the low byte, resolved to the palette's current shade only when drawn; with a
// zero top byte the low three bytes are red, green and blue, red in the lowest (255 is red).
enum class OleColor : quint32
{
    WindowBackground = 0x80000005,
    Highlight = 0x8000000D,
    ButtonFace = 0x8000000F,
    ButtonShadow = 0x80000010,
    ButtonText = 0x80000012,
    Highlight3D = 0x80000014,
};

class QColor;
class QPalette;

// The shade that color stands for now: a system colour (0 to 30) is looked up in palette,
// a red-green-blue colour is taken as it is. Throws AppError 380 (Invalid property value)
// for a number that names no system colour and for any other top byte.
QColor TranslateColor(OleColor color, const QPalette &palette);
