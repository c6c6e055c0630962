#include "controls/PButton.h"

#include "controls/ControlHost.h"
#include "controls/DrawEdge.h"
#include "controls/PropertyBag.h"
#include "platform/AppError.h"

#include <QAccessible>
#include <QKeySequence>
#include <QShortcutEvent>

using namespace Qt::StringLiterals;

namespace {
// The size a newly placed button takes.
constexpr QSize DesignSize(119, 36);
// The values of a new button, which are also the defaults the layout is stored against.
constexpr qint32 DefaultTextAlign = PButton::TextCentred;
constexpr qint32 DefaultPictureAlign = PButton::PictureRight;
constexpr OleColor DefaultMaskColor = OleColor(255); // pure red
constexpr qint16 DefaultOffset = 1;
constexpr qint32 DefaultPictureSize = 16;
constexpr qint32 DefaultPadding = 2;
// The background a stored layout without one gives: red 232, green 227, blue 255.
constexpr OleColor StoredBackColor = OleColor(16770024);
} // namespace

PButton::PButton(ControlHost &host, QWidget *parent)
    : QWidget(parent)
    , m_host(host)
{
    // The look follows the pointer with no mouse button held, too.
    setMouseTracking(true);
    // Every pixel comes from the button's own surface.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(DesignSize);
    InitButton();
}

template<typename T>
void PButton::assign(T &field, const T &value, const QString &name, OnChange then)
{
    field = value;
    m_host.propertyChanged(*this, name);
    if (then == OnChange::Redraw)
        Redraw();
    else if (then == OnChange::InitButton)
        InitButton();
}

void PButton::setPicture(const PictureRef &New_Picture)
{
    assign(m_Picture, New_Picture, u"Picture"_s, OnChange::Redraw);
}

void PButton::Size(float Width, float Height)
{
    resize(qRound(Width), qRound(Height));
}

void PButton::setFont_Normal(const FontRef &New_Font)
{
    assign(m_Font_Normal, New_Font, u"Font_Normal"_s, OnChange::Redraw);
}

void PButton::setFont_Pressed(const FontRef &New_Font)
{
    assign(m_Font_Pressed, New_Font, u"Font_Pressed"_s, OnChange::Nothing);
}

void PButton::setFont_Over(const FontRef &New_Font)
{
    assign(m_Font_Over, New_Font, u"Font_Over"_s, OnChange::Redraw);
}

void PButton::setForeColor_Normal(OleColor New_Color)
{
    assign(m_ForeColor_Normal, New_Color, u"ForeColor_Normal"_s, OnChange::Redraw);
}

void PButton::setForeColor_Over(OleColor New_Color)
{
    assign(m_ForeColor_Over, New_Color, u"ForeColor_Over"_s, OnChange::Nothing);
}

void PButton::setForeColor_Pressed(OleColor New_Color)
{
    assign(m_ForeColor_Pressed, New_Color, u"ForeColor_Pressed"_s, OnChange::Nothing);
}

void PButton::setBorder_Normal(qint32 New_Border)
{
    assign(m_Border_Normal, New_Border, u"Border_Normal"_s, OnChange::Redraw);
}

void PButton::setBorder_Over(qint32 New_Border)
{
    assign(m_Border_Over, New_Border, u"Border_Over"_s, OnChange::Nothing);
}

void PButton::setBorder_Pressed(qint32 New_Border)
{
    assign(m_Border_Pressed, New_Border, u"Border_Pressed"_s, OnChange::Nothing);
}

void PButton::setTextAlign(qint32 New_TextAlign)
{
    assign(m_TextAlign, New_TextAlign, u"TextAlign"_s, OnChange::Redraw);
}

void PButton::setPictureAlign(qint32 New_PictureAlign)
{
    assign(m_PictureAlign, New_PictureAlign, u"PictureAlign"_s, OnChange::Redraw);
}

