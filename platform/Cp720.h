#pragma once

// The characters of bytes 0x80 to 0xFF of code page 720, in which the console of an Arabic,
// Persian or Urdu machine reads batch files; bytes below 0x80 are ASCII. The C library has
// no converter for this page (its Arabic pages, 864 and 1256, put the letters at other
// bytes), so Morlend holds this one itself.
extern const char16_t Cp720UpperHalf[128];
