#pragma once

// Fonts that the window is designed around but that a Linux system may not register.
namespace SystemFonts {

// Makes the face "Tahoma" usable by name: the system's own if it has one, else the compatible
// face that Debian's fonts-wine ships (which fontconfig does not list), else a substitute of
// similar width so that captions still fit their boxes.
void provideTahoma();

} // namespace SystemFonts
