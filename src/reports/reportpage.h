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
#include <QVector>

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
    QString numbering; // a label's caption with "%p" or "%P", filled in by numberPages()
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
    // Each page keeps its own paper: a pack of reports may mix orientations.
    QPageSize::PageSizeId paper = QPageSize::Letter;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QSize size; // twips, turned for the orientation
    std::vector<Primitive> items;

    QPageLayout pageLayout() const { return QPageLayout(QPageSize(paper), orientation, QMarginsF()); }

    // The texts in the order they were laid out (and are painted).
    QStringList texts() const;
    // The items printed by a control, in order.
    std::vector<const Primitive *> byName(QStringView name) const;
};

// The rows behind the pages: one per detail line, holding the fields of the line and of the
// group headers above it as printed, under the headings printed over them. A group that printed
// no detail line gives a row of its own.
struct Table
{
    QStringList columns;
    QVector<QStringList> rows;
};

struct Document
{
    // One report of a pack and the page it starts on (from 0).
    struct Part
    {
        QString title;
        int firstPage = 0;
    };

    QString caption;
    QString title;
    // The paper of the first page.
    QPageSize::PageSizeId paper = QPageSize::Letter;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QSize pageSize; // twips
    std::vector<Page> pages;
    Table table;
    std::vector<Part> parts; // a single report is one part

    // The texts a control printed, page after page.
    QStringList printedBy(QStringView name) const;
};

// Numbers the pages from 1 and fills "%p" with the page's number and "%P" with the number of
// pages wherever a caption holds them.
void numberPages(Document &document);

} // namespace Report
