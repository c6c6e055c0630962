#pragma once

class QProcessEnvironment;

// Whether the program is to run through X11 (XWayland) although a Wayland display is there:
// both WAYLAND_DISPLAY and DISPLAY name one, and the user chose no platform for Qt, neither in
// QT_QPA_PLATFORM nor with the option -platform among the argc arguments argv. On Wayland the
// window can neither stay on top of others nor place itself in the middle of the screen.
bool runsThroughX11(const QProcessEnvironment &environment, int argc, const char *const *argv);
