#include "reports/reportpack.h"

#include "reports/paginator.h"
#include "reports/rowfields.h"

#include <algorithm>

namespace Report {

namespace {

// The page footer a part without one gets, in the bottom margin: the part's pages hold what
// they hold on their own (two lines of judges' cards, say).
void addPageFooter(Layout &layout)
{
    if (!layout.pageFooter.items.empty())
        return;
    constexpr int Height = 360;
    layout.margins.setBottom(std::max(0, layout.margins.bottom() - Height));
    layout.pageFooter.height = Height;
    layout.pageFooter
        .label(QStringLiteral("LblPackPage"), QStringLiteral("Page %p of %P"),
               {0, 60, layout.printableWidth(), 255}, Font{QStringLiteral("Arial"), 8})
        .alignment = Qt::AlignRight | Qt::AlignTop;
}

} // namespace

Pack::Pack(QString caption, QString title) : m_caption(std::move(caption)), m_title(std::move(title)) {}

void Pack::add(Layout layout, const ShapedRows &rows, const TextMeasurer &measurer)
{
    addPageFooter(layout);
    m_parts.push_back(paginate(layout, rows, measurer));
}

void Pack::add(Layout layout, const ShapedRows &rows)
{
    add(std::move(layout), rows, FontMeasurer());
}

Document Pack::document() const
{
    Document pack;
    pack.caption = m_caption;
    pack.title = m_title;
    if (!m_parts.empty()) {
        pack.paper = m_parts.front().paper;
        pack.orientation = m_parts.front().orientation;
        pack.pageSize = m_parts.front().pageSize;
    }

    // Headings that differ only in blanks or letter case ("Rider #", "Rider#") share a column.
    const auto key = headingKey;
    QStringList keys;
    pack.table.columns << QStringLiteral("Report");
    keys << key(pack.table.columns.front());
    for (const Document &part : m_parts)
        for (const QString &column : part.table.columns)
            if (!keys.contains(key(column))) {
                pack.table.columns << column;
                keys << key(column);
            }

    for (const Document &part : m_parts) {
        pack.parts.push_back({part.title, int(pack.pages.size())});
        pack.pages.insert(pack.pages.end(), part.pages.begin(), part.pages.end());
        QVector<qsizetype> at; // where each of the part's columns goes
        for (const QString &column : part.table.columns)
            at << keys.indexOf(key(column));
        for (const QStringList &row : part.table.rows) {
            QStringList out(pack.table.columns.size());
            out[0] = part.title;
            for (qsizetype c = 0; c < row.size(); ++c)
                out[at[c]] = row[c];
            pack.table.rows << out;
        }
    }
    numberPages(pack);
    return pack;
}

} // namespace Report
