#pragma once

#include "reports/reportlayout.h"
#include "reports/shapequery.h"

#include <QString>

// The rider results of the whole meet: every team of every division (by division and name),
// under it its riders by number, under each rider every placing from either judge by class,
// with the rider's and the team's total points.
namespace RiderResults {

inline const QString Command = QStringLiteral("RptTeam");
inline const QString NoTeams = QStringLiteral("There are currently no teams or riders entered.");

ShapeQuery query();

// Each team starts a page of its own, so that every team can be handed its sheet.
Report::Layout RptIndividualResults();

} // namespace RiderResults
