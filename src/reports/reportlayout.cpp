#include "reports/reportlayout.h"

#include "common/labelfiles.h"

#include <QFileInfo>

#include <stdexcept>

namespace Report {
namespace {

Item &add(Section &s, ItemKind kind, const QString &name, const QRect &rect)
{
    Item item;
    item.kind = kind;
    item.name = name;
    item.rect = rect;
    s.items.push_back(std::move(item));
    return s.items.back();
}

Item &addText(Section &s, ItemKind kind, const QString &name, const QRect &rect, const Font &font)
{
    Item &item = add(s, kind, name, rect);
    item.font = font;
    return item;
}

// A field, count or sum: text from a column.
Item &addBound(Section &s, ItemKind kind, const QString &name, const QString &column, const QRect &rect,
               const Font &font)
{
    Item &item = addText(s, kind, name, rect, font);
    item.column = column;
    return item;
}

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

Item &Section::label(const QString &name, const QString &caption, const QRect &rect, const Font &font)
{
    Item &item = addText(*this, ItemKind::Label, name, rect, font);
    item.caption = caption;
    return item;
}

Item &Section::field(const QString &name, const QString &column, const QRect &rect, const Font &font)
{
    return addBound(*this, ItemKind::Field, name, column, rect, font);
}

Item &Section::image(const QString &name, const QRect &rect, const QString &fallback, const Font &font)
{
    Item &item = addText(*this, ItemKind::Image, name, rect, font);
    item.caption = fallback;
    item.alignment = Qt::AlignCenter;
    return item;
}

Item &Section::line(const QString &name, const QRect &rect)
{
    return add(*this, ItemKind::Line, name, rect);
}

Item &Section::rectangle(const QString &name, const QRect &rect)
{
    return add(*this, ItemKind::Rectangle, name, rect);
}

Item &Section::count(const QString &name, const QString &column, const QRect &rect, const Font &font)
{
    return addBound(*this, ItemKind::Count, name, column, rect, font);
}

Item &Section::sum(const QString &name, const QString &column, const QRect &rect, const Font &font)
{
    return addBound(*this, ItemKind::Sum, name, column, rect, font);
}

Item *Section::find(QStringView itemName)
{
    for (Item &item : items)
        if (sameName(item.name, itemName))
            return &item;
    return nullptr;
}

const Item *Section::find(QStringView itemName) const
{
    return const_cast<Section *>(this)->find(itemName);
}

Group &Layout::addGroup(const QString &headerName, const QString &footerName)
{
    groups.push_back(Group{Section(headerName), Section(footerName)});
    return groups.back();
}

QSize Layout::pageSize() const
{
    // A point is 20 twips.
    const QSize points = QPageSize(paper).sizePoints();
    const QSize portrait(points.width() * 20, points.height() * 20);
    return orientation == QPageLayout::Landscape ? portrait.transposed() : portrait;
}

Section *Layout::findSection(QStringView name)
{
    for (Section *s : {&reportHeader, &pageHeader, &detail, &pageFooter, &reportFooter})
        if (sameName(s->name, name))
            return s;
    for (Group &g : groups)
        for (Section *s : {&g.header, &g.footer})
            if (sameName(s->name, name))
                return s;
    return nullptr;
}

Section &Layout::section(QStringView name)
{
    Section *s = findSection(name);
    if (!s)
        throw std::out_of_range(QStringLiteral("the report has no section %1").arg(name).toStdString());
    return *s;
}

Item &Layout::control(QStringView sectionName, QStringView controlName)
{
    Item *item = section(sectionName).find(controlName);
    if (!item)
        throw std::out_of_range(
            QStringLiteral("the section %1 has no control %2").arg(sectionName, controlName).toStdString());
    return *item;
}

void Layout::setCaption(QStringView sectionName, QStringView controlName, const QString &caption)
{
    control(sectionName, controlName).caption = caption;
}

void Layout::setVisible(QStringView sectionName, QStringView controlName, bool visible)
{
    control(sectionName, controlName).visible = visible;
}

bool Layout::setPicture(QStringView sectionName, QStringView controlName, const QString &filePath,
                        const QString &fallback)
{
    Item &box = control(sectionName, controlName);
    const QFileInfo info(filePath);
    const QString found = LabelFiles::find(info.absolutePath(), info.fileName());
    box.picture = found.isEmpty() ? QImage() : QImage(found);
    box.caption = fallback;
    return !box.picture.isNull();
}

} // namespace Report
