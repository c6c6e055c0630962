#pragma once

class QIcon;
class QString;

// The program's images (window icon, drop area, key caps) and the window's stored layout,
// compiled in as the Qt resource ":/resources".
namespace Artwork {

// The sizes the program's icon is drawn at, each in its own pixels.
inline constexpr int ProgramIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// Makes them readable under ":/resources". A resource held in a static library is
// left out by the linker unless something calls into it, so every user calls this first;
// calling it again does nothing.
void registerResource();

// The resource that holds the program's icon drawn at one of those sizes.
QString programIconFile(int size);

// The program's icon with every size drawn of it, so that a title bar, a task switcher or a
// dense screen shows the one made for its size rather than one scaled.
QIcon programIcon();

} // namespace Artwork
