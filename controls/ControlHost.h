#pragma once

#include "controls/StdFont.h"

class QString;
class QWidget;

// What a window that hosts our custom controls offers them. The stored properties
// themselves travel as a PropertyBag in the controls' ReadProperties and WriteProperties,
// which the host calls when it loads and saves its layout.
class ControlHost
{
public:
    // The host window's font, which a control without a font of its own follows.
    virtual FontRef ambientFont() const = 0;
    // The name the host knows control by, such as "cbCut".
    virtual QString instanceName(const QWidget &control) const = 0;
    // A stored property of control has changed, so the host's stored layout is out of date.
    virtual void propertyChanged(const QWidget &control, const QString &propertyName) = 0;

protected:
    ~ControlHost() = default;
};
