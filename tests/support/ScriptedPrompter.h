#pragma once

#include "engine/Prompter.h"

#include <QList>

#include <deque>
#include <functional>
#include <ostream>

// A user who answers from a script: each message takes the next reply of the queue, after
// running the reply's action (taking a disk out and putting another in, say). Every message
// is kept, in order, for the test to compare. A message beyond the script fails the test, and
// so do replies left over when the prompter goes.
class ScriptedPrompter : public Prompter
{
public:
    ~ScriptedPrompter() override;

    void answer(Reply reply, std::function<void()> action = {});
    Reply ask(const Message &message) override;

    const QList<Message> &shown() const { return m_shown; }
    // The last message shown; an empty one when none was.
    Message last() const { return m_shown.value(m_shown.size() - 1); }

private:
    struct Answer
    {
        Reply reply;
        std::function<void()> action;
    };

    std::deque<Answer> m_script;
    QList<Message> m_shown;
};

// The messages of the program's three kinds, with the default title.
Prompter::Message errorMessage(const QString &text);
Prompter::Message warningMessage(const QString &text);
Prompter::Message informationMessage(const QString &text);
Prompter::Message question(const QString &text);

void PrintTo(const Prompter::Message &message, std::ostream *out);
