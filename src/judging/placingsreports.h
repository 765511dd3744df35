#pragma once

#include "reports/reportlayout.h"
#include "reports/shapequery.h"

// The class placings reports: each judge's card of one class and division, with rider number,
// name and team; the relay's with the partner as well.
namespace PlacingsReports {

inline const QString PlacingsCommand = QStringLiteral("PlacingsReport");
inline const QString RelayPlacingsCommand = QStringLiteral("PlacingsReport17");
inline const QString NoPlacings = QStringLiteral("There are currently no placings for the class specified.");

// The class's placings in the division grouped per judge (by last name, first name, key), each
// judge's in place order. The relay's lists only placings whose rider has a partner.
ShapeQuery placingsQuery(int classNumber, const QString &division);

Report::Layout RptClassPlacings();
Report::Layout RptClassPlacings17();

// The layout for the class with its titles set.
Report::Layout placingsLayout(int classNumber, const QString &className, const QString &division);

} // namespace PlacingsReports
