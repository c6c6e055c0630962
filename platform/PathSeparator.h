#pragma once

#include <QChar>

// The separator that the running system puts between the parts of a path. Code that splits
// or builds paths takes it as a parameter with this default, so that Windows-style paths
// stay testable on every system.
#ifdef Q_OS_WIN
inline constexpr QChar NativeSeparator = u'\\';
#else
inline constexpr QChar NativeSeparator = u'/';
#endif
