#include "reports/paginator.h"

#include "reports/rowfields.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <utility>

namespace Report {
namespace {

// A section printed for one row: its height and its items, placed from the band's top left.
struct Band
{
    int height = 0;
    std::vector<Primitive> items;
    int groupDepth = -1;       // group headers: their level
    bool keepWithNext = false; // group headers
    bool repeats = false;      // group headers printed again on each page their group runs onto
    int enclosing = -1;        // the band of the innermost group header around it, or -1
    bool breakBefore = false;
    bool breakAfter = false;
};

// Where a section prints: the row of every level from the top down to its own.
using Path = std::vector<std::pair<const ShapedRows *, int>>;

QString formatNumber(double x)
{
    if (std::isfinite(x) && x == std::trunc(x) && std::abs(x) < 1e15)
        return QString::number(qint64(x));
    return QString::number(x, 'g', 15);
}

QString display(const QVariant &value)
{
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
        return formatNumber(value.toDouble());
    return value.toString();
}

struct Totals
{
    int count = 0;
    double sum = 0;
};

// Adds the column's values at the first level below (or at) this one that has the column.
void collect(const ShapedRows &level, const QString &column, Totals &totals)
{
    const int c = Shaping::columnIndex(level.rows.columns, column);
    if (c >= 0) {
        for (const auto &row : level.rows.rows)
            if (!row[c].isNull()) {
                ++totals.count;
                totals.sum += row[c].toDouble();
            }
        return;
    }
    for (const ShapedRows &child : level.children)
        collect(child, column, totals);
}

bool hasPageTokens(const QString &caption)
{
    return caption.contains(QLatin1StringView("%p")) || caption.contains(QLatin1StringView("%P"));
}

class Paginator
{
public:
    Paginator(const Layout &layout, const ShapedRows &rows, const TextMeasurer &measurer)
        : m_layout(layout), m_rows(rows), m_measurer(measurer), m_fields(rowFields(layout))
    {
    }

    Document run();

private:
    void walk(const ShapedRows &level, int depth, Path &path);
    int add(const Section &section, const Path &path, int depth, bool keepWithNext);
    std::optional<Band> render(const Section &section, const Path &path, int scopeDepth) const;
    QString text(const Item &item, const Path &path, int scopeDepth) const;
    // The column of the deepest of the path's first levels that has it.
    QVariant lookup(const Path &path, const QString &column, int levels = INT_MAX) const;
    void addRow(const Path &path);
    Totals totals(const Path &path, int scopeDepth, const QString &column) const;

    int groupCount() const { return int(m_layout.groups.size()); }

