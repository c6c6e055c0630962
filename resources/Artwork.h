#pragma once

// The program's images, compiled in as the Qt resource ":/resources" (window icon, drop area,
// key caps).
namespace Artwork {

// Makes the images readable under ":/resources". A resource held in a static library is
// left out by the linker unless something calls into it, so every user calls this first;
// calling it again does nothing.
void registerResource();

} // namespace Artwork
