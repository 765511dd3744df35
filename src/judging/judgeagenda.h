#pragma once

#include "reports/reportlayout.h"
#include "reports/shapequery.h"

// The judging agenda of one division: its classes in number order, each with its judges by
// last name.
namespace JudgeAgenda {

inline const QString Command = QStringLiteral("JudgeAgenda");
inline const QString NoAssignments = QStringLiteral("There are currently no judging assignments entered.");

// The division's assignments grouped by class number and name ("JudgeAgenda_Grouping").
ShapeQuery query(const QString &division);
Report::Layout RptJudgeAgenda(const QString &division);

} // namespace JudgeAgenda
