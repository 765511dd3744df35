#include "reports/reportpage.h"

namespace Report {

QStringList Page::texts() const
{
    QStringList out;
    for (const Primitive &p : items)
        if (p.kind == Primitive::Kind::Text)
            out << p.text;
    return out;
}

std::vector<const Primitive *> Page::byName(QStringView name) const
{
    std::vector<const Primitive *> out;
    for (const Primitive &p : items)
        if (QStringView(p.name).compare(name, Qt::CaseInsensitive) == 0)
            out.push_back(&p);
    return out;
}

QStringList Document::printedBy(QStringView name) const
{
    QStringList out;
    for (const Page &page : pages)
        for (const Primitive *p : page.byName(name))
            out << p->text;
    return out;
}

void numberPages(Document &document)
{
    const QString total = QString::number(document.pages.size());
    int number = 0;
    for (Page &page : document.pages) {
        page.number = ++number;
        for (Primitive &p : page.items)
            if (!p.numbering.isEmpty())
                p.text = QString(p.numbering)
                             .replace(QLatin1StringView("%P"), total)
                             .replace(QLatin1StringView("%p"), QString::number(number));
    }
}

} // namespace Report
