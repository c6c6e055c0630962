#pragma once

#include <QList>
#include <QRadioButton>

// An option button of a group (the option buttons in the same container) that the keyboard
// works as users expect of an option group: only the selected option is a tab stop, so Tab and
// Shift+Tab both enter the group there, and the arrow keys select the option above or below
// (Up and Left, Down and Right; past the last comes the first) as a click on it does.
//
// Qt's radio buttons instead make whichever option last had the focus the group's tab stop,
// and move between them by their geometry, without wrapping.
class OptionButton : public QRadioButton
{
    Q_OBJECT

public:
    explicit OptionButton(QWidget *parent = nullptr);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The group's options from top to bottom, then left to right.
    QList<OptionButton *> group() const;
    void keepSelectedAsTabStop();
};
