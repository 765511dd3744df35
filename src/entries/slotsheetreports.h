#pragma once

#include "reports/reportlayout.h"
#include "reports/shapequery.h"

#include <QSqlDatabase>
#include <QStringList>

// The slot sheets: a blank entry form per team, its riders under the row of class images with a
// box to tick in each class column and in the relay partner column.
namespace SlotSheetReports {

inline const QString Command = QStringLiteral("SlotSheetsReport");
inline const QString NoTeamChosen =
    QStringLiteral("You must select the team you want to print a slot sheet for.");
QString noRiders(const QString &division);

// The names of the division's teams, by name. Throws DbError.
QStringList teamNames(const QSqlDatabase &db, const QString &division);

// Every team of the division with riders, grouped by division and team name (two teams of one
// name come out as one sheet), riders by rider number as text.
ShapeQuery allQuery(const QString &division);
// The teams of that name, of whatever division, each team a sheet of its own.
ShapeQuery singleQuery(const QString &teamName);

// Landscape, a page for each team.
Report::Layout RptSlotSheets();

// Gives the sheet the show title and the report images of the classes and the relay partner
// from the label folder; a missing image prints the class number in its place. Throws DbError.
void putImages(Report::Layout &rpt, const QSqlDatabase &db, const QString &appFolder);

} // namespace SlotSheetReports
