#include "controls/KeyCodes.h"
#include "controls/MouseCapture.h"
#include "controls/PButton.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>

namespace {

qint16 buttonCode(Qt::MouseButtons buttons)
{
    return qint16((buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0)
                  | (buttons & Qt::MiddleButton ? 4 : 0));
}

qint16 shiftCode(Qt::KeyboardModifiers modifiers)
{
    return qint16((modifiers & Qt::ShiftModifier ? 1 : 0)
                  | (modifiers & Qt::ControlModifier ? 2 : 0)
                  | (modifiers & Qt::AltModifier ? 4 : 0));
}

constexpr qint16 LeftButtonAlone = 1;

} // namespace

void PButton::Release()
{
    m_State = Normal;
    releaseMouseCapture();
    m_MouseInside = false;
    ShowState();
}

void PButton::InputKey(qint16 KeyCode)
{
    if (m_DefaultOK) {
        if (KeyCode == KeyCodes::Enter)
            emit Click();
    } else if (m_DefaultCancel && KeyCode == KeyCodes::Escape) {
        emit Click();
    }
}

void PButton::click()
{
    Release();
    emit Click();
}

bool PButton::IsOutside(float X, float Y) const
{
    return !(X >= 0 && X < m_ButtonWidth && Y >= 0 && Y < m_ButtonHeight);
}

void PButton::setState(ButtonState state)
{
    m_State = state;
    ShowState();
}

void PButton::mousePressEvent(QMouseEvent *event)
{
    const QPointF at = event->position();
    emit MouseDown(buttonCode(event->button()), shiftCode(event->modifiers()), at.x(), at.y());
    m_clickArmed = event->button() == Qt::LeftButton;
    setState(Pressed);
}

void PButton::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF at = event->position();
    followPointer(buttonCode(event->buttons()), shiftCode(event->modifiers()), at,
                  IsOutside(at.x(), at.y()));
}

// Without a mouse button held Qt reports the moves over the button only, and then that the
// pointer left. Taking that as a move out spares the button a grab, which would keep the mouse
// from a message box opened meanwhile by a key. A pointer that the button has already seen out
// (dragged out, or let go by a click) is not seen leaving twice.
void PButton::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    if (!m_MouseInside)
        return;
    followPointer(buttonCode(QGuiApplication::mouseButtons()),
                  shiftCode(QGuiApplication::keyboardModifiers()), mapFromGlobal(QCursor::pos()),
                  true);
}

// With the left button held the button shows the pressed look while the pointer is over it and
// the over look while it is not (Qt keeps sending the moves while a button is held). Otherwise
// it shows the over look while the pointer is over it.
void PButton::followPointer(qint16 button, qint16 shift, QPointF at, bool outside)
{
    emit MouseMove(button, shift, at.x(), at.y());
    if (button == LeftButtonAlone) {
        if (outside && m_MouseInside) {
            setState(Over);
            m_MouseInside = false;
            emit MouseOut();
        } else if (!outside && !m_MouseInside) {
            setState(Pressed);
            m_MouseInside = true;
            emit MouseOver();
        }
    } else if (outside) {
        setState(Normal);
        emit MouseOut();
        m_MouseInside = false;
    } else if (!m_MouseInside) {
        setState(Over);
        emit MouseOver();
        m_MouseInside = true;
    }
}

void PButton::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointF at = event->position();
    emit MouseUp(buttonCode(event->button()), shiftCode(event->modifiers()), at.x(), at.y());
    const bool outside = IsOutside(at.x(), at.y());
    setState(outside ? Normal : Over);

    // A left press and release over the button is a click.
    const bool clicked = m_clickArmed && event->button() == Qt::LeftButton && !outside;
    m_clickArmed = false;
    if (clicked)
        click();
}

void PButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    // The second press of a double click is no press of its own, and its release no click.
    m_clickArmed = false;
    emit DblClick();
}

void PButton::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    forgetPointer();
}

void PButton::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        forgetPointer();
}

// A hidden or disabled button gets no word of the pointer leaving: it meets it afresh.
void PButton::forgetPointer()
{
    m_clickArmed = false;
    m_MouseInside = false;
    if (m_State == Over || m_State == Pressed)
        setState(Normal);
}
