#include "controls/TextBox.h"

#include <QClipboard>
#include <QColor>
#include <QGuiApplication>
#include <QKeyEvent>

namespace {

bool isPasteIntoReadOnly(const QLineEdit &box, QEvent &event)
{
    return box.isReadOnly() && static_cast<QKeyEvent &>(event).matches(QKeySequence::Paste);
}

} // namespace

TextBox::TextBox(QWidget *parent)
    : QLineEdit(parent)
{
    // A file manager's drag carries the file's address as text as well, which a line edit
    // would insert; only the drop area takes drops.
    setAcceptDrops(false);
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

// A key that a line edit takes is not a shortcut of the window; a read-only one gives the paste
// keys up, and this one takes them.
bool TextBox::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride && isPasteIntoReadOnly(*this, *event)) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void TextBox::keyPressEvent(QKeyEvent *event)
{
    if (!isPasteIntoReadOnly(*this, *event)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    if (const QMimeData *data = QGuiApplication::clipboard()->mimeData())
        emit pasteRequested(data);
}
