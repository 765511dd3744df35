#pragma once

// What a report printed, read from its page model.
#include "reports/reportpage.h"

#include <QStringList>

// The texts a control printed, page after page, in order.
inline QStringList printed(const Report::Document &doc, const QString &control)
{
    QStringList out;
    for (const Report::Page &page : doc.pages)
        for (const Report::Primitive *p : page.byName(control))
            out << p->text;
    return out;
}
