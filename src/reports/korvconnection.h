#pragma once

#include "db/dbconnection.h"

#include <QSqlDatabase>
#include <QString>

// The report data source: its own connection, named "Trotwise", to the meet file. Start-up
// points it at the file; it connects the first time a report needs it.
class KORVConnection
{
public:
    static inline const QString ConnectionName = QStringLiteral("Trotwise");

    void setDataSource(const QString &meetPath);
    const QString &dataSource() const { return m_path; }

    // The open connection; throws DbError when the file cannot be opened.
    QSqlDatabase database();
    void close() { m_connection.close(); }

private:
    QString m_path;
    DbConnection m_connection;
};
