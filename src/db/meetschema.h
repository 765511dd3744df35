#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>
#include <span>

// The nine tables of a meet file, field by field, in column order. The engine enforces each
// field's type, width, length and empty-text rule through the table definitions made here.
namespace MeetSchema {

enum class FieldType { Integer, Long, Single, Text, Memo, AutoNumber };

struct Field
{
    const char *name;
    FieldType type;
    int length = 0;            // characters, Text only
    bool emptyAllowed = false; // Text and Memo only
    bool primaryKey = false;
};

struct Table
{
    const char *name;
    std::span<const Field> fields;
};

// In the order the database builder creates them.
std::span<const Table> tables();
const Table *table(const QString &name);

// The column as statements name it on either engine: "Primary" quoted, the rest plainly.
QString columnReference(const Field &field);

// CREATE TABLE statement for one table, for the meet file or for a server.
QString createStatement(const Table &table, bool server = false);
// What a server database needs before the tables can be made (nothing for a file).
QStringList setupStatements(bool server);

// A table the database holds that is none of the nine, or nothing.
std::optional<QString> foreignTable(const QSqlDatabase &db);

// Why the open database is not a meet file, or nothing when it is one: each of the nine
// tables must be there with its columns in order.
std::optional<QString> mismatch(const QSqlDatabase &db);

// Same check for a chosen subset: each named table with at least the named columns.
std::optional<QString> missingColumns(const QSqlDatabase &db, const QString &tableName,
                                      const QStringList &columns);

} // namespace MeetSchema
