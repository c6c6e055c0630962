#include "SystemFonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace SystemFonts {

void provideTahoma()
{
    const QString tahoma = QStringLiteral("Tahoma");
    if (QFontDatabase::hasFamily(tahoma))
        return;
    for (const QString &file : {QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"),
                                QStringLiteral("/usr/share/wine/fonts/tahomabd.ttf")})
        QFontDatabase::addApplicationFont(file);
    if (!QFontDatabase::hasFamily(tahoma))
        QFont::insertSubstitutions(tahoma,
                                   {QStringLiteral("Liberation Sans"),
                                    QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")});
}

} // namespace SystemFonts
