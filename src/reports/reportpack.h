#pragma once

#include "reports/reportlayout.h"
#include "reports/reportpage.h"
#include "reports/shapedrows.h"
#include "reports/textmeasurer.h"

#include <QString>

#include <vector>

namespace Report {

// Several reports printed as one document: one preview, one PDF, one print job. Each part starts
// on a new page on its own paper (portrait and landscape parts mix), and the page numbers run
// through the whole pack. A part whose layout has no page footer gets one with "Page x of y" in
// its bottom margin, so that a dropped pack goes back together in order.
//
//   Report::Pack pack("Class Sheets", "Class Sheets B");
//   for (...) pack.add(ClassSheetReports::sheet(...), split.shaped());
//   Report::Document doc = pack.document();
class Pack
{
public:
    Pack(QString caption, QString title);

    // Lays the part out (throws what pagination throws).
    void add(Layout layout, const ShapedRows &rows, const TextMeasurer &measurer);
    void add(Layout layout, const ShapedRows &rows);

    // The parts one after another, numbered through. Its rows are those of every part under the
    // union of their headings (those that differ only in blanks or letter case share a column),
    // each row led by its part's title in a "Report" column.
    Document document() const;

private:
    QString m_caption;
    QString m_title;
    std::vector<Document> m_parts;
};

} // namespace Report
