#pragma once

#include "db/resultrows.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

// A shaped result: the rows of one level and, for each of them, the rows of the level below.
// A report's group levels walk it from the top; its detail lines are the deepest level.
struct ShapedRows
{
    QString name; // the level's name ("TeamCoachsReport", "CoachList")
    ResultRows rows;
    std::vector<ShapedRows> children; // one child level per row; empty for the deepest level

    int size() const { return rows.size(); }
    bool isEmpty() const { return rows.isEmpty(); }
    bool hasChildLevel() const { return !children.empty(); }

    // One level without children, as a plain query or an in-memory table gives it.
    static ShapedRows flat(ResultRows rows, QString name = {});
};

namespace Shaping {

// A column by name without regard to letter case. When no column has exactly that name, a
// dotted name ("TblPlacing.ClassNumber") finds the one column named by its last part, and a
// plain name finds the one column whose last part it is ("TeamCode" finds "TblTeam.TeamCode").
// -1 when there is no such column or more than one.
int columnIndex(const QStringList &columns, QStringView name);

// The key two values are equal by when rows are grouped or related: texts without regard to
// letter case, numbers by value (5 equals 5.0 and "5"), NULL only to NULL.
QString matchKey(const QVariant &value);

// One parent row per distinct combination of the columns, in the order the combinations first
// occur; each parent holds all rows of its combination, in their order, as its child level
// (with their own children, if any). The parent rows carry the listed columns under the
// listed names. Throws std::invalid_argument naming a column that is not there.
ShapedRows groupBy(const ShapedRows &rows, const QStringList &columns, const QString &parentName);

// Gives each parent row the child rows (with their own children) whose childColumn equals
// its parentColumn, in the children's order. A parent without matches gets an empty level.
// Throws std::invalid_argument naming a column that is not there.
ShapedRows relate(const ShapedRows &parents, const ShapedRows &children, const QString &parentColumn,
                  const QString &childColumn);

// The rows at the given positions, in that order, with their children.
ShapedRows subset(const ShapedRows &level, const QVector<int> &positions);

} // namespace Shaping
