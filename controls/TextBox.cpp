#include "TextBox.h"

#include <QColor>

TextBox::TextBox(QWidget *parent)
    : QLineEdit(parent)
{
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
