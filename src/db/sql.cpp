#include "db/sql.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace Sql {
namespace {

QString engineText(const QSqlError &error)
{
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.driverText();
    if (text.isEmpty())
        text = QStringLiteral("unknown database error");
    return text;
}

template <typename Bind>
QSqlQuery run(const QSqlDatabase &db, const QString &action, const QString &statement, Bind bind)
{
    if (!db.isOpen())
        throw DbError(action, statement, QStringLiteral("the database is not open"));
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(statement))
        throw DbError(action, statement, engineText(query.lastError()));
    bind(query);
    if (!query.exec())
        throw DbError(action, statement, engineText(query.lastError()));
    return query;
}

auto positional(const QVariantList &values)
{
    return [&values](QSqlQuery &q) {
        for (int i = 0; i < values.size(); ++i)
            q.bindValue(i, values[i]);
    };
}

auto byName(const QVariantMap &named)
{
    return [&named](QSqlQuery &q) {
        for (auto it = named.cbegin(); it != named.cend(); ++it)
            q.bindValue(it.key().startsWith(u':') ? it.key() : u':' + it.key(), it.value());
    };
}

Outcome finishWrite(QSqlQuery &query)
{
    Outcome out{query.lastInsertId(), query.numRowsAffected()};
    query.finish();
    return out;
}

ResultRows collect(QSqlQuery &query, const QString &action, const QString &statement)
{
    ResultRows result;
    const QSqlRecord record = query.record();
    const int n = record.count();
    result.columns.reserve(n);
    for (int i = 0; i < n; ++i)
        result.columns << record.fieldName(i);
    while (query.next()) {
        QVector<QVariant> row(n);
        for (int i = 0; i < n; ++i)
            row[i] = query.value(i);
        result.rows.push_back(std::move(row));
    }
    if (query.lastError().isValid())
        throw DbError(action, statement, engineText(query.lastError()));
    query.finish();
    return result;
}

} // namespace

Outcome exec(const QSqlDatabase &db, const QString &action, const QString &statement,
             const QVariantList &values)
{
    QSqlQuery q = run(db, action, statement, positional(values));
    return finishWrite(q);
}

Outcome exec(const QSqlDatabase &db, const QString &action, const QString &statement,
             const QVariantMap &named)
{
    QSqlQuery q = run(db, action, statement, byName(named));
    return finishWrite(q);
}

ResultRows select(const QSqlDatabase &db, const QString &action, const QString &statement,
                  const QVariantList &values)
{
    QSqlQuery q = run(db, action, statement, positional(values));
    return collect(q, action, statement);
}

ResultRows select(const QSqlDatabase &db, const QString &action, const QString &statement,
                  const QVariantMap &named)
{
    QSqlQuery q = run(db, action, statement, byName(named));
    return collect(q, action, statement);
}

QVariant scalar(const QSqlDatabase &db, const QString &action, const QString &statement,
                const QVariantList &values)
{
    const ResultRows rows = select(db, action, statement, values);
    return rows.isEmpty() || rows.columns.isEmpty() ? QVariant() : rows.rows.front().front();
}

} // namespace Sql