void PButton::setPictureMaskColor(OleColor New_Color)
{
    assign(m_PictureMaskColor, New_Color, u"PictureMaskColor"_s, OnChange::Redraw);
}

void PButton::setBackColor(OleColor New_Color)
{
    assign(m_BackColor, New_Color, u"BackColor"_s, OnChange::Redraw);
}

void PButton::setOffset_X(qint16 New_Offset)
{
    assign(m_Offset_X, New_Offset, u"Offset_X"_s, OnChange::Nothing);
}

void PButton::setOffset_Y(qint16 New_Offset)
{
    assign(m_Offset_Y, New_Offset, u"Offset_Y"_s, OnChange::Nothing);
}

void PButton::setPicture_W(qint32 New_Size)
{
    assign(m_Picture_W, New_Size, u"Picture_W"_s, OnChange::InitButton);
}

void PButton::setPicture_H(qint32 New_Size)
{
    assign(m_Picture_H, New_Size, u"Picture_H"_s, OnChange::InitButton);
}

void PButton::setPadding(qint32 New_Padding)
{
    assign(m_Padding, New_Padding, u"Padding"_s, OnChange::Redraw);
}

void PButton::setCaption(const QString &New_Caption)
{
    // The access keys follow the caption only at the next InitButton.
    assign(m_Caption, New_Caption, u"Caption"_s, OnChange::Redraw);
    // The caption is the button's name to assistive technology.
    QAccessibleEvent renamed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
}

void PButton::setEnabled(bool New_Enabled)
{
    QWidget::setEnabled(New_Enabled);
    // Where the pointer is does not matter: re-enabled, the button looks normal.
    m_State = New_Enabled ? Normal : Disabled;
    m_host.propertyChanged(*this, u"Enabled"_s);
    ShowState();
}

void PButton::setFont_All(const FontRef &New_Font)
{
    setFont_Normal(New_Font);
    setFont_Pressed(New_Font);
    setFont_Over(New_Font);
    m_Font_All = New_Font;
}

void PButton::setDefaultCancel(bool New_DefaultCancel)
{
    m_DefaultCancel = New_DefaultCancel;
    m_host.propertyChanged(*this, u"DefaultCancel"_s);
    m_DefaultOK = m_DefaultOK && !m_DefaultCancel;
}

void PButton::setDefaultOK(bool New_DefaultOK)
{
    m_DefaultOK = New_DefaultOK;
    m_host.propertyChanged(*this, u"DefaultOK"_s);
    m_DefaultCancel = m_DefaultCancel && !m_DefaultOK;
}

void PButton::InitProperties()
{
    // A new button takes the stored defaults, but for two: it has an empty picture where a
    // stored one without the key has none, and it keeps its surface's background colour.
    const OleColor surfaceBackColor = m_BackColor;
    exchangeProperties(*this, [](const QString &, auto &field, const auto &defaultValue) {
        field = defaultValue;
    });
    m_Picture = std::make_shared<StdPicture>();
    m_BackColor = surfaceBackColor;
    m_Loaded = true;
    InitButton();
}

