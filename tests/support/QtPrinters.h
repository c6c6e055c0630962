#pragma once

#include <QString>

#include <ostream>

// Lets GoogleTest print Qt texts readably in its failure messages.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(QChar character, std::ostream *out)
{
    *out << '\'' << QString(character).toStdString() << '\'';
}
