#pragma once

#include "db/resultrows.h"
#include "reports/reportlayout.h"

#include <QString>

// The printed team standings of a division, in landscape: a column per class headed by the
// class's report label image, a line per team with its places and points in each class, and
// its total. Bound to the standings table by column name.
namespace RptTeamStandings {

Report::Layout layout(const QString &division);

// Heads each class column (Class1 ... Class17) with its report image from the label folder;
// a class whose image is missing shows its number instead. classes: ClassNumber, ImagePath.
void setClassPictures(Report::Layout &rpt, const ResultRows &classes, const QString &labelFolder);

} // namespace RptTeamStandings
