#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

// A query result copied into memory, so that no read stays open across user actions.
// Line N of a list filled from it is row N here. Columns are found without regard to case.
struct ResultRows
{
    QStringList columns;
    QVector<QVector<QVariant>> rows;

    int size() const { return static_cast<int>(rows.size()); }
    bool isEmpty() const { return rows.isEmpty(); }

    int columnIndex(QStringView name) const
    {
        for (int i = 0; i < columns.size(); ++i)
            if (QStringView(columns[i]).compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }
    QVariant value(int row, QStringView column) const
    {
        const int c = columnIndex(column);
        return (c < 0 || row < 0 || row >= size()) ? QVariant() : rows[row][c];
    }
    QString text(int row, QStringView column) const { return value(row, column).toString(); }
    qint64 integer(int row, QStringView column) const { return value(row, column).toLongLong(); }
};
