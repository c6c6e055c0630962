#include "TextBox.h"

#include <QColor>

TextBox::TextBox(QWidget *parent)
    : QLineEdit(parent)
{
    // A file manager's drag carries the file's address as text as well, which a line edit
    // would insert; only the drop area takes drops.
    setAcceptDrops(false);
    connect(this, &QLineEdit::textChanged, this, &TextBox::Change);
}

void TextBox::setText(const QString &text)
{
    if (text == QLineEdit::text())
        emit Change();
    else
        QLineEdit::setText(text);
}

void TextBox::setBackColor(OleColor color)
{
    QPalette shades = palette();
    shades.setColor(QPalette::Base, TranslateColor(color, shades));
    setPalette(shades);
    m_BackColor = color;
}
