#pragma once

#include <QColor>

#include <ostream>

// Lets GoogleTest print colours as #AARRGGBB in its failure messages.
inline void PrintTo(const QColor &color, std::ostream *out)
{
    *out << color.name(QColor::HexArgb).toStdString();
}
