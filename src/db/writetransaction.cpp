#include "db/writetransaction.h"

#include "db/sql.h"

#include <QLoggingCategory>

WriteTransaction::WriteTransaction(QSqlDatabase db, QString action)
    : m_db(std::move(db)), m_action(std::move(action))
{
    Sql::exec(m_db, m_action, QStringLiteral("BEGIN IMMEDIATE"));
}

WriteTransaction::~WriteTransaction()
{
    if (m_done)
        return;
    try {
        Sql::exec(m_db, m_action, QStringLiteral("ROLLBACK"));
    } catch (const DbError &e) {
        // Nothing more can be done from a destructor; the engine ends the transaction itself
        // when the connection closes.
        qWarning("rollback failed: %s", e.what());
    }
}

void WriteTransaction::commit()
{
    Sql::exec(m_db, m_action, QStringLiteral("COMMIT"));
    m_done = true;
}
