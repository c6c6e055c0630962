#pragma once

// Our own controls as assistive technology sees them, through Qt's accessibility: the owner-drawn
// button as a push button, the picture box as the gauge of how far its fills reach.
namespace AccessibleControls {

// Installs the interfaces before the first control is looked at; calling it again does
// nothing.
void install();

} // namespace AccessibleControls
