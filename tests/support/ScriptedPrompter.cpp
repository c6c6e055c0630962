#include "tests/support/ScriptedPrompter.h"

#include <gtest/gtest.h>

ScriptedPrompter::~ScriptedPrompter()
{
    EXPECT_TRUE(m_script.empty()) << m_script.size() << " scripted replies were never asked for";
}

void ScriptedPrompter::answer(Reply reply, std::function<void()> action)
{
    m_script.push_back({reply, std::move(action)});
}

Prompter::Reply ScriptedPrompter::ask(const Message &message)
{
    m_shown += message;
    if (m_script.empty()) {
        ADD_FAILURE() << "unscripted message: " << message.text.toStdString();
        return Reply::Cancel;
    }
    const Answer answer = std::move(m_script.front());
    m_script.pop_front();
    if (answer.action)
        answer.action();
    return answer.reply;
}

Prompter::Message errorMessage(const QString &text)
{
    return {text, Prompter::Icon::Error, Prompter::Buttons::Ok};
}

Prompter::Message warningMessage(const QString &text)
{
    return {text, Prompter::Icon::Warning, Prompter::Buttons::Ok};
}

Prompter::Message informationMessage(const QString &text)
{
    return {text, Prompter::Icon::Information, Prompter::Buttons::Ok};
}

Prompter::Message question(const QString &text)
{
    return {text, Prompter::Icon::Information, Prompter::Buttons::OkCancel};
}

void PrintTo(const Prompter::Message &message, std::ostream *out)
{
    static const char *const icons[] = {"error", "warning", "information"};
    *out << '[' << icons[int(message.icon)] << ", "
         << (message.buttons == Prompter::Buttons::Ok ? "OK" : "OK/Cancel") << ", "
         << message.title.toStdString() << "] \"" << message.text.toStdString() << '"';
}
