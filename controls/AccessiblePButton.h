#pragma once

#include <QAccessibleWidget>

class PButton;

// The owner-drawn button to assistive technology: a push button named by its caption, whose
// press action clicks it as the mouse does, with the window's key for it as its shortcut.
class AccessiblePButton : public QAccessibleWidget
{
public:
    explicit AccessiblePButton(PButton *button);

    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &actionName) const override;

private:
    PButton *button() const;
};
