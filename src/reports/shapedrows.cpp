#include "reports/shapedrows.h"

#include <QHash>

#include <stdexcept>

ShapedRows ShapedRows::flat(ResultRows rows, QString name)
{
    ShapedRows level;
    level.name = std::move(name);
    level.rows = std::move(rows);
    return level;
}

namespace Shaping {
namespace {

QStringView lastPart(QStringView name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.mid(dot + 1);
}

int requireColumn(const ShapedRows &level, const QString &column, const char *role)
{
    const int index = columnIndex(level.rows.columns, column);
    if (index < 0)
        throw std::invalid_argument(
            QStringLiteral("the %1 rows%2 have no single column \"%3\"")
                .arg(QLatin1StringView(role),
                     level.name.isEmpty() ? QString() : QStringLiteral(" of ") + level.name, column)
                .toStdString());
    return index;
}

bool isNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

} // namespace

int columnIndex(const QStringList &columns, QStringView name)
{
    for (int i = 0; i < columns.size(); ++i)
        if (QStringView(columns[i]).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    const QStringView wanted = lastPart(name);
    const bool wantedDotted = wanted.size() != name.size();
    int found = -1;
    for (int i = 0; i < columns.size(); ++i) {
        const QStringView have = lastPart(columns[i]);
        const bool haveDotted = have.size() != columns[i].size();
        // Only one side may be qualified: "A.X" never stands for "B.X".
        if (wantedDotted == haveDotted || have.compare(wanted, Qt::CaseInsensitive) != 0)
            continue;
        if (found >= 0)
            return -1;
        found = i;
    }
    return found;
}

QString matchKey(const QVariant &value)
{
    if (value.isNull())
        return QStringLiteral("\x01");
    if (isNumber(value))
        return QString::number(value.toDouble(), 'g', 17);
    return value.toString().toCaseFolded();
}

ShapedRows subset(const ShapedRows &level, const QVector<int> &positions)
{
    ShapedRows out;
    out.name = level.name;
    out.rows.columns = level.rows.columns;
    out.rows.rows.reserve(positions.size());
    if (level.hasChildLevel())
        out.children.reserve(positions.size());
    for (int p : positions) {
        out.rows.rows.push_back(level.rows.rows[p]);
        if (level.hasChildLevel())
            out.children.push_back(level.children[p]);
    }
    return out;
}

ShapedRows groupBy(const ShapedRows &rows, const QStringList &columns, const QString &parentName)
{
    QVector<int> indexes;
    for (const QString &column : columns)
        indexes << requireColumn(rows, column, "grouped");

    ShapedRows parents;
    parents.name = parentName;
    parents.rows.columns = columns;
    QHash<QString, int> groupOf;
    QVector<QVector<int>> members;
    for (int r = 0; r < rows.size(); ++r) {
        const QVector<QVariant> &row = rows.rows.rows[r];
        QString key;
        for (int c : indexes)
            key += matchKey(row[c]) + u'\x1f';
        auto it = groupOf.constFind(key);
        if (it == groupOf.constEnd()) {
            it = groupOf.insert(key, int(members.size()));
            QVector<QVariant> parentRow;
            for (int c : indexes)
                parentRow << row[c];
            parents.rows.rows.push_back(std::move(parentRow));
            members.push_back({});
        }
        members[*it] << r;
    }
    parents.children.reserve(members.size());
    for (const QVector<int> &m : members)
        parents.children.push_back(subset(rows, m));
    return parents;
}

ShapedRows relate(const ShapedRows &parents, const ShapedRows &children, const QString &parentColumn,
                  const QString &childColumn)
{
    const int parentIndex = requireColumn(parents, parentColumn, "parent");
    const int childIndex = requireColumn(children, childColumn, "child");

    QHash<QString, QVector<int>> byKey;
    for (int r = 0; r < children.size(); ++r)
        byKey[matchKey(children.rows.rows[r][childIndex])] << r;

    ShapedRows out = parents;
    out.children.clear();
    out.children.reserve(parents.size());
    for (const QVector<QVariant> &row : parents.rows.rows) {
        const QVariant &value = row[parentIndex];
        // NULL relates to nothing, as a join on NULL matches nothing.
        out.children.push_back(
            subset(children, value.isNull() ? QVector<int>{} : byKey.value(matchKey(value))));
    }
    return out;
}

} // namespace Shaping
