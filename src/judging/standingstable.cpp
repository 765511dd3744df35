#include "judging/standingstable.h"

#include "db/sql.h"
#include "db/writetransaction.h"

#include <QStringList>

#include <array>
#include <cstdint>
#include <map>

namespace {

const QString Blank = QStringLiteral(" ");

// What one team won in one class: its places in ascending order and their points.
struct ClassResult
{
    QStringList places;
    std::int32_t points = 0;
};
using TeamResults = std::array<ClassResult, StandingsTable::Classes + 1>; // index = class number

MemoryTable emptyStandings()
{
    MemoryTable table;
    table.appendColumn(QStringLiteral("TeamName"), MemoryTable::Type::Text, 50);
    table.appendColumn(QStringLiteral("Division"), MemoryTable::Type::Text, 1);
    table.appendColumn(QStringLiteral("TotalPoints"), MemoryTable::Type::Long);
    for (int n = 1; n <= StandingsTable::Classes; ++n)
        table.appendColumn(QStringLiteral("Placings%1").arg(n), MemoryTable::Type::Text, 50);
    for (int n = 1; n <= StandingsTable::Classes; ++n)
        table.appendColumn(QStringLiteral("Points%1").arg(n), MemoryTable::Type::Text, 5);
    return table;
}

} // namespace

StandingsTable StandingsTable::Build_Standings(const QSqlDatabase &db, const QString &division)
{
    const ReadTransaction oneState(db, QStringLiteral("Reading the standings"));
    const ResultRows teams =
        Sql::select(db, QStringLiteral("Reading the teams of the division"),
                    QStringLiteral("SELECT TeamCode, TeamName, Division FROM TblTeam WHERE Division = ? "
                                   "ORDER BY TeamName NULLS FIRST, TeamCode"),
                    {division});
    // The division's placings of riders who belong to a team, each with the rider's team.
    const ResultRows placings = Sql::select(
        db, QStringLiteral("Reading the placings of the division"),
        QStringLiteral("SELECT TblPerson.TeamCode AS teamident, TblPlacing.ClassNumber, TblPlacing.Place, "
                       "TblPlacing.Points FROM TblPlacing "
                       "INNER JOIN TblPerson ON TblPlacing.RiderIndex = TblPerson.RiderIndex "
                       "INNER JOIN TblTeam ON TblPerson.TeamCode = TblTeam.TeamCode "
                       "WHERE TblPlacing.Division = ? ORDER BY TblPlacing.ClassNumber, TblPlacing.Place"),
        {division});

    StandingsTable standings{emptyStandings(), {}};
    if (teams.isEmpty()) {
        standings.nothing = NoTeams;
        return standings;
    }
    if (placings.isEmpty()) {
        standings.nothing = NoPlacings;
        return standings;
    }

    std::map<std::int32_t, TeamResults> byTeam;
    const int teamColumn = placings.columnIndex(u"teamident");
    const int classColumn = placings.columnIndex(u"ClassNumber");
    const int placeColumn = placings.columnIndex(u"Place");
    const int pointsColumn = placings.columnIndex(u"Points");
    for (const auto &placing : placings.rows) {
        const int n = placing[classColumn].toInt();
        if (n < 1 || n > Classes)
            continue;
        ClassResult &result = byTeam[std::int32_t(placing[teamColumn].toLongLong())][std::size_t(n)];
        result.places << QString::number(placing[placeColumn].toInt());
        result.points += std::int32_t(qRound(placing[pointsColumn].toDouble()));
    }

    const TeamResults none{};
    for (int t = 0; t < teams.size(); ++t) {
        const auto found = byTeam.find(std::int32_t(teams.integer(t, u"TeamCode")));
        const TeamResults &results = found == byTeam.end() ? none : found->second;
        const int row = standings.rows.addRow();
        std::int32_t total = 0;
        for (int n = 1; n <= Classes; ++n) {
            const ClassResult &result = results[std::size_t(n)];
            const bool placed = !result.places.isEmpty();
            total += result.points;
            standings.rows.setValue(row, QStringLiteral("Placings%1").arg(n),
                                    placed ? result.places.join(u',') : Blank);
            standings.rows.setValue(row, QStringLiteral("Points%1").arg(n),
                                    placed ? QString::number(result.points) : Blank);
        }
        standings.rows.setValue(row, u"TeamName", teams.value(t, u"TeamName"));
        standings.rows.setValue(row, u"Division", teams.value(t, u"Division"));
        standings.rows.setValue(row, u"TotalPoints", total);
    }
    standings.rows.sort(SortOrder);
    return standings;
}
