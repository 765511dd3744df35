#pragma once

#include "reports/reportlayout.h"

#include <QString>

// The class sheets: the ring steward's list of one split of a class, in its order of go.
namespace ClassSheetReports {

inline const QString ShowTitle = QStringLiteral("KORV State Championship");

// One split's sheet, bound by column name to a split table of RunningOrder: the sheet of the
// timed classes (14 to 16) has a column to write each rider's time in.
Report::Layout RptClassEntries();
// The relay's sheet, each entered rider with the partner.
Report::Layout RptClassEntries17();

// "Rider List for Division B, Class: 14 - Flag Race", followed by ", (Split: 2)" when the
// class is ridden in two or three splits.
QString splitTitle(const QString &division, const QString &classLine, int split, int splits);

// The sheet of split s (from 1) of splits: its titles set, the time column shown for the timed
// classes. Its preview's caption ends ", (Split: 2 of 3)" where the page title ends
// ", (Split: 2)".
Report::Layout sheet(int classNumber, const QString &division, const QString &classLine, int split,
                     int splits);

} // namespace ClassSheetReports
