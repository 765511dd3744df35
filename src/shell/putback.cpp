#include "shell/putback.h"

#include "db/journal.h"
#include "db/meetschema.h"
#include "db/readmark.h"
#include "db/sql.h"
#include "db/writetransaction.h"

#include <QSet>

namespace PutBack {
namespace {

using Journal::Scope;

const QString Action = QStringLiteral("Putting back a save");
const QString Refused = QStringLiteral("This save cannot be put back: %1");

// Whether a later line's places meet ours: the same place, or a row that both hold.
bool touches(const QVector<Scope> &later, const QVector<Scope> &ours)
{
    for (const Scope &l : later)
        for (const Scope &o : ours) {
            if (l.table != o.table)
                continue;
            if (l.where == o.where && l.values == o.values)
                return true;
            const QStringList mine = ReadMark::canonical(o.before) + ReadMark::canonical(o.after);
            for (const QStringList &theirs : {ReadMark::canonical(l.before), ReadMark::canonical(l.after)})
                for (const QString &row : theirs)
                    if (mine.contains(row))
                        return true;
        }
    return false;
}

// The first line after `line` that changed what it wrote, or 0. A restore or a meet copied in
// changed everything.
qint64 overtakenBy(const QSqlDatabase &db, qint64 line, const QVector<Scope> &ours)
{
    QSet<QString> tables;
    for (const Scope &s : ours)
        tables.insert(s.table.toLower());
    const ResultRows later = Sql::select(
        db, Action,
        QStringLiteral("SELECT JournalID, Kind, TableNames, RowData FROM TblJournal WHERE JournalID > ? "
                       "ORDER BY JournalID"),
        {line});
    for (const auto &row : later.rows) {
        const QString kind = row[1].toString();
        if (kind == Journal::kindName(Journal::Kind::Restore) || kind == Journal::kindName(Journal::Kind::CopyIn))
            return row[0].toLongLong();
        bool shared = false;
        for (const QString &t : row[2].toString().split(u' ', Qt::SkipEmptyParts))
            shared = shared || tables.contains(t.toLower());
        if (shared && touches(Journal::unpack(row[3].toByteArray()), ours))
            return row[0].toLongLong();
    }
    return 0;
}

// The keys a scope's rows carry in the table's AutoNumber column.
QSet<qint64> keys(const QString &table, const QVector<QVariantList> &rows, int *column)
{
    QSet<qint64> out;
    const MeetSchema::Table *t = MeetSchema::table(table);
    *column = -1;
    for (int i = 0; t && i < int(t->fields.size()); ++i)
        if (t->fields[i].type == MeetSchema::FieldType::AutoNumber)
            *column = i;
    if (*column < 0)
        return out;
    for (const QVariantList &row : rows)
        out.insert(row.value(*column).toLongLong());
    return out;
}

// What refers to a team, rider or judge that putting back took out of the meet, as the delete
// rules of the roster say it; nothing when nothing does.
QString stillReferred(const QSqlDatabase &db, const QVector<Scope> &scopes)
{
    struct Rule
    {
        const char *table;
        const char *check; // counts what refers to the key
        const char *refusal;
    };
    static const Rule rules[] = {
        {"TblTeam", "SELECT count(*) FROM TblPerson WHERE TeamCode = ?",
         "the team it added has riders now."},
        {"TblPerson",
         "SELECT (SELECT count(*) FROM TblEntry WHERE RiderIndex = ?1) + "
         "(SELECT count(*) FROM TblPlacing WHERE RiderIndex = ?1)",
         "the rider it added is entered in a class or placed now."},
        {"TblJudge",
         "SELECT (SELECT count(*) FROM TblClassJudges WHERE JudgeID = ?1) + "
         "(SELECT count(*) FROM TblPlacing WHERE JudgeID = ?1)",
         "the judge it added is assigned to a class or places one now."},
    };
    for (const Scope &s : scopes)
        for (const Rule &rule : rules) {
            if (s.table.compare(QLatin1StringView(rule.table), Qt::CaseInsensitive) != 0)
                continue;
            int column = -1;
            const QSet<qint64> before = keys(s.table, s.before, &column);
            for (qint64 key : keys(s.table, s.after, &column)) {
                if (before.contains(key))
                    continue;
                QString check = QString::fromLatin1(rule.check);
                QVariantList values{key};
                // Numbered parameters are bound by position on either engine: one value a mark.
                if (check.contains(QStringLiteral("?1"))) {
                    check.replace(QStringLiteral("?1"), QStringLiteral("?"));
                    values << key;
                }
                if (Sql::scalar(db, Action, check, values).toLongLong() > 0)
                    return QString::fromLatin1(rule.refusal);
            }
        }
    return {};
}

// Thrown out of the transaction so that it rolls back.
struct Refusal
{
    Outcome outcome;
};

} // namespace

Outcome run(const QSqlDatabase &db, qint64 id)
{
    QVector<Scope> scopes;
    const std::optional<Journal::Line> line = Journal::line(db, id, &scopes);
    if (!line)
        return {Refused.arg(QStringLiteral("its line is no longer in the journal."))};
    if (scopes.isEmpty())
        return {Refused.arg(QStringLiteral("it kept no rows to put back (a restore or a meet copied in is "
                                           "undone by restoring a snapshot)."))};
    QStringList tables;
    for (const Scope &s : scopes)
        if (!tables.contains(s.table))
            tables << s.table;

    try {
        return WriteTransaction::run(db, Action, tables, [&]() -> Outcome {
            for (const Scope &s : scopes) {
                const QVector<QVariantList> now = Journal::rowsOf(db, Action, s.table, s.where, s.values);
                if (ReadMark::canonical(now) == ReadMark::canonical(s.after))
                    continue;
                const qint64 later = overtakenBy(db, id, scopes);
                if (!later)
                    return {Refused.arg(QStringLiteral("the rows it wrote have been changed since."))};
                const auto by = Journal::line(db, later);
                return {Refused.arg(QStringLiteral("a later save changed the same rows (line %1, %2, from %3)."))
                            .arg(later)
                            .arg(by->what, by->station),
                        later};
            }
            Journal::Recorder journal(db, Action, Journal::Kind::PutBack,
                                      QStringLiteral("Line %1 put back: %2").arg(id).arg(line->what));
            for (const Scope &s : scopes)
                journal.watch(s.table, s.where, s.values);
            for (const Scope &s : scopes)
                Sql::exec(db, Action, QStringLiteral("DELETE FROM %1 WHERE %2").arg(s.table, s.where), s.values);
            for (const Scope &s : scopes) {
                if (s.before.isEmpty())
                    continue;
                Sql::Inserter insert(db, Action, s.table, Journal::columnsOf(s.table));
                for (const QVariantList &row : s.before)
                    insert.add(row);
                insert.finish();
            }
            if (const QString why = stillReferred(db, scopes); !why.isEmpty())
                throw Refusal{{Refused.arg(why)}};
            return {{}, 0, journal.write()};
        });
    } catch (const Refusal &r) {
        return r.outcome;
    }
}

} // namespace PutBack
