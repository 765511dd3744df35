#include "reports/shapequery.h"

#include "db/sql.h"
#include "db/writetransaction.h"

#include <stdexcept>

ShapeQuery::ShapeQuery(QString name, QString sql, QVariantList values)
    : m_name(std::move(name)), m_sql(std::move(sql)), m_values(std::move(values))
{
}

ShapeQuery &ShapeQuery::append(ShapeQuery child, QString parentColumn, QString childColumn)
{
    m_child = {std::move(child)};
    m_parentColumn = std::move(parentColumn);
    m_childColumn = std::move(childColumn);
    return *this;
}

ShapeQuery &ShapeQuery::computeBy(QStringList columns)
{
    m_groupBy = std::move(columns);
    return *this;
}

ShapedRows ShapeQuery::run(const QSqlDatabase &db) const
{
    const QString action = QStringLiteral("Reading the report data %1").arg(m_name);
    // A query with children reads the meet more than once: all of it in one state.
    std::optional<ReadTransaction> oneState;
    if (!m_child.empty())
        oneState.emplace(db, action);
    ShapedRows rows = ShapedRows::flat(Sql::select(db, action, m_sql, m_values), m_name);
    try {
        if (!m_child.empty())
            rows = Shaping::relate(rows, m_child.front().run(db), m_parentColumn, m_childColumn);
        if (!m_groupBy.isEmpty())
            rows = Shaping::groupBy(rows, m_groupBy, m_name + QStringLiteral("_Grouping"));
    } catch (const std::invalid_argument &e) {
        throw DbError(action, m_sql, QString::fromStdString(e.what()));
    }
    return rows;
}
