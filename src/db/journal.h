#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVector>

#include <optional>

// The journal of the meet: one line for every save, written in the save's own transaction, so
// that a save and its line are both there or neither. A line says when, from which station, what
// in words, and keeps the rows the save replaced and the rows it wrote, enough to put them back.
//
// A save names the places it writes (a table and a condition on its rows) before it writes:
//
//   Journal::Recorder journal(db, action, Journal::Kind::Placings, "Placings of class 7, division B");
//   journal.watch("TblPlacing", "ClassNumber = ? AND Division = ?", {7, "B"});
//   ...writes...
//   journal.write();
namespace Journal {

enum class Kind { Roster, Entries, Judges, Placings, Numbers, Import, Restore, CopyIn, PutBack };
// "Roster", "Entries", ...: the kind as the History window filters and shows it.
QString kindName(Kind kind);
QStringList kindNames();

// The station the lines of this program are written from: the name given, or the computer's name
// when that is empty.
void setStation(const QString &name);
QString station();

// A meet without the journal (one of an earlier version that could not be given one at start)
// is written without lines. Answers whether the meet has it; remembered for the connection.
bool checkPresent(const QSqlDatabase &db);

// A place a save writes: the rows of table that satisfy where (bound values), every column as
// the meet defines them, as they stood before the save and as it left them.
struct Scope
{
    QString table;
    QString where;
    QVariantList values;
    QVector<QVariantList> before;
    QVector<QVariantList> after;
};

struct Line
{
    qint64 id = 0;
    QDateTime savedAt; // UTC
    QString station;
    QString kind;
    QString what;
    QStringList tables;
};

class Recorder
{
public:
    Recorder(QSqlDatabase db, QString action, Kind kind, QString what);

    // Reads the rows of the place now, before the save writes it. Throws DbError.
    void watch(const QString &table, const QString &where, const QVariantList &values = {});
    // A place the save fills anew: it held nothing before.
    void added(const QString &table, const QString &where, const QVariantList &values = {});
    // The same for many keys, in groups small enough for one statement each.
    void watchKeys(const QString &table, const QString &keyColumn, const QVector<qint64> &keys);
    // The rows a save adds to tables under new keys: those above the highest key now, to be
    // called before the save writes; the line keeps those between it and the highest after.
    void addingTo(const QStringList &tables);
    void setWhat(const QString &what) { m_what = what; }
    // A column of the first row watched in table, as it stood before the save: what the line's
    // words name without reading the row again. Invalid when no row was there (or the meet keeps
    // no journal, when the words are not written either).
    QVariant before(const QString &table, const char *column) const;

    // Reads each place as the save left it and writes the line; answers its key (0 when the meet
    // has no journal). Throws DbError. To be called inside the save's transaction, after its writes.
    qint64 write();

private:
    QSqlDatabase m_db;
    QString m_action;
    Kind m_kind;
    QString m_what;
    QVector<Scope> m_scopes;
    struct Adding
    {
        QString table;
        QString key;
        qint64 above;
    };
    QVector<Adding> m_adding;
};

// A line without rows: a restore or a meet copied in, which are put back by a snapshot instead.
// Throws DbError.
qint64 writeLine(const QSqlDatabase &db, const QString &action, Kind kind, const QString &what);

// The rows of a place as they stand, every column in the meet's order. Throws DbError.
QVector<QVariantList> rowsOf(const QSqlDatabase &db, const QString &action, const QString &table,
                             const QString &where, const QVariantList &values);
// The columns of a table as statements name them.
QStringList columnsOf(const QString &table);

// What the History window filters by: a kind's name, a station, saved from/until (UTC, either may
// be invalid). Newest first. Throws DbError.
struct Filter
{
    QString kind;
    QString station;
    QDateTime from;
    QDateTime until;
};
QVector<Line> lines(const QSqlDatabase &db, const Filter &filter = {});
// The stations that wrote lines, by name. Throws DbError.
QStringList stations(const QSqlDatabase &db);
// One line with its places, or nothing when there is no such line. Throws DbError.
std::optional<Line> line(const QSqlDatabase &db, qint64 id, QVector<Scope> *scopes = nullptr);

// The rows as kept in a line, and back.
QByteArray pack(const QVector<Scope> &scopes);
QVector<Scope> unpack(const QByteArray &data);

} // namespace Journal
