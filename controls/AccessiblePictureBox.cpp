#include "controls/AccessiblePictureBox.h"

#include "controls/PictureBox.h"

AccessiblePictureBox::AccessiblePictureBox(PictureBox *box)
    : QAccessibleWidget(box, QAccessible::ProgressBar)
{
}

PictureBox *AccessiblePictureBox::box() const
{
    return static_cast<PictureBox *>(widget());
}

void *AccessiblePictureBox::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QVariant AccessiblePictureBox::currentValue() const
{
    return box()->filledTo();
}

QVariant AccessiblePictureBox::maximumValue() const
{
    return box()->scaleWidth();
}

QVariant AccessiblePictureBox::minimumValue() const
{
    return 0.0;
}

QVariant AccessiblePictureBox::minimumStepSize() const
{
    return 1.0;
}
