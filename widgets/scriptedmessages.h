#pragma once
// Test stand-in for the message boxes: records every message in order and
// answers questions from a queue (No once the queue is empty).

#include "widgets/messages.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <initializer_list>
#include <vector>

namespace talvera::widgets {

class ScriptedMessages : public Messages {
public:
    struct Shown {
        Kind kind;
        QString text;
        QString informativeText; // of a summary
        bool operator==(const Shown&) const = default;
    };

    void information(const QString& text) override;
    // Recorded as an information with its informative text.
    void summary(const QString& text, const QString& informativeText) override;
    bool question(const QString& text) override;
    void error(const QString& text) override;

    // Answers for the next questions, in order.
    void answer(bool yes) { m_answers.push_back(yes); }
    void answer(std::initializer_list<bool> answers) { m_answers.insert(m_answers.end(), answers); }
    // Answers queued but not yet used.
    int pendingAnswers() const { return static_cast<int>(m_answers.size()); }

    const std::vector<Shown>& shown() const { return m_shown; }
    // Texts of one kind, in order.
    QStringList texts(Kind kind) const;
    void clear();

private:
    std::vector<Shown> m_shown;
    std::deque<bool> m_answers;
};

// Installs a ScriptedMessages for the lifetime of the object and puts the
// previous service back afterwards.
class ScriptedMessagesScope {
public:
    ScriptedMessagesScope();
    ~ScriptedMessagesScope();
    ScriptedMessagesScope(const ScriptedMessagesScope&) = delete;
    ScriptedMessagesScope& operator=(const ScriptedMessagesScope&) = delete;

    ScriptedMessages& operator*() const { return *m_scripted; }
    ScriptedMessages* operator->() const { return m_scripted; }

private:
    ScriptedMessages* m_scripted;
    std::unique_ptr<Messages> m_previous;
};

} // namespace talvera::widgets
