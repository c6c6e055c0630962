#include "TextBox.h"

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
