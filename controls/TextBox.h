#pragma once

#include <QLineEdit>

// A line edit whose change notification follows every write of its text, the program's own
// included: handlers that react to a typed destination must also react when the program
// writes one, even a text equal to the one shown.
class TextBox : public QLineEdit
{
    Q_OBJECT

public:
    explicit TextBox(QWidget *parent = nullptr);

    // Hides QLineEdit::setText on purpose: the program writes through this one.
    void setText(const QString &text);

signals:
    void Change();
};
