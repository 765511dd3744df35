#pragma once

#include "db/dberror.h"
#include "db/resultrows.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

#include <cstdint>
#include <memory>
#include <optional>

// The one way statements reach the database: prepared, every value bound (by position
// with '?' or by name with ':name'), executed, and on failure a DbError naming the action.
// A value is never joined into the statement's text.
//
// On a meet server a broken connection is opened again before the next statement outside a
// transaction; a read that finds it broken runs once more on the new one.
namespace Sql {

struct Outcome
{
    int rowsAffected = 0;
};

Outcome exec(const QSqlDatabase &db, const QString &action, const QString &statement,
             const QVariantList &values = {});
Outcome exec(const QSqlDatabase &db, const QString &action, const QString &statement,
             const QVariantMap &named);

ResultRows select(const QSqlDatabase &db, const QString &action, const QString &statement,
                  const QVariantList &values = {});
ResultRows select(const QSqlDatabase &db, const QString &action, const QString &statement,
                  const QVariantMap &named);

// Inserts one row and answers the key the engine gave it in keyColumn (an AutoNumber field).
std::int32_t insert(const QSqlDatabase &db, const QString &action, const QString &statement,
                    const QVariantList &values, const QString &keyColumn);

// The first column of the first row, or an invalid QVariant when there is no row.
QVariant scalar(const QSqlDatabase &db, const QString &action, const QString &statement,
                const QVariantList &values = {});

// One write prepared once and run for many rows (a copy's inserts): on a server each run is one
// round trip instead of three.
class Repeated
{
public:
    Repeated(const QSqlDatabase &db, QString action, QString statement);
    Repeated(const Repeated &) = delete;
    Repeated &operator=(const Repeated &) = delete;

    // Runs the statement with these values. Throws DbError.
    void exec(const QVariantList &values);

private:
    QSqlDatabase m_db;
    QString m_action;
    QString m_statement;
    QSqlQuery m_query;
};

class InsertBatch;

// Many new rows of one table, sent a hundred to a statement: on a server one round trip per
// hundred rows instead of one per row; on the meet file straight to the engine, whose insert costs
// less than the driver's binding of its values. The rows go in in the order they are added;
// finish() sends the last of them (rows still held when the inserter goes without finish() are
// dropped, as when the transaction they belong to fails).
class Inserter
{
public:
    static constexpr int RowsPerStatement = 100;

    Inserter(const QSqlDatabase &db, QString action, const QString &table, const QStringList &columns);
    ~Inserter();
    Inserter(const Inserter &) = delete;
    Inserter &operator=(const Inserter &) = delete;

    // Throws DbError.
    void add(const QVariantList &values);
    void finish();

private:
    std::unique_ptr<InsertBatch> batch(int rows) const;

    QSqlDatabase m_db;
    QString m_action;
    QString m_head; // INSERT INTO table (columns) VALUES
    QString m_row;  // (?, ?, ...)
    QVariantList m_pending;
    int m_pendingRows = 0;
    std::unique_ptr<InsertBatch> m_full; // a full statement's, prepared when first needed
};

// A text value to store: a null QString (an untouched text box) is stored as "" rather than
// as NULL, as typed text always is.
inline QVariant text(const QString &s)
{
    return QVariant(s.isNull() ? QStringLiteral("") : s);
}

} // namespace Sql
