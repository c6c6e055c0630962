#include "ui/MessageBoxPrompter.h"

#include "controls/MouseCapture.h"

#include <QMessageBox>

MessageBoxPrompter::MessageBoxPrompter(QWidget *parent)
    : m_parent(parent)
{
}

Prompter::Reply MessageBoxPrompter::ask(const Message &message)
{
    const QMessageBox::Icon icon = [&message] {
        switch (message.icon) {
        case Icon::Error:
            return QMessageBox::Critical;
        case Icon::Warning:
            return QMessageBox::Warning;
        case Icon::Information:
            break;
        }
        return QMessageBox::Information;
    }();
    const QMessageBox::StandardButtons buttons = message.buttons == Buttons::OkCancel
        ? QMessageBox::Ok | QMessageBox::Cancel
        : QMessageBox::Ok;
    QMessageBox box(icon, message.title, message.text, buttons, m_parent);
    releaseMouseCapture();
    return box.exec() == QMessageBox::Ok ? Reply::Ok : Reply::Cancel;
}
