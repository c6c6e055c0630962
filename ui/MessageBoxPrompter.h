#pragma once

#include "engine/Prompter.h"

class QWidget;

// Asks through a modal QMessageBox over the given window.
class MessageBoxPrompter : public Prompter
{
public:
    explicit MessageBoxPrompter(QWidget *parent = nullptr);

    // The boxes come over window, which may be made after the prompter.
    void setWindow(QWidget *window) { m_parent = window; }

    Reply ask(const Message &message) override;

private:
    QWidget *m_parent;
};
