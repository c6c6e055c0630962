#include "controls/SystemFonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace SystemFonts {

void provideTahoma()
{
    const QString tahoma = QStringLiteral("Tahoma");
    if (QFontDatabase::hasFamily(tahoma))
        return;
    // Only the regular face: Qt draws no glyphs from Wine's bold one and falls back to a
    // wider face, whereas it emboldens the regular one well.
    QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"));
    if (!QFontDatabase::hasFamily(tahoma))
        QFont::insertSubstitutions(tahoma,
                                   {QStringLiteral("Liberation Sans"),
                                    QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")});
}

} // namespace SystemFonts
