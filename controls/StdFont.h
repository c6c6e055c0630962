#pragma once

#include <QString>

#include <memory>

class QFont;

// A font as controls store it and share it: properties set from one font object refer to
// that object, so it is held through FontRef, never copied into a QFont.
struct StdFont
{
    QString name;
    double size = 0; // in points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    qint16 charset = 0;

    bool operator==(const StdFont &) const = default;

    // The font as standard controls draw it; the character set is left to Qt's own glyph
    // matching.
    QFont toQFont() const;
};

using FontRef = std::shared_ptr<StdFont>;
