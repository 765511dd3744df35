#include "reports/memorytable.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace {

[[noreturn]] void refuse(const QString &text)
{
    throw std::invalid_argument(text.toStdString());
}

int compareValues(const QVariant &a, const QVariant &b, MemoryTable::Type type)
{
    if (a.isNull() || b.isNull())
        return int(b.isNull()) - int(a.isNull());
    if (type == MemoryTable::Type::Long) {
        const qint64 x = a.toLongLong(), y = b.toLongLong();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    return a.toString().compare(b.toString(), Qt::CaseInsensitive);
}

} // namespace

void MemoryTable::appendColumn(const QString &name, Type type, int length)
{
    if (name.isEmpty() || m_rows.columnIndex(name) >= 0)
        refuse(QStringLiteral("the table has a column \"%1\" already, or the name is empty").arg(name));
    if (type == Type::Text && length <= 0)
        refuse(QStringLiteral("the text column \"%1\" needs a length").arg(name));
    m_rows.columns << name;
    m_types << Column{type, length};
    for (auto &row : m_rows.rows)
        row << QVariant();
}

int MemoryTable::addRow()
{
    m_rows.rows.push_back(QVector<QVariant>(m_rows.columns.size()));
    return m_rows.size() - 1;
}

int MemoryTable::addRow(std::initializer_list<QVariant> values)
{
    if (qsizetype(values.size()) > m_rows.columns.size())
        refuse(QStringLiteral("a row of %1 values for %2 columns")
                   .arg(values.size())
                   .arg(m_rows.columns.size()));
    const int row = addRow();
    int c = 0;
    for (const QVariant &v : values) {
        m_rows.rows[row][c] = stored(m_types[c], v, m_rows.columns[c]);
        ++c;
    }
    return row;
}

int MemoryTable::requireColumn(QStringView name) const
{
    const int c = m_rows.columnIndex(name);
    if (c < 0)
        refuse(QStringLiteral("the table has no column \"%1\"").arg(name));
    return c;
}

QVariant MemoryTable::stored(const Column &column, const QVariant &value, QStringView name) const
{
    if (value.isNull())
        return {};
    if (column.type == Type::Text)
        return value.toString().left(column.length);
    bool ok = false;
    const qint64 number = value.toLongLong(&ok);
    if (!ok || number < std::numeric_limits<qint32>::min() || number > std::numeric_limits<qint32>::max())
        refuse(QStringLiteral("\"%1\" is no 32-bit whole number for the column \"%2\"")
                   .arg(value.toString(), name));
    return QVariant(qint32(number));
}

void MemoryTable::setValue(int row, QStringView column, const QVariant &value)
{
    const int c = requireColumn(column);
    if (row < 0 || row >= size())
        throw std::out_of_range("no row " + std::to_string(row) + " in the table");
    m_rows.rows[row][c] = stored(m_types[c], value, m_rows.columns[c]);
}

void MemoryTable::sort(const QString &sortText)
{
    struct Key
    {
        int column;
        bool descending;
    };
    QVector<Key> keys;
    for (const QString &part : sortText.split(u',', Qt::SkipEmptyParts)) {
        const QStringList words = part.simplified().split(u' ', Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        const QString direction = words.size() > 1 ? words[1].toUpper() : QStringLiteral("ASC");
        if (words.size() > 2 || (direction != u"ASC" && direction != u"DESC"))
            refuse(QStringLiteral("cannot sort by \"%1\"").arg(part.trimmed()));
        keys << Key{requireColumn(words[0]), direction == u"DESC"};
    }
    std::stable_sort(m_rows.rows.begin(), m_rows.rows.end(), [&](const auto &a, const auto &b) {
        for (const Key &k : keys) {
            const int order = compareValues(a[k.column], b[k.column], m_types[k.column].type);
            if (order != 0)
                return k.descending ? order > 0 : order < 0;
        }
        return false;
    });
}
