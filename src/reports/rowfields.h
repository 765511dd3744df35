#pragma once

#include "reports/reportlayout.h"

#include <QString>

#include <vector>

namespace Report {

// A field of the rows behind a report's pages: one of a group header's (depth = the group's
// level, outermost 0) or of the detail (depth = the number of groups).
struct RowField
{
    int depth = 0;
    const Item *item = nullptr;
    QString heading;
};

// The visible fields of the visible group headers, outermost first, then those of the detail,
// each in its section's order, named:
// - by the item's own heading, where it has one;
// - else by the column heading printed over it: a label of the page header or of an enclosing
//   group's header that stands in a row of such labels (with no field on its line) and whose
//   left edge lies within HeadingReach of the field's. A heading names one field at most: the
//   nearest, and where two stand equally near, the one printed closest above. A trailing colon
//   is dropped ("Rider #:" names "Rider #");
// - else by its column's name (the last part of a dotted one).
// A name that repeats is numbered: "Firstname", "Firstname 2".
std::vector<RowField> rowFields(const Layout &layout);

// Two headings name the same column when they differ only in blanks or letter case ("Rider #",
// "rider#"): they have the same key.
QString headingKey(const QString &heading);

inline constexpr int HeadingReach = 240; // twips

} // namespace Report
