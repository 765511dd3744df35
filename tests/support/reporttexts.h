#pragma once

#include "reports/reportpage.h"

#include <QStringList>

// What a report printed, read from its page model.
namespace ReportTexts {

// The texts one control printed, over all pages in order.
inline QStringList printed(const Report::Document &doc, const QString &control)
{
    QStringList out;
    for (const Report::Page &page : doc.pages)
        for (const Report::Primitive *p : page.byName(control))
            out << p->text;
    return out;
}

} // namespace ReportTexts
