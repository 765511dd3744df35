#pragma once

#include "reports/memorytable.h"

#include <QSqlDatabase>
#include <QString>

// The team standings of one division, computed afresh from the stored placings: one row per team
// of the division with, for each class, the places its riders received ("1,4,4") and the points
// they earned, and the team's total; best total first, equal totals by team name.
//
// Columns, in this order: TeamName, Division, TotalPoints, Placings1 ... Placings17,
// Points1 ... Points17. A class without a placing holds " " in both of its columns.
struct StandingsTable
{
    static constexpr int Classes = 17;
    static inline const QString NoTeams = QStringLiteral("There are currently no teams entered.");
    static inline const QString NoPlacings = QStringLiteral("There are currently no placings recorded.");
    static inline const QString SortOrder = QStringLiteral("division, TotalPoints DESC, TeamName");

    MemoryTable rows;
    // Why there is no row: NoTeams or NoPlacings; empty when there are rows.
    QString nothing;

    // Placings count for the team of their rider, grouped by team code and class: a team that
    // shares its name with another, or a rider whose team now rides in another division, takes
    // nothing from the other teams. Throws DbError.
    static StandingsTable Build_Standings(const QSqlDatabase &db, const QString &division);
};
