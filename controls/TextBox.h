#pragma once

#include "controls/OleColor.h"

#include <QLineEdit>

class QMimeData;

// A line edit whose change notification follows every write of its text, the program's own
// included: handlers that react to a typed destination must also react when the program
// writes one, even a text equal to the one shown. A read-only box takes no text, but hands
// what is pasted into it (Ctrl+V, Shift+Insert) to its owner.
class TextBox : public QLineEdit
{
    Q_OBJECT

public:
    explicit TextBox(QWidget *parent = nullptr);

    // Hides QLineEdit::setText on purpose: the program writes through this one.
    void setText(const QString &text);

    // The colour behind the text, resolved against the palette when it is set.
    OleColor BackColor() const { return m_BackColor; }
    void setBackColor(OleColor color);

signals:
    void Change();
    // The clipboard's data, pasted into a read-only box; valid while the signal is handled.
    void pasteRequested(const QMimeData *data);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    OleColor m_BackColor = OleColor::WindowBackground;
};
