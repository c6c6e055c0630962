#include "ui/FormBuilder.h"

#include "controls/CLine.h"
#include "controls/PButton.h"
#include "platform/AppError.h"
#include "ui/StandardControls.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFont>
#include <QGroupBox>
#include <QIcon>
#include <QLineEdit>
#include <QPixmap>
#include <QWidget>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString PButtonKind = u"Morlend.PButton"_s;
const QString CLineKind = u"Morlend.CLine"_s;
const QString CaptionKey = u"Caption"_s;
const QString ClientWidthKey = u"ClientWidth"_s;
const QString ClientHeightKey = u"ClientHeight"_s;
const QString FontKey = u"Font"_s;
const QString IconKey = u"Icon"_s;
const QString KeyPreviewKey = u"KeyPreview"_s;

QRect pixelsOf(const QRect &twips)
{
    const int unit = FormBuilder::TwipsPerPixel;
    return QRect(twips.left() / unit, twips.top() / unit, twips.width() / unit,
                 twips.height() / unit);
}

// The font with every attribute set, so that a control given it inherits none of them.
QFont wholeFont(QFont font)
{
    font.setResolveMask(QFont::AllPropertiesResolved);
    return font;
}

QRect twipsOf(const QRect &pixels)
{
    const int unit = FormBuilder::TwipsPerPixel;
    return QRect(pixels.left() * unit, pixels.top() * unit, pixels.width() * unit,
                 pixels.height() * unit);
}

// The fields, and an option without a caption, which show nothing that says what they are for.
bool showsNoCaption(const QWidget &control)
{
    if (const auto *button = qobject_cast<const QAbstractButton *>(&control))
        return button->text().isEmpty();
    return qobject_cast<const QLineEdit *>(&control) || qobject_cast<const QComboBox *>(&control);
}

// Assistive technology names a field by a label of its own, which these have none of; the
// caption of their group says what they are for, so it becomes their name.
void nameAfterGroup(QWidget &control)
{
    const auto *group = qobject_cast<const QGroupBox *>(control.parentWidget());
    if (!group || !showsNoCaption(control))
        return;
    control.setAccessibleName(group->title());
    // On Linux Qt names a combo box by its text, whatever name it is given; the field in it,
    // which has the focus while the user types, carries the name there.
    if (auto *box = qobject_cast<QComboBox *>(&control); box && box->lineEdit())
        box->lineEdit()->setAccessibleName(group->title());
}

} // namespace

FormBuilder::FormBuilder(QWidget &window, const FormLayout &layout)
    : m_window(window)
    , m_name(layout.name)
{
    try {
        applyWindowProperties(layout.properties);
    } catch (const AppError &error) {
        throw LayoutError(u"the window's properties: "_s + error.description());
    }
    for (const FormLayout::Control &stored : layout.controls) {
        try {
            build(stored);
        } catch (const AppError &error) {
            throw LayoutError(u"control "_s + stored.name + u": "_s + error.description());
        }
    }
    orderTabs();
}

void FormBuilder::applyWindowProperties(const PropertyBag &properties)
{
    m_window.setWindowTitle(properties.readProperty(CaptionKey, QString()));
    m_window.setFixedSize(pixelsOf(QRect(0, 0, properties.readProperty(ClientWidthKey, 0),
                                         properties.readProperty(ClientHeightKey, 0)))
                              .size());
    m_font = properties.readProperty(FontKey, FontRef());
    if (m_font)
        m_window.setFont(m_font->toQFont());
    m_icon = properties.readProperty(IconKey, PictureRef());
    if (m_icon) {
        QIcon icon(QPixmap::fromImage(m_icon->image));
        if (!m_icon->image2x.isNull())
            icon.addPixmap(QPixmap::fromImage(m_icon->image2x));
        m_window.setWindowIcon(icon);
    }
    m_keyPreview = properties.readProperty(KeyPreviewKey, false);
}

