#include "controls/AccessiblePButton.h"

#include "controls/PButton.h"

#include <QApplication>
#include <QPointer>

namespace {

// The caption as it reads: "&" marks the access key and is not shown, "&&" shows one "&".
QString readCaption(const QString &caption)
{
    QString shown;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == u'&') {
            if (i + 1 < caption.size() && caption.at(i + 1) == u'&')
                shown += caption.at(++i);
            continue;
        }
        shown += caption.at(i);
    }
    return shown;
}

// Whether a click of the mouse would reach the button now: not while it is disabled, and not
// while a modal box blocks its window.
bool takesClicks(const PButton &button)
{
    const QWidget *modal = QApplication::activeModalWidget();
    return button.isEnabled() && (!modal || modal->isAncestorOf(&button));
}

} // namespace

AccessiblePButton::AccessiblePButton(PButton *button)
    : QAccessibleWidget(button, QAccessible::Button)
{
}

PButton *AccessiblePButton::button() const
{
    return static_cast<PButton *>(widget());
}

QString AccessiblePButton::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name:
        return button()->accessibleName().isEmpty() ? readCaption(button()->Caption())
                                                    : button()->accessibleName();
    case QAccessible::Accelerator:
        return button()->keyBinding().toString(QKeySequence::NativeText);
    default:
        return QAccessibleWidget::text(t);
    }
}

QStringList AccessiblePButton::actionNames() const
{
    return {pressAction()};
}

void AccessiblePButton::doAction(const QString &actionName)
{
    if (actionName != pressAction())
        return;
    // Assistive technology waits for the answer, and a click may open a message box that waits
    // for the user; so the click follows the answer, as it does for Qt's own buttons. It does
    // then what a click of the mouse would do.
    QPointer<PButton> pressed = button();
    QMetaObject::invokeMethod(
        pressed,
        [pressed] {
            if (pressed && takesClicks(*pressed))
                pressed->click();
        },
        Qt::QueuedConnection);
}

QStringList AccessiblePButton::keyBindingsForAction(const QString &actionName) const
{
    const QString key = text(QAccessible::Accelerator);
    if (actionName != pressAction() || key.isEmpty())
        return {};
    return {key};
}
