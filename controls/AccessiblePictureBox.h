#pragma once

#include <QAccessibleWidget>

class PictureBox;

// The picture box to assistive technology: a progress bar whose value is how far along its
// scale the boxes filled since it was cleared reach, of the scale's width. The engine fills the
// progress from the left, one unit a piece, on a scale as wide as the run's count of pieces.
class AccessiblePictureBox : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit AccessiblePictureBox(PictureBox *box);

    void *interface_cast(QAccessible::InterfaceType type) override;

    QVariant currentValue() const override;
    // The user cannot move the progress.
    void setCurrentValue(const QVariant &) override { }
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    PictureBox *box() const;
};
