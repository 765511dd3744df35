#pragma once

#include "common/messageservice.h"

#include <QList>
#include <QQueue>
#include <QString>

// A message service for tests: records every message and answers questions from a queue.
// A question with no answer queued is answered Yes and counted, so a test can assert that
// no question was asked that it did not expect.
class ScriptedMessages : public MessageService
{
public:
    enum class Kind { Tell, Ask, Refuse, Warn, Fail };
    struct Message
    {
        Kind kind;
        QString title;
        QString text;
    };

    void tell(const QString &text, const QString &title = ProgramTitle) override
    {
        log.append({Kind::Tell, title, text});
    }
    bool ask(const QString &text) override
    {
        log.append({Kind::Ask, QuestionTitle, text});
        if (answers.isEmpty()) {
            ++unscriptedQuestions;
            return true;
        }
        return answers.dequeue();
    }
    void refuse(Refusal kind, const QString &text) override
    {
        log.append({Kind::Refuse, refusalTitle(kind), text});
    }
    void warn(const QString &text) override { log.append({Kind::Warn, ProgramTitle, text}); }
    void fail(const QString &text) override { log.append({Kind::Fail, ProgramTitle, text}); }

    void answer(std::initializer_list<bool> replies)
    {
        for (bool r : replies)
            answers.enqueue(r);
    }
    QStringList texts() const
    {
        QStringList out;
        for (const Message &m : log)
            out << m.text;
        return out;
    }
    const Message *last() const { return log.isEmpty() ? nullptr : &log.last(); }
    void clear()
    {
        log.clear();
        answers.clear();
        unscriptedQuestions = 0;
    }

    QList<Message> log;
    QQueue<bool> answers;
    int unscriptedQuestions = 0;
};
