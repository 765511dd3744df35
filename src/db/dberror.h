#pragma once

#include <QString>
#include <stdexcept>

// A failed database action: what the program was doing, the statement, and the engine's words.
class DbError : public std::runtime_error
{
public:
    enum class Kind {
        Failed,    // anything else: the engine's words are told
        Locked,    // the meet file is held by another program, or the server held the rows too long
        Collision, // the server found another station's save in the way, twice running
        Conflict,  // another station saved what the window read since it read it
        Gone,      // another station deleted the record the window read since it read it
        Lost,      // the meet server cannot be reached, or the connection to it broke
        SignIn,    // the server answered but turned the sign-in away (a password, a user)
        Unanswered // the meet server gave no answer within the bound (the engine's words say
                   // what became of the action)
    };

    DbError(QString action, QString statement, QString engineMessage, Kind kind = Kind::Failed,
            bool onServer = false)
        : std::runtime_error((action + QStringLiteral(": ") + engineMessage).toStdString()),
          m_action(std::move(action)), m_statement(std::move(statement)),
          m_engineMessage(std::move(engineMessage)), m_kind(kind), m_onServer(onServer)
    {
        if (m_kind == Kind::Failed && !m_onServer && isFileBusy(m_engineMessage))
            m_kind = Kind::Locked;
    }

    const QString &action() const { return m_action; }
    const QString &statement() const { return m_statement; }
    const QString &engineMessage() const { return m_engineMessage; }
    Kind kind() const { return m_kind; }

    // Another program (a backup tool, a database viewer, a second copy of this program) holds
    // the meet file, and the busy timeout ran out waiting for it.
    bool isLocked() const { return m_kind == Kind::Locked; }

    // Why the action failed, in the program's words with the engine's after them: what follows
    // the action in userText(), or a sentence of its own after other words ("The meet ... cannot
    // be opened: ...").
    QString why() const
    {
        switch (m_kind) {
        case Kind::Locked:
            return m_onServer
                       ? QStringLiteral("another station is holding the same records on the meet server")
                       : QStringLiteral("the meet file is in use by another program");
        case Kind::Collision:
            return QStringLiteral("another station was saving the same records at the same moment");
        case Kind::Lost:
            return m_engineMessage.trimmed().isEmpty()
                       ? QStringLiteral("the meet server cannot be reached")
                       : QStringLiteral("the meet server cannot be reached (") + m_engineMessage.trimmed() +
                             u')';
        case Kind::Unanswered:
            return QStringLiteral("the meet server is not answering. ") + m_engineMessage;
        case Kind::Conflict:
        case Kind::Gone:
        case Kind::SignIn:
        case Kind::Failed:
            break;
        }
        return m_engineMessage;
    }

    // The text shown to the user: what failed and why, in plain words, without the SQL.
    QString userText() const
    {
        switch (m_kind) {
        case Kind::Locked:
            return m_action + QStringLiteral(": ") + why() + QStringLiteral("; try again");
        case Kind::Collision:
            return m_action + QStringLiteral(": ") + why() +
                   QStringLiteral(". Nothing was saved; try again.");
        case Kind::Conflict:
            return m_action + QStringLiteral(": ") + m_engineMessage +
                   QStringLiteral(" Nothing was saved. Cancel and open it again to see what is stored now.");
        case Kind::Gone:
            return m_action + QStringLiteral(": ") + m_engineMessage +
                   QStringLiteral(" Nothing was saved; Cancel closes this window, as there is nothing left "
                                  "to open again.");
        case Kind::Lost:
            return m_action + QStringLiteral(": ") + why() +
                   QStringLiteral(". Nothing is left half written; try again once the server is back.");
        case Kind::SignIn:
            return m_action + QStringLiteral(": ") + m_engineMessage + u'.';
        case Kind::Unanswered:
            return m_action + QStringLiteral(": ") + why();
        case Kind::Failed:
            break;
        }
        return m_action + QStringLiteral(" failed.\n\n") + m_engineMessage;
    }

private:
    static bool isFileBusy(const QString &message)
    {
        return message.contains(QStringLiteral("locked"), Qt::CaseInsensitive) ||
               message.contains(QStringLiteral("busy"), Qt::CaseInsensitive);
    }

    QString m_action;
    QString m_statement;
    QString m_engineMessage;
    Kind m_kind;
    bool m_onServer;
};
