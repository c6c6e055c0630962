#pragma once

#include "controls/OleColor.h"
#include "controls/StdFont.h"
#include "controls/StdPicture.h"
#include "controls/clsMemoryDC.h"

#include <QKeySequence>
#include <QWidget>

#include <optional>

class ControlHost;
class QPainter;
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
    // The stored numbers of TextAlign: the classic text-format flags, which combine as bits.
    enum TextAlignment : qint32
    {
        TextLeft = 0,
        TextCentred = 1,
        TextRight = 2,
    };
    // The stored numbers of PictureAlign: the picture left or right of the caption, or centred
    // with no caption; any other number centres it under the caption.
    enum PictureAlignment : qint32
    {
        PictureLeft = 0,
        PictureAlone = 1,
        PictureRight = 2,
    };
    qint32 TextAlign() const { return m_TextAlign; }
    void setTextAlign(qint32 New_TextAlign);
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
    // Shows the normal look and ends the mouse grab, whichever widget holds it (the button
    // itself never takes one).
    void Release();
    // The button answers Escape (DefaultCancel) or Enter (DefaultOK); setting either one
    // true clears the other.
    bool DefaultCancel() const { return m_DefaultCancel; }
    void setDefaultCancel(bool New_DefaultCancel);
    bool DefaultOK() const { return m_DefaultOK; }
    void setDefaultOK(bool New_DefaultOK);
    // The host forwards each key pressed in its window: Enter (13) clicks a DefaultOK
    // button and Escape (27) a DefaultCancel one, enabled or not.
    void InputKey(qint16 KeyCode);
    // What a click of the mouse on the button ends with: the normal look, then Click.
    void click();
    // The key that the window answers with this button, as assistive technology announces it.
    // The button itself answers no key: the window decides, and hands keys to InputKey.
    QKeySequence keyBinding() const { return m_keyBinding; }
    void setKeyBinding(const QKeySequence &key) { m_keyBinding = key; }

    ButtonState State() const { return m_State; }
    // All four looks, stacked from the top in the order of ButtonState, each as high as the
    // button; showing a state copies its row onto the control.
    const clsMemoryDC &StateStrip() const { return *m_StateStrip; }
    // The characters that, with Alt, press the button: lower then upper case.
    QString AccessKeys() const { return m_AccessKeys; }

    // From the host: a newly placed button, a stored one loaded, the layout saved.
    void InitProperties();
    void ReadProperties(const PropertyBag &PropBag);
    void WriteProperties(PropertyBag &PropBag) const;

signals:
    void Click();
    void DblClick();
    // Button: 1 left, 2 right, 4 middle, or'ed; Shift: 1 Shift, 2 Ctrl, 4 Alt, or'ed;
    // X and Y in pixels from the control's top-left corner.
    void MouseMove(qint16 Button, qint16 Shift, float X, float Y);
    void MouseUp(qint16 Button, qint16 Shift, float X, float Y);
    void MouseDown(qint16 Button, qint16 Shift, float X, float Y);
    void MouseOver();
    void MouseOut();

protected:
    // Rebuilds the drawing surfaces and renews the access keys, then Redraw.
    virtual void InitButton();
    // Paints every look and shows the current one.
    virtual void Redraw();
    // Shows the look of the current state.
    virtual void ShowState();

    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;

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
    // Left, top, right and bottom, the right and bottom ones just outside.
    struct PixelRect
    {
        int left, top, right, bottom;
        QRect toRect() const { return QRect(left, top, right - left, bottom - top); }
        PixelRect shrunk(int by) const { return {left + by, top + by, right - by, bottom - by}; }
        PixelRect moved(QPoint by) const
        {
            return {left + by.x(), top + by.y(), right + by.x(), bottom + by.y()};
        }
    };
    void RenderStates();
    void renderPicture(int &frameCount);
    void renderRow(QPainter &painter, ButtonState row, int frameCount);
    void DrawPicture(QPainter &painter, const PixelRect &box, int frame, QPoint offset);
    void drawCaption(QPainter &painter, PixelRect rect, OleColor color);
    bool IsOutside(float X, float Y) const;
    void setState(ButtonState state);
    // The pointer moved with those mouse buttons and keys held, to at (outside: off the button).
    void followPointer(qint16 button, qint16 shift, QPointF at, bool outside);
    // Lets go of the pointer when the button can no longer follow it.
    void forgetPointer();
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

    bool m_MouseInside = false;
    bool m_Ready = false;
    ButtonState m_State = Normal;
    qint32 m_ButtonWidth = 0;
    qint32 m_ButtonHeight = 0;
    // The screen's device pixels to a pixel when the looks were last drawn, and the size of
    // one look in device pixels.
    qreal m_ratio = 1;
    QSize m_lookSize;
    bool m_Loaded = false;
    std::optional<clsMemoryDC> m_PictureSurface;
    std::optional<clsMemoryDC> m_StateStrip;

    // The control's own persistent surface: the look last shown, kept while a repaint fails.
    QImage m_surface;
    // A left press on the button that a release over it turns into a click.
    bool m_clickArmed = false;
    QString m_AccessKeys;
    int m_accessKeyShortcut = 0; // 0 while the access keys are empty
    QKeySequence m_keyBinding;
};
