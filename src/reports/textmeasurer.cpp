#include "reports/textmeasurer.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace Report {

QFont qtFont(const Font &font)
{
    QString family = font.family;
    if (family.compare(u"Arial", Qt::CaseInsensitive) == 0)
        family = QStringLiteral("Liberation Sans");
    else if (family.compare(u"Times New Roman", Qt::CaseInsensitive) == 0)
        family = QStringLiteral("Liberation Serif");
    QFont f(family);
    f.setPixelSize(std::max(1, int(std::lround(font.size * 20))));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

int textFlags(Qt::Alignment alignment, bool wrap)
{
    return int(alignment) | (wrap ? int(Qt::TextWordWrap) : int(Qt::TextSingleLine));
}

QString wrappable(const QString &text)
{
    QString breakable = text;
    return breakable.replace(u',', QStringLiteral(",\u200B")); // a zero-width space marks the break
}

int FontMeasurer::wrappedHeight(const QString &text, const Font &font, int width) const
{
    const QFontMetricsF metrics(qtFont(font));
    const QRectF bounds = metrics.boundingRect(
        QRectF(0, 0, width, 1e7), textFlags(Qt::AlignLeft | Qt::AlignTop, true), wrappable(text));
    return int(std::ceil(bounds.height()));
}

} // namespace Report
