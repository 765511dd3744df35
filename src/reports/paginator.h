#pragma once

#include "reports/reportlayout.h"
#include "reports/reportpage.h"
#include "reports/shapedrows.h"
#include "reports/textmeasurer.h"

namespace Report {

// Lays the rows out on pages. The same layout, rows and measurer always give the same pages.
// - The report header opens the first page, above its page header; the page header and footer
//   repeat on every page, the footer at the foot of the paper's printable area.
// - A section never splits: one that does not fit below what the page holds starts a new page.
// - A group header stays on the page of the first line printed below it (with the headers of
//   inner groups in between), unless that chain is taller than a whole page. A header that
//   repeats on each page opens, below the page header, every further page its group runs onto.
// - A text that can grow wraps within its width; the section grows by what it needs, what lies
//   below the text moves down and the frames around it stretch with it.
// - Counts and sums in a group's header or footer cover the rows below that group; in the
//   report's and the pages' sections they cover all rows.
// - "%p" and "%P" in labels become the page number and the number of pages.
// - Fields read their row's level first, then the levels above it. The page header and footer
//   have no row: they carry labels, pictures, lines and page numbers.
// Throws std::invalid_argument when the rows have fewer levels than the groups need.
Document paginate(const Layout &layout, const ShapedRows &rows, const TextMeasurer &measurer);

// The same, measured with the fonts the pages are painted in (needs a QGuiApplication).
Document paginate(const Layout &layout, const ShapedRows &rows);

} // namespace Report
