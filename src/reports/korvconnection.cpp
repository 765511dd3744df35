#include "reports/korvconnection.h"

void KORVConnection::setDataSource(const QString &meetPath)
{
    if (meetPath != m_path)
        m_connection.close();
    m_path = meetPath;
}

QSqlDatabase KORVConnection::database()
{
    if (!m_connection.isOpen())
        m_connection.open(m_path, DbConnection::Mode::ReadWrite, ConnectionName);
    return m_connection.database();
}
