#pragma once

#include "db/resultrows.h"
#include "reports/shapedrows.h"

#include <QString>
#include <QVariant>
#include <QVector>

#include <initializer_list>

// An in-memory table a screen builds row by row and hands to a report, which binds its fields
// to the columns by name. Columns are typed: text of at most a given length, or a 32-bit whole
// number. Values are held as given until sort() orders the rows.
class MemoryTable
{
public:
    enum class Type { Text, Long };

    // A new column, added to every row already there as NULL.
    void appendColumn(const QString &name, Type type, int length = 0);

    // An empty row (every field NULL) at the end; its position.
    int addRow();
    // A row of values in column order; missing trailing values stay NULL. Its position.
    int addRow(std::initializer_list<QVariant> values);

    // Texts longer than their column are cut to its length; whole numbers are checked against
    // 32 bits. Throws std::invalid_argument for an unknown column or a value that is no whole
    // number of 32 bits, std::out_of_range for a row that is not there.
    void setValue(int row, QStringView column, const QVariant &value);
    QVariant value(int row, QStringView column) const { return m_rows.value(row, column); }

    int size() const { return m_rows.size(); }
    bool isEmpty() const { return m_rows.isEmpty(); }

    // Orders the rows by a sort text: column names separated by commas, each optionally followed
    // by ASC or DESC ("division, TotalPoints DESC, TeamName"). Texts compare without regard to
    // letter case, NULL before any value; rows equal on every key keep their order. Throws
    // std::invalid_argument for a text naming an unknown column or an unknown direction.
    void sort(const QString &sortText);

    const ResultRows &rows() const { return m_rows; }
    ShapedRows shaped(const QString &name = {}) const { return ShapedRows::flat(m_rows, name); }

private:
    struct Column
    {
        Type type;
        int length;
    };
    int requireColumn(QStringView name) const;
    QVariant stored(const Column &column, const QVariant &value, QStringView name) const;

    QVector<Column> m_types;
    ResultRows m_rows;
};
