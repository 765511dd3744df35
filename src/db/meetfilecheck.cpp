#include "db/meetfilecheck.h"

#include "db/engine.h"
#include "db/meetschema.h"
#include "db/sql.h"

namespace MeetFileCheck {

QStringList problems(const QSqlDatabase &db)
{
    const QString action = QStringLiteral("Checking the meet file");
    QStringList found;
    if (Engine::onServer(db)) {
        // The server keeps its own pages and indexes sound; what is left to see is the meet's tables.
        if (const auto mismatch = MeetSchema::mismatch(db))
            found << QStringLiteral("it is not a complete meet: %1").arg(*mismatch);
        return found;
    }
    // "ok" alone when every page, index and record is sound; otherwise one row per fault.
    for (const auto &row : Sql::select(db, action, QStringLiteral("PRAGMA integrity_check")).rows)
        if (row.value(0).toString() != QLatin1StringView("ok"))
            found << row.value(0).toString();
    // One row per record whose reference names no parent row.
    for (const auto &row : Sql::select(db, action, QStringLiteral("PRAGMA foreign_key_check")).rows)
        found << QStringLiteral("a row of %1 refers to a missing row of %2")
                     .arg(row.value(0).toString(), row.value(2).toString());
    if (const auto mismatch = MeetSchema::mismatch(db))
        found << QStringLiteral("it is not a complete meet: %1").arg(*mismatch);
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
