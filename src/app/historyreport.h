#pragma once

#include "db/journal.h"
#include "reports/reportlayout.h"
#include "reports/shapedrows.h"

#include <QVector>

// The History window's lines as a report: printed, saved as a PDF or exported as CSV from the
// preview like every other.
namespace HistoryReport {

// "14:03:22 Tue 8 Dec 2026": when a line was saved, in the station's local time.
QString shownTime(const QDateTime &savedAt);

// One row per line, in the order given: Line, Saved, Station, Kind, What.
ShapedRows rows(const QVector<Journal::Line> &lines);

// Headed by what the lines were chosen by ("all saves", "Placings from Entry Booth 2, ...").
Report::Layout RptHistory(const QString &chosenBy);

} // namespace HistoryReport
