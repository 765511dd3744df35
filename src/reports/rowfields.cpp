#include "reports/rowfields.h"

#include <algorithm>
#include <cstdlib>
#include <set>
#include <tuple>

namespace Report {
namespace {

// The caption a label heads a column with, or nothing when it says nothing (a dash, a page
// number, a caption set to nothing).
QString headingOf(const Item &label)
{
    if (label.kind != ItemKind::Label || !label.visible ||
        label.caption.contains(QLatin1StringView("%p"), Qt::CaseInsensitive))
        return {};
    QString text = label.caption.simplified();
    while (text.endsWith(u':'))
        text.chop(1);
    text = text.trimmed();
    const bool says = std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetterOrNumber(); });
    return says ? text : QString();
}

bool sameLine(const QRect &a, const QRect &b)
{
    return a.top() < b.top() + b.height() && b.top() < a.top() + a.height();
}

// A label that heads a column stands in a row of such labels, with no field on its line: a title
// stands alone, and "Team:" before a team's name is a caption on the field's line.
bool headsAColumn(const Item &label, const Section &section)
{
    bool beside = false;
    for (const Item &other : section.items) {
        if (&other == &label || !other.visible || !sameLine(other.rect, label.rect))
            continue;
        if (other.kind == ItemKind::Field)
            return false;
        beside = beside || !headingOf(other).isEmpty();
    }
    return beside;
}

QString lastPart(const QString &column)
{
    return column.mid(column.lastIndexOf(u'.') + 1);
}

} // namespace

std::vector<RowField> rowFields(const Layout &layout)
{
    const int groups = int(layout.groups.size());
    // Sections by depth: -1 the page header, 0.. the group headers, groups the detail.
    const auto section = [&](int depth) -> const Section & {
        return depth < 0        ? layout.pageHeader
               : depth < groups ? layout.groups[std::size_t(depth)].header
                                : layout.detail;
    };

    std::vector<RowField> fields;
    for (int depth = 0; depth <= groups; ++depth) {
        if (!section(depth).visible)
            continue;
        for (const Item &item : section(depth).items)
            if (item.kind == ItemKind::Field && item.visible)
                fields.push_back({depth, &item, item.heading});
    }

    // Every label that could head a field, nearest first, then the closest above it.
    struct Candidate
    {
        int distance;
        int depth;
        int top;
        const Item *label;
        std::size_t field;
    };
    std::vector<Candidate> candidates;
    for (std::size_t f = 0; f < fields.size(); ++f) {
        if (!fields[f].heading.isEmpty())
            continue;
        for (int depth = -1; depth < fields[f].depth; ++depth) {
            if (!section(depth).visible)
                continue;
            for (const Item &label : section(depth).items) {
                const int distance = std::abs(label.rect.left() - fields[f].item->rect.left());
                if (distance <= HeadingReach && !headingOf(label).isEmpty() &&
                    headsAColumn(label, section(depth)))
                    candidates.push_back({distance, depth, label.rect.top(), &label, f});
            }
        }
    }
    std::stable_sort(candidates.begin(), candidates.end(), [](const Candidate &a, const Candidate &b) {
        return std::tuple(a.distance, -a.depth, -a.top) < std::tuple(b.distance, -b.depth, -b.top);
    });
    std::set<const Item *> used;
    for (const Candidate &c : candidates)
        if (fields[c.field].heading.isEmpty() && !used.count(c.label)) {
            fields[c.field].heading = headingOf(*c.label);
            used.insert(c.label);
        }

    std::set<QString> taken;
    for (RowField &field : fields) {
        if (field.heading.isEmpty())
            field.heading = lastPart(field.item->column);
        QString name = field.heading;
        for (int n = 2; taken.count(headingKey(name)); ++n)
            name = field.heading + u' ' + QString::number(n);
        taken.insert(headingKey(name));
        field.heading = name;
    }
    return fields;
}

QString headingKey(const QString &heading)
{
    return QString(heading).remove(u' ').toCaseFolded();
}

} // namespace Report
