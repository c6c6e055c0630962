#pragma once

#include "controls/ControlHost.h"
#include "ui/FormLayout.h"

#include <QList>

class QWidget;

// Builds a window's controls from its stored layout, hosts the custom ones among them, and
// writes the layout back from what the controls hold. Positions are stored in twips and
// shown at TwipsPerPixel twips to a pixel; Qt scales pixels for the screen's density. A layout
// that cannot be built throws LayoutError; one without fonts, or with empty ones, leaves the
// window and its controls Qt's default font.
class FormBuilder : public ControlHost
{
public:
    static constexpr int TwipsPerPixel = 15;

    FormBuilder(QWidget &window, const FormLayout &layout);

    // The control stored under that name and array index; nullptr if there is none.
    QWidget *control(const QString &name, int index = -1) const;
    template<typename Widget> Widget *control(const QString &name, int index = -1) const
    {
        return qobject_cast<Widget *>(control(name, index));
    }

    // Whether the window sees keys before its controls.
    bool keyPreview() const { return m_keyPreview; }
    // A stored property of a custom control was changed since the layout was loaded.
    bool layoutChanged() const { return m_layoutChanged; }

    // The layout as the window and its controls stand now.
    FormLayout layout() const;

    FontRef ambientFont() const override { return m_font; }
    QString instanceName(const QWidget &control) const override;
    void propertyChanged(const QWidget &control, const QString &propertyName) override;

private:
    struct Placed
    {
        FormLayout::Control stored;
        QWidget *widget;
    };

    void applyWindowProperties(const PropertyBag &properties);
    void build(const FormLayout::Control &stored);
    void orderTabs();
    const Placed *placedOf(const QWidget &widget) const;

    QWidget &m_window;
    QString m_name;
    FontRef m_font;
    PictureRef m_icon;
    bool m_keyPreview = false;
    bool m_layoutChanged = false;
    QList<Placed> m_controls;
};
