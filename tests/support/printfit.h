#pragma once

// Whether what a report prints fits where it prints it: each text measured in the font it is
// printed in, wrapped as it is painted (needs a QGuiApplication).
#include "reports/reportpage.h"
#include "reports/textmeasurer.h"

#include <QFontMetricsF>
#include <QStringList>

namespace PrintFit {

// The texts of those controls that run out of their boxes, a line each: "control: text".
inline QString cut(const Report::Document &doc, const QStringList &controls)
{
    QString out;
    for (const Report::Page &page : doc.pages)
        for (const Report::Primitive &p : page.items) {
            if (p.kind != Report::Primitive::Kind::Text || !controls.contains(p.name))
                continue;
            const QRectF needed = QFontMetricsF(Report::qtFont(p.font))
                                      .boundingRect(QRectF(0, 0, p.rect.width(), 1e7),
                                                    Report::textFlags(Qt::AlignLeft | Qt::AlignTop, p.wrap),
                                                    p.wrap ? Report::wrappable(p.text) : p.text);
            if (needed.width() > p.rect.width() + 1 || needed.height() > p.rect.height() + 1)
                out += p.name + QStringLiteral(": ") + p.text + u'\n';
        }
    return out;
}

// A name of the most characters a name field holds.
inline QString longest(const QString &start)
{
    return (start + QStringLiteral(" Equestrian Youth Riding Association of the Western Hills")).left(50);
}

} // namespace PrintFit
