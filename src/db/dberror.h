#pragma once

#include <QString>
#include <stdexcept>

// A failed database action: what the program was doing, the statement, and the engine's words.
class DbError : public std::runtime_error
{
public:
    DbError(QString action, QString statement, QString engineMessage)
        : std::runtime_error((action + QStringLiteral(": ") + engineMessage).toStdString()),
          m_action(std::move(action)), m_statement(std::move(statement)),
          m_engineMessage(std::move(engineMessage))
    {
    }

    const QString &action() const { return m_action; }
    const QString &statement() const { return m_statement; }
    const QString &engineMessage() const { return m_engineMessage; }

    // The text shown to the user: what failed and why, without the SQL.
    QString userText() const { return m_action + QStringLiteral(" failed.\n\n") + m_engineMessage; }

private:
    QString m_action;
    QString m_statement;
    QString m_engineMessage;
};
