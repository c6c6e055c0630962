#pragma once

#include "engine/Prompter.h"

#include <QList>

// A user who answers OK to everything and remembers what was asked. A run into a folder asks
// nothing, so whatever lands here means the run did not go as the benchmark meant.
class OkPrompter : public Prompter
{
public:
    Reply ask(const Message &message) override;

    const QList<Message> &asked() const { return m_asked; }

private:
    QList<Message> m_asked;
};
