#include "controls/OptionButton.h"

#include <QKeyEvent>

#include <algorithm>

OptionButton::OptionButton(QWidget *parent)
    : QRadioButton(parent)
{
    connect(this, &QAbstractButton::toggled, this, &OptionButton::keepSelectedAsTabStop);
}

QList<OptionButton *> OptionButton::group() const
{
    QList<OptionButton *> options {const_cast<OptionButton *>(this)};
    if (parentWidget())
        options = parentWidget()->findChildren<OptionButton *>(Qt::FindDirectChildrenOnly);
    std::sort(options.begin(), options.end(), [](const OptionButton *a, const OptionButton *b) {
        return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
    });
    return options;
}

// With no option selected, every one is a tab stop.
void OptionButton::keepSelectedAsTabStop()
{
    const QList<OptionButton *> options = group();
    const bool anySelected
        = std::any_of(options.cbegin(), options.cend(), [](auto *o) { return o->isChecked(); });
    for (OptionButton *option : options) {
        const Qt::FocusPolicy policy = option->focusPolicy();
        option->setFocusPolicy(option->isChecked() || !anySelected
                                   ? Qt::FocusPolicy(policy | Qt::TabFocus)
                                   : Qt::FocusPolicy(policy & ~Qt::TabFocus));
    }
}

void OptionButton::focusInEvent(QFocusEvent *event)
{
    // Qt hands the tab stop to the option that got the focus; it goes back to the selected one.
    QRadioButton::focusInEvent(event);
    keepSelectedAsTabStop();
}

void OptionButton::keyPressEvent(QKeyEvent *event)
{
    int step = 0;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        step = -1;
        break;
    case Qt::Key_Down:
    case Qt::Key_Right:
        step = 1;
        break;
    default:
        QRadioButton::keyPressEvent(event);
        return;
    }
    const QList<OptionButton *> options = group();
    const qsizetype count = options.size();
    qsizetype at = options.indexOf(this);
    // Options that cannot be selected are passed over.
    for (qsizetype tried = 1; tried < count; ++tried) {
        at = (at + step + count) % count;
        OptionButton *next = options.at(at);
        if (next->isEnabled() && next->isVisibleTo(parentWidget())) {
            next->setFocus(step < 0 ? Qt::BacktabFocusReason : Qt::TabFocusReason);
            next->click();
            break;
        }
    }
}
