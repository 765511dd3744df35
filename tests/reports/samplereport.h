#pragma once

#include "reports/reportlayout.h"
#include "reports/shapedrows.h"
#include "reports/shapequery.h"

// A small report of the kind the office prints: riders grouped by team, with each team's rider
// count and points, the report's totals, a class label image in the column headings and
// "Page n of m" in the page footers.
namespace SampleReport {

Report::Layout riderList();

// Riders of a meet grouped by team (TeamName, Division), from the meet's tables.
ShapeQuery riderQuery();

// The same shape without a database: teams "Team 01".. with riders numbered from 1.
ShapedRows riders(int teams, int ridersPerTeam);

} // namespace SampleReport
