#include "db/meetfilecheck.h"

#include "db/meetschema.h"
#include "db/sql.h"

namespace MeetFileCheck {

QStringList problems(const QSqlDatabase &db)
{
    const QString action = QStringLiteral("Checking the meet file");
    QStringList found;
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

QString verdict(const QStringList &problems)
{
    if (problems.isEmpty())
        return Sound;
    return QStringLiteral("The meet file is damaged:\n\n- %1\n\nRestore a snapshot (Utilities, Snapshots) "
                          "taken before the damage.")
        .arg(problems.join(QStringLiteral("\n- ")));
}

} // namespace MeetFileCheck
