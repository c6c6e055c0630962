#pragma once

#include "engine/Prompter.h"
#include "ui/KeyRepeats.h"

#include <QObject>

class QWidget;

// Asks through a modal QMessageBox over the given window. A box is answered only by a key
// pressed while it shows: a key held down when it came (Enter, say, that started the cut)
// repeats itself into it, and would press its default button.
class MessageBoxPrompter : public QObject, public Prompter
{
public:
    explicit MessageBoxPrompter(QWidget *parent = nullptr);

    // The boxes come over window, which may be made after the prompter.
    void setWindow(QWidget *window) { m_parent = window; }

    Reply ask(const Message &message) override;

protected:
    // Keeps from the box's window every key press that repeats a held key.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_parent;
    // What tells the repeats of the keys that reach the box that shows.
    KeyRepeats m_keyRepeats;
};
