#pragma once

class PropertyBag;
class QString;
class QWidget;

// The window's standard controls as the stored layout names them ("Frame", "TextBox",
// "Image", "ComboBox", "CheckBox", "OptionButton", "PictureBox", "Label") and the stored
// properties each kind keeps, with the defaults they are stored against.
namespace StandardControls {

// A new control of that kind; nullptr when kind names no standard control.
QWidget *create(const QString &kind, QWidget *parent);
// Applies the stored properties of a control made by create().
void readProperties(const QString &kind, QWidget &control, const PropertyBag &bag);
// Stores what the control shows now, as far as it differs from the defaults.
void writeProperties(const QString &kind, const QWidget &control, PropertyBag &bag);

} // namespace StandardControls
