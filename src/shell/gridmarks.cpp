#include "shell/gridmarks.h"

#include <numeric>

GridMarks::GridMarks(int rows, int classes)
    : m_rows(rows), m_classes(classes), m_ticks(rows * classes, false), m_counts(classes + 1, 0),
      m_limits(classes + 1, 0)
{
}

bool GridMarks::set(int row, int cls, bool on)
{
    bool &cell = m_ticks[index(row, cls) - 1];
    if (cell == on)
        return false;
    cell = on;
    m_counts[cls] += on ? 1 : -1;
    return true;
}

int GridMarks::total() const
{
    return std::accumulate(m_counts.cbegin(), m_counts.cend(), 0);
}
