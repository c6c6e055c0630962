#pragma once

#include "Prompter.h"

class QWidget;

// Asks through a modal QMessageBox over the given window.
class MessageBoxPrompter : public Prompter
{
public:
    explicit MessageBoxPrompter(QWidget *parent);

    Reply ask(const Message &message) override;

private:
    QWidget *m_parent;
};
