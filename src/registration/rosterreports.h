#pragma once

#include "reports/memorytable.h"
#include "reports/reportlayout.h"
#include "reports/shapequery.h"

#include <QSqlDatabase>

// The printed lists of the roster: their layouts and the data each one reads.
namespace RosterReports {

// Teams by division and name, with a line for each team's security number.
inline const QString TeamListCommand = QStringLiteral("TeamListReport");
ShapeQuery teamListQuery();
Report::Layout RptTeamList();

// Every team by division and name with its coaches, head coaches first.
inline const QString CoachListCommand = QStringLiteral("TeamCoachsReport");
inline const QString NoCoaches = QStringLiteral("There are currently no coaches entered.");
ShapeQuery coachListQuery();
Report::Layout RptCoachList();

// Riders grouped by team, by rider number within the team.
inline const QString RiderListByTeamCommand = QStringLiteral("RiderListbyTeam");
inline const QString NoRidersByTeam = QStringLiteral("There are currently no riders entered.");
ShapeQuery riderListByTeamQuery();
Report::Layout RptRiderListbyTeam();

// Riders by number in two pairs of columns: down the left first, then down the right.
inline const QString NoRidersByNumber = QStringLiteral("There are no riders currently entered.");
// The two-column rows, or an empty table when no rider has a team. Throws DbError.
MemoryTable riderListByNumber(const QSqlDatabase &db);
Report::Layout RptRiderListbyNumber();

} // namespace RosterReports
