#include "Artwork.h"

#include <QtGlobal>

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

} // namespace Artwork
