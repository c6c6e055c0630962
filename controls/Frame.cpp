#include "controls/Frame.h"

#include <QFontInfo>
#include <QStyleOptionGroupBox>
#include <QStylePainter>

void Frame::paintEvent(QPaintEvent *event)
{
    QGroupBox::paintEvent(event);
    const qreal ratio = devicePixelRatioF();
    if (ratio <= 1 || title().isEmpty() || !QFontInfo(font()).bold())
        return;
    QStylePainter painter(this);
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    const QRect caption
        = style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, this);
    painter.translate(1 - 1 / ratio, 0);
    painter.drawItemText(caption, Qt::TextShowMnemonic | Qt::AlignHCenter | option.textAlignment,
                         option.palette, isEnabled(), title(), QPalette::WindowText);
}
