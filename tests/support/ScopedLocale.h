#pragma once

#include <QLocale>

// Makes a locale the program's default for the life of a test and restores the old one.
class ScopedLocale
{
public:
    explicit ScopedLocale(const QLocale &locale)
        : m_previous(QLocale())
    {
        QLocale::setDefault(locale);
    }
    ~ScopedLocale() { QLocale::setDefault(m_previous); }
    ScopedLocale(const ScopedLocale &) = delete;
    ScopedLocale &operator=(const ScopedLocale &) = delete;

    // Qt has no locale that groups with U+0020; Russian groups with a no-break space,
    // which is what a blank-grouping user sees.
    static QLocale blankGrouping() { return QLocale(QLocale::Russian, QLocale::Russia); }
    static QLocale english() { return QLocale(QLocale::English, QLocale::UnitedStates); }

private:
    QLocale m_previous;
};
