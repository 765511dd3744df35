#pragma once

#include "reports/shapedrows.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <vector>

// What a named report command selects: one SQL query with its bound values, and how its rows
// are shaped. Report screens state a command plainly:
//
//   // teams, each with its coaches
//   ShapeQuery("TeamCoachsReport", "SELECT * FROM TblTeam ORDER BY Division, TeamName")
//       .append(ShapeQuery("CoachList", "SELECT FirstName || ' ' || LastName AS Coach, * FROM TblCoach "
//                                       "ORDER BY Position DESC, LastName"),
//               "TeamCode", "TeamCode");
//
//   // riders grouped by team
//   ShapeQuery("RiderListbyTeam", "SELECT ... ORDER BY TblTeam.Division, TblTeam.TeamName, ...")
//       .computeBy({"TeamName", "Division"});
//
// Two columns of a join that share a name are told apart by an alias with a dotted name:
// SELECT TblPlacing.ClassNumber AS "TblPlacing.ClassNumber", TblClass.ClassName ...
class ShapeQuery
{
public:
    ShapeQuery() = default;
    ShapeQuery(QString name, QString sql, QVariantList values = {});

    // Each row gets, as its child level, the rows of child whose childColumn equals its
    // parentColumn. The child may have children of its own.
    ShapeQuery &append(ShapeQuery child, QString parentColumn, QString childColumn);

    // The rows are grouped: one parent row per distinct combination of the columns, named
    // name + "_Grouping", holding its rows in query order.
    ShapeQuery &computeBy(QStringList columns);

    const QString &name() const { return m_name; }

    // Runs the queries and shapes their rows. Throws DbError.
    ShapedRows run(const QSqlDatabase &db) const;

private:
    QString m_name;
    QString m_sql;
    QVariantList m_values;
    std::vector<ShapeQuery> m_child; // none or one
    QString m_parentColumn;
    QString m_childColumn;
    QStringList m_groupBy;
};
