#pragma once

#include "reports/reportlayout.h"

#include <QString>

// The printed team standings of a division, in landscape: a column per class headed by the
// class's report label image (ClassPictures, in the page header), a line per team with its places and points
// in each class, and its total. Bound to the standings table by column name.
namespace RptTeamStandings {

Report::Layout layout(const QString &division);

} // namespace RptTeamStandings
