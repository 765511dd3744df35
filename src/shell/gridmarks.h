#pragma once

#include <QVector>

// The ticks of a check-box grid of rows by classes, with a limit per class: how many rows may
// be ticked in one class column. Once a column holds its limit, its unticked cells are locked
// until a tick is taken away; a ticked cell can always be unticked. Rows and classes count from
// 1; cell k of row r and class c is (r - 1) * classes + c.
class GridMarks
{
public:
    static constexpr int Classes = 17;

    explicit GridMarks(int rows = 0, int classes = Classes);

    int rows() const { return m_rows; }
    int classes() const { return m_classes; }

    // The limit of a class; a class without one has 0 (and locks at the first tick).
    void setLimit(int cls, int limit) { m_limits[cls] = limit; }
    int limit(int cls) const { return m_limits[cls]; }

    // Ticks or unticks a cell as a click does; a cell already in that state stays counted once.
    // Answers whether it changed. A locked cell can be ticked from code (stored data above the
    // limit); the column then stays locked.
    bool set(int row, int cls, bool ticked);
    bool ticked(int row, int cls) const { return m_ticks[index(row, cls) - 1]; }
    int count(int cls) const { return m_counts[cls]; }
    int total() const;
    // Not ticked, in a column that holds its limit.
    bool locked(int row, int cls) const { return !ticked(row, cls) && count(cls) >= limit(cls); }

    int index(int row, int cls) const { return (row - 1) * m_classes + cls; }

private:
    int m_rows;
    int m_classes;
    QVector<bool> m_ticks;
    QVector<int> m_counts; // index = class, 0 unused
    QVector<int> m_limits; // index = class, 0 unused
};
