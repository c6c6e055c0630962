#include "resources/Artwork.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>

// Q_INIT_RESOURCE declares the generated function where it stands, so it must stand outside
// any namespace.
static void initResourcesQrc()
{
    Q_INIT_RESOURCE(resources);
}

namespace Artwork {

void registerResource()
{
    static const bool registered = (initResourcesQrc(), true);
    Q_UNUSED(registered);
}

QString programIconFile(int size)
{
    // The 16 and 32 are the window's stored icon and its twin for dense screens.
    if (size == 16)
        return QStringLiteral(":/resources/morlend.png");
    if (size == 32)
        return QStringLiteral(":/resources/morlend@2x.png");
    return QStringLiteral(":/resources/morlend-%1.png").arg(size);
}

QIcon programIcon()
{
    registerResource();
    QIcon icon;
    for (const int size : ProgramIconSizes) {
        // Qt reads the twin's name as "for two device pixels to a pixel"; here every image is
        // one size of the icon, at one to one.
        QImage image(programIconFile(size));
        image.setDevicePixelRatio(1);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

} // namespace Artwork
