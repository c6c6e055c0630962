#pragma once

#include "OleColor.h"
#include "StdFont.h"
#include "StdPicture.h"
#include "clsMemoryDC.h"

#include <QWidget>

#include <optional>

class ControlHost;
class PropertyBag;

// The program's owner-drawn push button: an optional picture and a one-line caption inside
// a border, with a font, text colour and border of its own for each of the normal, over and
// pressed looks, and a disabled look derived from the normal one.
//
// Its stored properties live in the host's layout (InitProperties for a newly placed button,
// ReadProperties and WriteProperties for a stored one). Every setter stores the value, tells
// the host which property changed and then repaints as much as the property needs.
class PButton : public QWidget
{
    Q_OBJECT

public:
    // The look on screen; also the row of that look in the state strip.
    enum ButtonState : qint32
    {
        Normal = 0,
        Pressed = 1,
        Over = 2,
        Disabled = 3,
    };

    explicit PButton(ControlHost &host, QWidget *parent = nullptr);

    // The control's window: on this toolkit the widget itself.
    QWidget *hwnd() { return this; }
    PictureRef Picture() const { return m_Picture; }
    void setPicture(const PictureRef &New_Picture);
    // Resizes the control, in pixels.
    void Size(float Width, float Height);
    FontRef Font_Normal() const { return m_Font_Normal; }
    void setFont_Normal(const FontRef &New_Font);
    FontRef Font_Pressed() const { return m_Font_Pressed; }
    void setFont_Pressed(const FontRef &New_Font);
    FontRef Font_Over() const { return m_Font_Over; }
    void setFont_Over(const FontRef &New_Font);
    OleColor ForeColor_Normal() const { return m_ForeColor_Normal; }
    void setForeColor_Normal(OleColor New_Color);
    OleColor ForeColor_Over() const { return m_ForeColor_Over; }
    void setForeColor_Over(OleColor New_Color);
    OleColor ForeColor_Pressed() const { return m_ForeColor_Pressed; }
    void setForeColor_Pressed(OleColor New_Color);
    // Edge styles: rings of Edge (DrawEdge.h), or Edge::Flat.
    qint32 Border_Normal() const { return m_Border_Normal; }
    void setBorder_Normal(qint32 New_Border);
    qint32 Border_Over() const { return m_Border_Over; }
    void setBorder_Over(qint32 New_Border);
    qint32 Border_Pressed() const { return m_Border_Pressed; }
    void setBorder_Pressed(qint32 New_Border);
    // 0 left, 1 centred, 2 right.
    qint32 TextAlign() const { return m_TextAlign; }
    void setTextAlign(qint32 New_TextAlign);
    // 0 picture left of the caption, 1 picture centred without caption, 2 picture right of
    // the caption, anything else picture centred under the caption.
    qint32 PictureAlign() const { return m_PictureAlign; }
    void setPictureAlign(qint32 New_PictureAlign);
    // Picture pixels of this colour are left out.
    OleColor PictureMaskColor() const { return m_PictureMaskColor; }
    void setPictureMaskColor(OleColor New_Color);
    OleColor BackColor() const { return m_BackColor; }
    void setBackColor(OleColor New_Color);
    // How far picture and caption move in the pressed look.
    qint16 Offset_X() const { return m_Offset_X; }
    void setOffset_X(qint16 New_Offset);
    qint16 Offset_Y() const { return m_Offset_Y; }
    void setOffset_Y(qint16 New_Offset);
    // The size of one picture frame; frames are stacked vertically in the picture.
    qint32 Picture_W() const { return m_Picture_W; }
    void setPicture_W(qint32 New_Size);
    qint32 Picture_H() const { return m_Picture_H; }
    void setPicture_H(qint32 New_Size);
    // The content's inset from the outer edge and the gap between picture and caption.
    qint32 Padding() const { return m_Padding; }
    void setPadding(qint32 New_Padding);
    // One line; "&" underlines the next character and makes it the access key.
    QString Caption() const { return m_Caption; }
    void setCaption(const QString &New_Caption);
    // The control's own enabled flag. Hides QWidget::setEnabled on purpose: the button's
    // look follows this setter, not the enabled state of its parents.
    bool Enabled() const { return !testAttribute(Qt::WA_ForceDisabled); }
    void setEnabled(bool New_Enabled);
    // The font last given to all three looks at once.
    FontRef Font_All() const { return m_Font_All; }
    void setFont_All(const FontRef &New_Font);
    // The button answers Escape (DefaultCancel) or Enter (DefaultOK); setting either one
    // true clears the other.
    bool DefaultCancel() const { return m_DefaultCancel; }
    void setDefaultCancel(bool New_DefaultCancel);
    bool DefaultOK() const { return m_DefaultOK; }
    void setDefaultOK(bool New_DefaultOK);

    ButtonState State() const { return m_State; }
    // The characters that, with Alt, press the button: lower then upper case.
    QString AccessKeys() const { return m_AccessKeys; }

    // From the host: a newly placed button, a stored one loaded, the layout saved.
    void InitProperties();
    void ReadProperties(const PropertyBag &PropBag);
    void WriteProperties(PropertyBag &PropBag) const;

signals:
    void Click();

protected:
    // Rebuilds the drawing surfaces and renews the access keys, then Redraw.
    virtual void InitButton();
    // Paints every look and shows the current one.
    virtual void Redraw();
    // Shows the look of the current state.
    virtual void ShowState();

    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    enum class OnChange
    {
        Nothing,
        Redraw,
        InitButton,
    };
    template<typename T> void assign(T &field, const T &value, const QString &name, OnChange then);
    template<typename Self, typename Exchange>
    static void exchangeProperties(Self &self, Exchange &&exchange);
    void RenderStates();
    void SetAccessKey();
    void setAccessKeys(const QString &keys);

    ControlHost &m_host;

    PictureRef m_Picture;
    FontRef m_Font_Normal;
    FontRef m_Font_Pressed;
    FontRef m_Font_Over;
    OleColor m_ForeColor_Normal {};
    OleColor m_ForeColor_Over {};
    OleColor m_ForeColor_Pressed {};
    qint32 m_Border_Normal = 0;
    qint32 m_Border_Over = 0;
    qint32 m_Border_Pressed = 0;
    qint32 m_TextAlign = 0;
    qint32 m_PictureAlign = 0;
    OleColor m_PictureMaskColor {};
    OleColor m_BackColor = OleColor::ButtonFace;
    qint16 m_Offset_X = 0;
    qint16 m_Offset_Y = 0;
    qint32 m_Picture_W = 0;
    qint32 m_Picture_H = 0;
    qint32 m_Padding = 0;
    QString m_Caption;
    FontRef m_Font_All;
    bool m_DefaultCancel = false;
    bool m_DefaultOK = false;

    bool m_Ready = false;
    ButtonState m_State = Normal;
    bool m_Loaded = false;
    std::optional<clsMemoryDC> m_PictureSurface;
    std::optional<clsMemoryDC> m_StateStrip;

    QString m_AccessKeys;
    int m_accessKeyShortcut = 0; // 0 while the access keys are empty
};
