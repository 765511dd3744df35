#include "db/writetransaction.h"

#include "db/engine.h"
#include "db/sql.h"

#include <QLoggingCategory>

WriteTransaction::WriteTransaction(QSqlDatabase db, QString action, const QStringList &takingTurnsOn)
    : m_db(std::move(db)), m_action(std::move(action))
{
    Sql::exec(m_db, m_action, Engine::beginWrite(m_db));
    Engine::enterTransaction(m_db);
    const QString turns = Engine::takeTurnsOn(m_db, takingTurnsOn);
    if (!turns.isEmpty())
        Sql::exec(m_db, m_action, turns);
}

WriteTransaction::~WriteTransaction()
{
    if (m_done)
        return;
    try {
        Sql::exec(m_db, m_action, QStringLiteral("ROLLBACK"));
    } catch (const DbError &e) {
        // Nothing more can be done from a destructor; the engine ends the transaction itself
        // when the connection closes (or has closed: a server that went away rolled it back).
        qWarning("rollback failed: %s", e.what());
    }
    Engine::leaveTransaction(m_db);
}

void WriteTransaction::commit()
{
    // A COMMIT that fails (the file still held by a reader) leaves the transaction to roll back;
    // one that got no answer has ended it on this side, whatever became of it on the server.
    try {
        Engine::commit(m_db, m_action);
    } catch (const DbError &) {
        if (!Engine::inTransaction(m_db))
            m_done = true;
        throw;
    }
    m_done = true;
    Engine::leaveTransaction(m_db);
}

ReadTransaction::ReadTransaction(QSqlDatabase db, const QString &action) : m_db(std::move(db))
{
    if (Engine::inTransaction(m_db))
        return;
    Sql::exec(m_db, action, Engine::beginRead(m_db));
    Engine::enterTransaction(m_db);
    m_open = true;
}

ReadTransaction::~ReadTransaction()
{
    if (!m_open)
        return;
    Engine::leaveTransaction(m_db);
    try {
        Sql::exec(m_db, QStringLiteral("Ending a read"), QStringLiteral("ROLLBACK"));
    } catch (const DbError &e) {
        qWarning("ending a read failed: %s", e.what());
    }
}