// Reading, writing and placing a new button walk the same keys with the same stored defaults.
// exchange(key, field, default) reads field from the store, writes it there, or sets it.
template<typename Self, typename Exchange>
void PButton::exchangeProperties(Self &self, Exchange &&exchange)
{
    const ControlHost &host = self.m_host;
    exchange(u"Picture"_s, self.m_Picture, PictureRef());
    exchange(u"Font_Normal"_s, self.m_Font_Normal, host.ambientFont());
    exchange(u"Font_Pressed"_s, self.m_Font_Pressed, host.ambientFont());
    exchange(u"Font_Over"_s, self.m_Font_Over, host.ambientFont());
    exchange(u"ForeColor_Normal"_s, self.m_ForeColor_Normal, OleColor::ButtonText);
    exchange(u"ForeColor_Over"_s, self.m_ForeColor_Over, OleColor::ButtonText);
    exchange(u"ForeColor_Pressed"_s, self.m_ForeColor_Pressed, OleColor::ButtonText);
    exchange(u"Border_Normal"_s, self.m_Border_Normal, qint32(Edge::RaisedInner));
    exchange(u"Border_Over"_s, self.m_Border_Over, qint32(Edge::Raised));
    exchange(u"Border_Pressed"_s, self.m_Border_Pressed, qint32(Edge::Sunken));
    exchange(u"TextAlign"_s, self.m_TextAlign, DefaultTextAlign);
    exchange(u"PictureAlign"_s, self.m_PictureAlign, DefaultPictureAlign);
    exchange(u"PictureMaskColor"_s, self.m_PictureMaskColor, DefaultMaskColor);
    exchange(u"BackColor"_s, self.m_BackColor, StoredBackColor);
    exchange(u"Offset_X"_s, self.m_Offset_X, DefaultOffset);
    exchange(u"Offset_Y"_s, self.m_Offset_Y, DefaultOffset);
    exchange(u"Picture_W"_s, self.m_Picture_W, DefaultPictureSize);
    exchange(u"Picture_H"_s, self.m_Picture_H, DefaultPictureSize);
    exchange(u"Padding"_s, self.m_Padding, DefaultPadding);
    exchange(u"Caption"_s, self.m_Caption, host.instanceName(self));
    if constexpr (std::is_const_v<Self>) {
        exchange(u"Enabled"_s, self.Enabled(), true);
    } else {
        bool enabled = true;
        exchange(u"Enabled"_s, enabled, true);
        self.QWidget::setEnabled(enabled);
    }
    exchange(u"Font_All"_s, self.m_Font_All, host.ambientFont());
    exchange(u"DefaultCancel"_s, self.m_DefaultCancel, false);
    exchange(u"DefaultOK"_s, self.m_DefaultOK, false);
}

void PButton::ReadProperties(const PropertyBag &PropBag)
{
    // Straight into the fields: loading notifies nothing and pairs nothing up.
    exchangeProperties(*this,
                       [&PropBag](const QString &key, auto &field, const auto &defaultValue) {
                           field = PropBag.readProperty(key, defaultValue);
                       });
    m_Loaded = true;
    InitButton();
}

void PButton::WriteProperties(PropertyBag &PropBag) const
{
    exchangeProperties(*this,
                       [&PropBag](const QString &key, const auto &field, const auto &defaultValue) {
                           PropBag.writeProperty(key, field, defaultValue);
                       });
}

void PButton::SetAccessKey()
{
    const qsizetype ampersand = m_Caption.lastIndexOf(u'&');
    if (ampersand < 0)
        return;
    QString keys;
    if (ampersand + 1 < m_Caption.size()) {
        const QChar key = m_Caption.at(ampersand + 1);
        keys = QString(key.toLower()) + key.toUpper();
    }
    setAccessKeys(keys);
}

void PButton::setAccessKeys(const QString &keys)
{
    if (m_accessKeyShortcut != 0)
        releaseShortcut(m_accessKeyShortcut);
    m_accessKeyShortcut = 0;
    m_AccessKeys = keys;
    // With Alt, lower and upper case are one key, the one Qt names by its upper case.
    if (!keys.isEmpty()) {
        const auto key = Qt::Key(keys.back().unicode());
        m_accessKeyShortcut = grabShortcut(QKeyCombination(Qt::AltModifier, key));
    }
}

bool PButton::event(QEvent *event)
{
    if (event->type() == QEvent::Shortcut
        && static_cast<QShortcutEvent *>(event)->shortcutId() == m_accessKeyShortcut) {
        emit Click();
        return true;
    }
    return QWidget::event(event);
}

void PButton::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // No exception may leave an event handler. A colour that cannot be translated has been
    // reported to whoever set or loaded it; on a resize the button keeps its last look.
    try {
        InitButton();
    } catch (const AppError &) {
    }
}
