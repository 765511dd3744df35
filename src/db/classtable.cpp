#include "db/classtable.h"

#include "db/sql.h"

#include <cmath>

namespace ClassTable {

QVector<StoredClass> read(const QSqlDatabase &db)
{
    const ResultRows rows = Sql::select(
        db, QStringLiteral("Reading the classes"),
        QStringLiteral(
            "SELECT ClassNumber, ClassName, MaxEntries, ImagePath FROM TblClass ORDER BY ClassNumber"));
    QVector<StoredClass> classes;
    classes.reserve(rows.size());
    for (const auto &row : rows.rows)
        classes.push_back(
            {row[0].toInt(), row[1].toString(), int(std::lround(row[2].toDouble())), row[3].toString()});
    return classes;
}

QString line(const StoredClass &cls)
{
    return QString::number(cls.number) + QStringLiteral(" - ") + cls.name;
}

} // namespace ClassTable
