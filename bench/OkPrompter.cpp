#include "bench/OkPrompter.h"

Prompter::Reply OkPrompter::ask(const Message &message)
{
    m_asked += message;
    return Reply::Ok;
}
