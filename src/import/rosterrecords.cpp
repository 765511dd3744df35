#include "import/rosterrecords.h"

#include "db/sql.h"

using namespace RosterFields;

namespace RosterRecords {

QVector<Record> read(const QSqlDatabase &db, Kind kind, const QString &action)
{
    const QString key = QStringLiteral("r.") + keyColumn(kind);
    const bool team = namesTeam(kind);
    QStringList columns{key, team ? QStringLiteral("r.TeamCode") : key};
    for (const Field &f : fields(kind))
        columns << (f.own ? QStringLiteral("r.") : QStringLiteral("t.")) + f.column;
    QString order;
    switch (kind) {
    case Kind::Teams:
        order = QStringLiteral("r.Division, r.TeamName");
        break;
    case Kind::Coaches:
        order =
            QStringLiteral("t.Division, t.TeamName, r.TeamCode, r.Position DESC, r.LastName, r.FirstName");
        break;
    case Kind::Riders:
        order = QStringLiteral("t.Division, t.TeamName, r.TeamCode, r.LastName, r.FirstName");
        break;
    case Kind::Judges:
        order = QStringLiteral("r.LastName, r.FirstName");
        break;
    }
    // Identifiers only: every name joined here is one of the program's own.
    const ResultRows rows = Sql::select(
        db, action,
        QStringLiteral("SELECT %1 FROM %2 r %3 ORDER BY %4, %5")
            .arg(columns.join(QStringLiteral(", ")), tableName(kind),
                 team ? QStringLiteral("LEFT JOIN TblTeam t ON t.TeamCode = r.TeamCode") : QString(), order,
                 key));
    QVector<Record> out;
    out.reserve(rows.size());
    for (const auto &row : rows.rows) {
        Record r{
            std::int32_t(row[0].toLongLong()), row[1].isNull() ? -1 : std::int32_t(row[1].toLongLong()), {}};
        r.values.reserve(row.size() - 2);
        for (int i = 2; i < row.size(); ++i)
            r.values << row[i].toString();
        out.push_back(std::move(r));
    }
    return out;
}

} // namespace RosterRecords
