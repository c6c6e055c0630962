#pragma once

// The program's images (window icon, drop area, key caps) and the window's stored layout,
// compiled in as the Qt resource ":/resources".
namespace Artwork {

// Makes them readable under ":/resources". A resource held in a static library is
// left out by the linker unless something calls into it, so every user calls this first;
// calling it again does nothing.
void registerResource();

} // namespace Artwork
