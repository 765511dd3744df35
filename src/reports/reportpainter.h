#pragma once

#include "reports/reportpage.h"

#include <QImage>

class QPainter;

namespace Report {

// Scales the painter so that one unit is one twip on a device of the given resolution.
void scaleToTwips(QPainter &painter, double dotsPerInch);

// Paints one page: the one routine behind the preview, the printer and the PDF. The painter's
// units must be twips from the paper's top left corner; the paper itself is not painted.
void paintPage(const Page &page, QPainter &painter);

// A page on white paper at a scale in pixels per twip (1/15 is 100% on a standard screen).
QImage renderPage(const Page &page, QSize pageSize, double pixelsPerTwip);

} // namespace Report
