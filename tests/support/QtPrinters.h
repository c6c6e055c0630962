#pragma once

#include <QRect>
#include <QString>
#include <QUrl>

#include <ostream>

// Lets GoogleTest print Qt texts readably in its failure messages.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QUrl &url, std::ostream *out)
{
    *out << '<' << url.toString().toStdString() << '>';
}

inline void PrintTo(QChar character, std::ostream *out)
{
    *out << '\'' << QString(character).toStdString() << '\'';
}

inline void PrintTo(QSize size, std::ostream *out)
{
    *out << size.width() << " x " << size.height();
}

inline void PrintTo(QPoint point, std::ostream *out)
{
    *out << '(' << point.x() << ", " << point.y() << ')';
}

inline void PrintTo(const QRect &rect, std::ostream *out)
{
    *out << '(' << rect.left() << ", " << rect.top() << ")-(" << rect.right() + 1 << ", "
         << rect.bottom() + 1 << ')';
}
