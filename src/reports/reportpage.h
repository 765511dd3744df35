#pragma once

#include "reports/reportlayout.h"

#include <QImage>
#include <QLineF>
#include <QPageLayout>
#include <QPageSize>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <vector>

// The pages of a laid-out report: positioned text boxes, lines, rectangles and images in twips
// from the paper's top left corner. The preview, the printer and the PDF all paint these.
namespace Report {

struct Primitive
{
    enum class Kind { Text, Line, Rectangle, Image };

    Kind kind = Kind::Text;
    QRect rect;   // a line runs from (left, top) to (left + width, top + height)
    QString name; // the control that printed it
    QString text;
    Font font;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    bool wrap = false;
    int lineWidth = 15;
    QImage image;

    QLineF segment() const
    {
        return QLineF(rect.topLeft(), rect.topLeft() + QPoint(rect.width(), rect.height()));
    }
};

struct Page
{
    int number = 0; // from 1
    std::vector<Primitive> items;

    // The texts in the order they were laid out (and are painted).
    QStringList texts() const;
    // The items printed by a control, in order.
    std::vector<const Primitive *> byName(QStringView name) const;
};

struct Document
{
    QString caption;
    QString title;
    QPageSize::PageSizeId paper = QPageSize::Letter;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QSize pageSize; // twips
    std::vector<Page> pages;

    // The texts a control printed, page after page.
    QStringList printedBy(QStringView name) const;

    QPageLayout pageLayout() const { return QPageLayout(QPageSize(paper), orientation, QMarginsF()); }
};

} // namespace Report
