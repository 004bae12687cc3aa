#include "widgets/scriptedmessages.h"

namespace talvera::widgets {

void ScriptedMessages::information(const QString& text)
{
    m_shown.push_back({Kind::Information, text});
}

void ScriptedMessages::summary(const QString& text, const QString& informativeText)
{
    m_shown.push_back({Kind::Information, text, informativeText});
}

bool ScriptedMessages::question(const QString& text)
{
    m_shown.push_back({Kind::Question, text});
    if (m_answers.empty())
        return false;
    const bool yes = m_answers.front();
    m_answers.pop_front();
    return yes;
}

void ScriptedMessages::error(const QString& text)
{
    m_shown.push_back({Kind::Error, text});
}

QStringList ScriptedMessages::texts(Kind kind) const
{
    QStringList result;
    for (const Shown& message : m_shown) {
        if (message.kind == kind)
            result.append(message.text);
    }
    return result;
}

void ScriptedMessages::clear()
{
    m_shown.clear();
    m_answers.clear();
}

ScriptedMessagesScope::ScriptedMessagesScope()
{
    auto scripted = std::make_unique<ScriptedMessages>();
    m_scripted = scripted.get();
    m_previous = setMessages(std::move(scripted));
}

ScriptedMessagesScope::~ScriptedMessagesScope()
{
    setMessages(std::move(m_previous));
}

} // namespace talvera::widgets
