#pragma once

#include "reports/paginator.h"

#include <QStringList>

// What a report printed in one control, page after page: its texts in order.
inline QStringList printed(const Report::Document &doc, const QString &control)
{
    QStringList out;
    for (const Report::Page &page : doc.pages)
        for (const Report::Primitive *p : page.byName(control))
            out << p->text;
    return out;
}
