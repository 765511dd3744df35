#pragma once

#include "db/dberror.h"
#include "db/resultrows.h"

#include <QSqlDatabase>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

// The one way statements reach the database: prepared, every value bound (by position
// with '?' or by name with ':name'), executed, and on failure a DbError naming the action.
// A value is never joined into the statement's text.
namespace Sql {

struct Outcome
{
    QVariant lastInsertId;
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

// The first column of the first row, or an invalid QVariant when there is no row.
QVariant scalar(const QSqlDatabase &db, const QString &action, const QString &statement,
                const QVariantList &values = {});

// A text value to store: a null QString (an untouched text box) is stored as "" rather than
// as NULL, as typed text always is.
inline QVariant text(const QString &s)
{
    return QVariant(s.isNull() ? QStringLiteral("") : s);
}

} // namespace Sql
