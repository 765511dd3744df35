#pragma once

#include "reports/reportpage.h"

class QPainter;

namespace Report {

// Scales the painter so that one unit is one twip on a device of the given resolution.
void scaleToTwips(QPainter &painter, double dotsPerInch);

// Paints one page: the one routine behind the preview, the printer and the PDF. The painter's
// units must be twips from the paper's top left corner; the paper itself is not painted.
void paintPage(const Page &page, QPainter &painter);

} // namespace Report
