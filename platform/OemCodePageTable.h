#pragma once

class QLocale;

// The number of the OEM code page that the system gives locale: the page in which the command
// interpreter of a machine set up for that language and region reads batch files.
int oemCodePageNumberFor(const QLocale &locale);
