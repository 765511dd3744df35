#pragma once

#include <QSqlDatabase>
#include <QString>

// A write transaction: BEGIN IMMEDIATE on construction (so a busy database is waited for
// up front instead of failing part-way), ROLLBACK on destruction unless commit() ran.
// Every save that writes more than one row goes through one of these.
class WriteTransaction
{
public:
    WriteTransaction(QSqlDatabase db, QString action);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction &) = delete;
    WriteTransaction &operator=(const WriteTransaction &) = delete;

    void commit();
    bool isCommitted() const { return m_done; }

private:
    QSqlDatabase m_db;
    QString m_action;
    bool m_done = false;
};
