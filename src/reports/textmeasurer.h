#pragma once

#include "reports/reportlayout.h"

#include <QFont>
#include <QString>

namespace Report {

// How tall a text is when wrapped: what pagination needs to know of fonts. Tests give a fixed
// one so that page breaks do not depend on the fonts installed.
class TextMeasurer
{
public:
    virtual ~TextMeasurer() = default;
    // Twips the text takes, top to bottom, wrapped at width twips.
    virtual int wrappedHeight(const QString &text, const Font &font, int width) const = 0;
};

// Measures with the fonts the pages are painted in. Needs a QGuiApplication.
class FontMeasurer : public TextMeasurer
{
public:
    int wrappedHeight(const QString &text, const Font &font, int width) const override;
};

// The Qt font for a report font, sized for painting in twips (a point is 20 twips). "Arial"
// and "Times New Roman" are drawn with their metric-compatible Liberation fonts.
QFont qtFont(const Font &font);

// Drawing flags shared by measuring and painting, so both wrap a text alike.
int textFlags(Qt::Alignment alignment, bool wrap);

// A wrapped text as measured and painted: it may also break after a comma, so that a list of
// numbers such as "1,2,4,5,7,10" wraps between its numbers instead of running out of its box.
QString wrappable(const QString &text);

} // namespace Report
