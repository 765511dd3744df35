#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>
#include <span>
#include <vector>

// The nine tables of a meet file, field by field, in column order, and the journal of its saves
// beside them. The engine enforces each field's type, width, length and empty-text rule through
// the table definitions made here.
namespace MeetSchema {

enum class FieldType { Integer, Long, Single, Text, Memo, AutoNumber, Bytes };

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

// An index on a table's look-up columns: the meet's queries find riders of a team, entries of a
// rider, placings of a class through these instead of reading the whole table each time.
struct Index
{
    const char *name;
    const char *table;
    const char *columns; // as a statement names them, comma-separated
};

// In the order the database builder creates them.
std::span<const Table> tables();
// The journal of every save (TblJournal). A meet of an earlier version has none until it is
// given one at start (addMissing).
const Table &journal();
// One of the nine, or the journal.
const Table *table(const QString &name);

// The column as statements name it on either engine: "Primary" quoted, the rest plainly.
QString columnReference(const Field &field);

// CREATE TABLE statement for one table, for the meet file or for a server.
QString createStatement(const Table &table, bool server = false);
// Every index of a meet, made with the tables, and the statement that makes one (the same on
// either engine; nothing happens when the index is there).
std::span<const Index> indexes();
QString createStatement(const Index &index);
// Makes the journal and the indexes an existing meet lacks (one made before they were), all in
// one transaction. Never throws: a meet that cannot be written to now (opened read-only, held by
// another program) works without them, only slower and without a journal. Answers nothing when
// the meet has them all, or why they could not be made.
std::optional<QString> addMissing(const QSqlDatabase &db) noexcept;

// A table's indexes set aside while many new rows go into it on the meet file, and made again
// whole once they are in: the engine then sorts the rows once instead of placing each one in each
// index as it comes. Inside the caller's transaction, so a failure leaves the indexes as they
// were. Nothing is set aside on a server, or when fewer rows are to come than the table holds.
class IndexesAside
{
public:
    // Throws DbError.
    IndexesAside(const QSqlDatabase &db, const QString &action, const QString &table, qint64 rowsToCome);
    // Makes the indexes again; to be called before the transaction commits. Throws DbError.
    void restore();

private:
    QSqlDatabase m_db;
    QString m_action;
    std::vector<const Index *> m_aside;
};

// What a server database needs before the tables can be made (nothing for a file).
QStringList setupStatements(bool server);

// A table the database holds that is none of the nine nor the journal, or nothing.
std::optional<QString> foreignTable(const QSqlDatabase &db);

// Why the open database is not a meet file, or nothing when it is one: each of the nine
// tables must be there with its columns in order, and the journal, where there is one.
std::optional<QString> mismatch(const QSqlDatabase &db);

// Same check for a chosen subset: each named table with at least the named columns.
struct NeededTable
{
    QString name;
    QStringList columns;
};
std::optional<QString> missingColumns(const QSqlDatabase &db, std::span<const NeededTable> needed);

} // namespace MeetSchema