    const Layout &m_layout;
    const ShapedRows &m_rows;
    const TextMeasurer &m_measurer;
    const std::vector<RowField> m_fields;
    std::vector<Band> m_bands;
    int m_openHeader = -1; // the band of the innermost group header being walked
    QVector<QStringList> m_table;
};

// A row of the rows behind the pages: the fields of every level down to the path's, as printed;
// those of deeper levels stay empty.
void Paginator::addRow(const Path &path)
{
    QStringList row;
    row.reserve(qsizetype(m_fields.size()));
    for (const RowField &f : m_fields) {
        if (f.depth >= int(path.size())) {
            row << QString();
            continue;
        }
        row << display(lookup(path, f.item->column, f.depth + 1));
    }
    m_table.push_back(std::move(row));
}

QVariant Paginator::lookup(const Path &path, const QString &column, int levels) const
{
    const auto top = path.begin() + std::min<std::ptrdiff_t>(levels, std::ptrdiff_t(path.size()));
    for (auto it = std::make_reverse_iterator(top); it != path.rend(); ++it) {
        const int c = Shaping::columnIndex(it->first->rows.columns, column);
        if (c >= 0)
            return it->first->rows.rows[it->second][c];
    }
    return {};
}

Totals Paginator::totals(const Path &path, int scopeDepth, const QString &column) const
{
    Totals t;
    if (scopeDepth < 0 || path.empty()) {
        collect(m_rows, column, t);
    } else if (scopeDepth >= groupCount()) {
        // A detail line's own value.
        const QVariant v = lookup(path, column);
        t = v.isNull() ? Totals{} : Totals{1, v.toDouble()};
    } else {
        const auto &[level, row] = path[std::size_t(scopeDepth)];
        if (level->hasChildLevel())
            collect(level->children[std::size_t(row)], column, t);
    }
    return t;
}

QString Paginator::text(const Item &item, const Path &path, int scopeDepth) const
{
    switch (item.kind) {
    case ItemKind::Field:
        return display(lookup(path, item.column));
    case ItemKind::Count:
        return QString::number(totals(path, scopeDepth, item.column).count);
    case ItemKind::Sum:
        return formatNumber(totals(path, scopeDepth, item.column).sum);
    default:
        return item.caption;
    }
}

std::optional<Band> Paginator::render(const Section &section, const Path &path, int scopeDepth) const
{
    if (!section.visible ||
        (section.height <= 0 && section.items.empty() && !section.pageBreakBefore && !section.pageBreakAfter))
        return std::nullopt;

    Band band;
    band.height = section.height;
    band.breakBefore = section.pageBreakBefore;
    band.breakAfter = section.pageBreakAfter;

    struct Growth
    {
        int below; // items whose top is at or below this move down
        int by;
    };
    std::vector<Growth> growths;

    for (const Item &item : section.items) {
        if (!item.visible)
            continue;
        Primitive p;
        p.rect = item.rect;
        p.name = item.name;
        p.font = item.font;
        p.alignment = item.alignment;
        p.lineWidth = item.lineWidth;
        switch (item.kind) {
        case ItemKind::Line:
            p.kind = Primitive::Kind::Line;
            break;
        case ItemKind::Rectangle:
            p.kind = Primitive::Kind::Rectangle;
            break;
        case ItemKind::Image:
            p.kind = item.picture.isNull() ? Primitive::Kind::Text : Primitive::Kind::Image;
            p.image = item.picture;
            p.text = item.picture.isNull() ? item.caption : QString();
            break;
        default:
            p.kind = Primitive::Kind::Text;
            p.text = text(item, path, scopeDepth);
            p.wrap = item.canGrow;
            if (item.kind == ItemKind::Label && hasPageTokens(p.text))
                p.numbering = p.text;
            if (item.canGrow && !p.text.isEmpty()) {
                const int needed = m_measurer.wrappedHeight(p.text, item.font, item.rect.width());
                if (needed > item.rect.height()) {
                    growths.push_back({item.rect.top() + item.rect.height(), needed - item.rect.height()});
                    p.rect.setHeight(needed);
                }
            }
            break;
        }
        band.items.push_back(std::move(p));
    }

    // Items below a field that grew move down with it and frames around it stretch; the section
    // grows by the most any did.
    int grown = 0;
    for (const Growth &g : growths)
        grown = std::max(grown, g.by);
    for (Primitive &p : band.items) {
        int shift = 0;
        int stretch = 0;
        for (const Growth &g : growths) {
            if (p.rect.top() >= g.below)
                shift = std::max(shift, g.by);
            else if (p.kind == Primitive::Kind::Rectangle && p.rect.top() + p.rect.height() >= g.below)
                stretch = std::max(stretch, g.by);
        }
        p.rect.translate(0, shift);
        p.rect.setHeight(p.rect.height() + stretch);
    }
    band.height += grown;
    return band;
}

int Paginator::add(const Section &section, const Path &path, int depth, bool keepWithNext)
{
    std::optional<Band> band = render(section, path, depth);
    if (!band)
        return -1;
    band->keepWithNext = keepWithNext;
    band->groupDepth = keepWithNext ? depth : -1;
    band->repeats = keepWithNext && section.repeatOnEachPage;
    band->enclosing = m_openHeader;
    m_bands.push_back(std::move(*band));
    return int(m_bands.size()) - 1;
}

void Paginator::walk(const ShapedRows &level, int depth, Path &path)
{
    const bool grouped = depth < groupCount();
    if (grouped && !level.isEmpty() && !level.hasChildLevel())
        throw std::invalid_argument(
            QStringLiteral("the report has %1 group levels, but its rows end at level %2")
                .arg(groupCount())
                .arg(depth + 1)
                .toStdString());
    for (int r = 0; r < level.size(); ++r) {
        path.emplace_back(&level, r);
        if (grouped) {
            const Group &group = m_layout.groups[std::size_t(depth)];
            const int outer = m_openHeader;
            if (const int header = add(group.header, path, depth, true); header >= 0)
                m_openHeader = header;
            const qsizetype rowsBefore = m_table.size();
            walk(level.children[std::size_t(r)], depth + 1, path);
            if (m_table.size() == rowsBefore)
                addRow(path);
            add(group.footer, path, depth, false); // belongs to its group, under its header
            m_openHeader = outer;
        } else {
            add(m_layout.detail, path, depth, false);
            addRow(path);
        }
        path.pop_back();
    }
}

Document Paginator::run()
{
    Path path;
    walk(m_rows, 0, path);
    if (std::optional<Band> footer = render(m_layout.reportFooter, {}, -1))
        m_bands.push_back(std::move(*footer));
    const std::optional<Band> reportHeader = render(m_layout.reportHeader, {}, -1);
    const std::optional<Band> pageHeader = render(m_layout.pageHeader, {}, -1);
    const std::optional<Band> pageFooter = render(m_layout.pageFooter, {}, -1);

    Document doc;
    doc.caption = m_layout.caption;
    doc.title = m_layout.title.isEmpty() ? m_layout.caption : m_layout.title;
    doc.paper = m_layout.paper;
    doc.orientation = m_layout.orientation;
    doc.pageSize = m_layout.pageSize();
    for (const RowField &f : m_fields)
        doc.table.columns << f.heading;
    doc.table.rows = std::move(m_table);
    doc.parts.push_back({doc.title, 0});

    const QMargins &margins = m_layout.margins;
    const int top = margins.top();
    const int footerTop = doc.pageSize.height() - margins.bottom() - (pageFooter ? pageFooter->height : 0);
    const int wholeBody = footerTop - top - (pageHeader ? pageHeader->height : 0);

    int y = 0;
    int bodyTop = 0;
    const auto place = [&](const Band &band, int at, std::size_t pageIndex) {
        Page &page = doc.pages[pageIndex];
        for (Primitive p : band.items) {
            p.rect.translate(margins.left(), at);
            page.items.push_back(std::move(p));
        }
    };
    // A page opened for the band `next`: the report header on the first, the page header, and
    // the repeating headers of the groups `next` continues, outermost first.
    const auto newPage = [&](int next) {
        Page &page = doc.pages.emplace_back();
        page.paper = doc.paper;
        page.orientation = doc.orientation;
        page.size = doc.pageSize;
        y = top;
        for (const std::optional<Band> *opening :
             {doc.pages.size() == 1 ? &reportHeader : nullptr, &pageHeader})
            if (opening && *opening) {
                place(**opening, y, doc.pages.size() - 1);
                y += (*opening)->height;
            }
        std::vector<int> continued;
        for (int h = next < 0 ? -1 : m_bands[std::size_t(next)].enclosing; h >= 0;
             h = m_bands[std::size_t(h)].enclosing)
            if (m_bands[std::size_t(h)].repeats)
                continued.push_back(h);
        for (auto h = continued.rbegin(); h != continued.rend(); ++h) {
            place(m_bands[std::size_t(*h)], y, doc.pages.size() - 1);
            y += m_bands[std::size_t(*h)].height;
        }
        bodyTop = y;
    };

    newPage(-1);
    bool pendingBreak = false;
    for (std::size_t i = 0; i < m_bands.size(); ++i) {
        const Band &band = m_bands[i];
        if ((pendingBreak || band.breakBefore) && y > bodyTop)
            newPage(int(i));
        pendingBreak = band.breakAfter;

        int needed = band.height;
        if (band.keepWithNext) {
            // The header, the headers of inner groups, and the first line below them.
            int chain = band.height;
            int depth = band.groupDepth;
            for (std::size_t j = i + 1; j < m_bands.size(); ++j) {
                const Band &next = m_bands[j];
                if (next.keepWithNext && next.groupDepth <= depth)
                    break;
                chain += next.height;
                if (!next.keepWithNext)
                    break;
                depth = next.groupDepth;
            }
            if (chain <= wholeBody)
                needed = chain;
        }
        if (y + needed > footerTop && y > bodyTop)
            newPage(int(i));
        place(band, y, doc.pages.size() - 1);
        y += band.height;
    }

    if (pageFooter)
        for (std::size_t p = 0; p < doc.pages.size(); ++p)
            place(*pageFooter, footerTop, p);
    numberPages(doc);
    return doc;
}

} // namespace

Document paginate(const Layout &layout, const ShapedRows &rows, const TextMeasurer &measurer)
{
    return Paginator(layout, rows, measurer).run();
}

Document paginate(const Layout &layout, const ShapedRows &rows)
{
    return paginate(layout, rows, FontMeasurer());
}

} // namespace Report
