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

    // Another program (a backup tool, a database viewer, a second copy of this program) holds
    // the meet file, and the busy timeout ran out waiting for it.
    bool isLocked() const
    {
        return m_engineMessage.contains(QStringLiteral("locked"), Qt::CaseInsensitive) ||
               m_engineMessage.contains(QStringLiteral("busy"), Qt::CaseInsensitive);
    }

    // The text shown to the user: what failed and why, in plain words, without the SQL.
    QString userText() const
    {
        if (isLocked())
            return m_action + QStringLiteral(": the meet file is in use by another program; try again");
        return m_action + QStringLiteral(" failed.\n\n") + m_engineMessage;
    }

private:
    QString m_action;
    QString m_statement;
    QString m_engineMessage;
};
