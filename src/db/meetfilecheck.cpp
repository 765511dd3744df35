#include "db/meetfilecheck.h"

#include "db/engine.h"
#include "db/meetschema.h"
#include "db/sql.h"

namespace MeetFileCheck {
namespace {

const QString Action = QStringLiteral("Checking the meet file");

// Runs one check, adding what it finds; a check the engine cannot run on the file is a fault
// found, in the engine's words.
template <typename Check>
void run(QStringList &found, Check check)
{
    try {
        check();
    } catch (const DbError &e) {
        if (e.isLocked())
            throw;
        found << QStringLiteral("the engine cannot read it: %1").arg(e.engineMessage());
    }
}

// "ok" alone when every page and record is sound; otherwise one row per fault.
void pages(const QSqlDatabase &db, const QString &pragma, QStringList &found)
{
    run(found, [&] {
        for (const auto &row : Sql::select(db, Action, pragma).rows)
            if (row.value(0).toString() != QLatin1StringView("ok"))
                found << row.value(0).toString();
    });
}

void tables(const QSqlDatabase &db, QStringList &found)
{
    run(found, [&] {
        if (const auto mismatch = MeetSchema::mismatch(db))
            found << QStringLiteral("it is not a complete meet: %1").arg(*mismatch);
    });
}

} // namespace

QStringList problems(const QSqlDatabase &db)
{
    QStringList found;
    if (Engine::onServer(db)) {
        // The server keeps its own pages and indexes sound; what is left to see is the meet's tables.
        tables(db, found);
        return found;
    }
    pages(db, QStringLiteral("PRAGMA integrity_check"), found);
    // One row per record whose reference names no parent row.
    run(found, [&] {
        for (const auto &row : Sql::select(db, Action, QStringLiteral("PRAGMA foreign_key_check")).rows)
            found << QStringLiteral("a row of %1 refers to a missing row of %2")
                         .arg(row.value(0).toString(), row.value(2).toString());
    });
    tables(db, found);
    found.removeDuplicates(); // a file the engine cannot read fails each check alike
    return found;
}

QStringList quickProblems(const QSqlDatabase &db)
{
    QStringList found;
    pages(db, QStringLiteral("PRAGMA quick_check"), found);
    if (found.isEmpty())
        tables(db, found);
    return found;
}

QString verdict(const QStringList &problems, bool onServer)
{
    if (problems.isEmpty())
        return onServer ? SoundOnServer : Sound;
    return QStringLiteral("%1 is damaged:\n\n- %2\n\nRestore a snapshot (Utilities, Snapshots) "
                          "taken before the damage.")
        .arg(onServer ? QStringLiteral("The meet on the server") : QStringLiteral("The meet file"),
             problems.join(QStringLiteral("\n- ")));
}

} // namespace MeetFileCheck