void FormBuilder::build(const FormLayout::Control &stored)
{
    QWidget *container = stored.container == m_name ? &m_window : control(stored.container);
    if (!container) {
        throw LayoutError(u"control "_s + stored.name + u" is in "_s + stored.container
                          + u", which is no control before it"_s);
    }

    // A control is known by its name before it loads: a button's caption defaults to it.
    if (stored.kind == PButtonKind) {
        auto *button = new PButton(*this, container);
        m_controls.append({stored, button});
        button->ReadProperties(stored.properties);
    } else if (stored.kind == CLineKind) {
        auto *line = new CLine(*this, container);
        m_controls.append({stored, line});
        line->ReadProperties(stored.properties);
    } else {
        QWidget *widget = StandardControls::create(stored.kind, container);
        if (!widget)
            throw LayoutError(u"control "_s + stored.name + u" is of no known kind, "_s
                              + stored.kind);
        m_controls.append({stored, widget});
        // Controls get the window's font themselves: a group box's bold caption font must
        // not reach the controls inside it. Without a font of the control's own or of the
        // window's, that is the window's default one.
        const FontRef font = stored.properties.readProperty(FontKey, m_font);
        widget->setFont(font ? font->toQFont() : wholeFont(m_window.font()));
        StandardControls::readProperties(stored.kind, *widget, stored.properties);
        nameAfterGroup(*widget);
    }
    m_controls.last().widget->setGeometry(pixelsOf(stored.twips));
}

void FormBuilder::orderTabs()
{
    // Only controls that take the focus join the chain: Qt leaves the others out of it, and
    // the separator lines, the progress box and the buttons have no look for the focus. An
    // option that is not selected joins too: it is a tab stop once it is selected.
    QList<const Placed *> tabbed;
    for (const Placed &placed : m_controls) {
        if (placed.stored.tabIndex >= 0 && placed.widget->focusPolicy() != Qt::NoFocus)
            tabbed.append(&placed);
    }
    std::sort(tabbed.begin(), tabbed.end(), [](const Placed *a, const Placed *b) {
        return a->stored.tabIndex < b->stored.tabIndex;
    });
    for (qsizetype i = 1; i < tabbed.size(); ++i)
        QWidget::setTabOrder(tabbed[i - 1]->widget, tabbed[i]->widget);
}

QWidget *FormBuilder::control(const QString &name, int index) const
{
    const auto found = std::find_if(m_controls.cbegin(), m_controls.cend(), [&](const Placed &p) {
        return p.stored.name == name && p.stored.index == index;
    });
    return found == m_controls.cend() ? nullptr : found->widget;
}

const FormBuilder::Placed *FormBuilder::placedOf(const QWidget &widget) const
{
    const auto found = std::find_if(m_controls.cbegin(), m_controls.cend(),
                                    [&](const Placed &p) { return p.widget == &widget; });
    return found == m_controls.cend() ? nullptr : &*found;
}

QString FormBuilder::instanceName(const QWidget &control) const
{
    const Placed *placed = placedOf(control);
    return placed ? placed->stored.name : QString();
}

void FormBuilder::propertyChanged(const QWidget &, const QString &)
{
    m_layoutChanged = true;
}

FormLayout FormBuilder::layout() const
{
    FormLayout layout;
    layout.name = m_name;
    layout.properties.writeProperty(CaptionKey, m_window.windowTitle(), QString());
    const QRect client = twipsOf(QRect(QPoint(), m_window.size()));
    layout.properties.writeProperty(ClientWidthKey, client.width(), 0);
    layout.properties.writeProperty(ClientHeightKey, client.height(), 0);
    layout.properties.writeProperty(FontKey, m_font, FontRef());
    layout.properties.writeProperty(IconKey, m_icon, PictureRef());
    layout.properties.writeProperty(KeyPreviewKey, m_keyPreview, false);

    for (const Placed &placed : m_controls) {
        FormLayout::Control stored = placed.stored;
        stored.twips = twipsOf(placed.widget->geometry());
        stored.properties = PropertyBag();
        if (auto *button = qobject_cast<const PButton *>(placed.widget)) {
            button->WriteProperties(stored.properties);
        } else if (auto *line = qobject_cast<const CLine *>(placed.widget)) {
            line->WriteProperties(stored.properties);
        } else {
            // The font a control was given is held by reference, so it is stored as read.
            stored.properties.writeProperty(
                FontKey, placed.stored.properties.readProperty(FontKey, m_font), m_font);
            StandardControls::writeProperties(stored.kind, *placed.widget, stored.properties);
        }
        layout.controls.append(stored);
    }
    return layout;
}
