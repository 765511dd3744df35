#include "shell/gridfigures.h"

#include "common/twips.h"

#include <algorithm>

namespace {
int rounded(double twips)
{
    return int(Twips::roundHalfEven(twips));
}
} // namespace

GridFigures::GridFigures(GridShape gridShape, int outerWidth, int outerHeight, int rowCount)
    : shape(gridShape), width(outerWidth), height(outerHeight), rows(rowCount)
{
    // The row labels, the gaps, the vertical scroll bar and the border take the width; the
    // headers, the buttons, the horizontal scroll bar and the caption take the height.
    const int gridWidth = rounded(width - RowLabelLeft - RowLabelWidth - 225 - 225 - 450 - 100);
    const int gridHeight = rounded(height - shape.firstRowTop - 1075 - 450);
    columnsVisible = std::max(1, rounded(double(gridWidth) / Pitch));
    rowsVisible = std::max(1, rounded(double(gridHeight) / Pitch));

    verticalLines = columnsVisible > 17 ? 18 : columnsVisible;
    horizontalLines = std::min(rowsVisible, rows) + 1;
    linesRight = verticalLines * Pitch + FirstColumnLeft - LineInset;
    linesBottom = (horizontalLines - 1) * Pitch + shape.firstRowTop - LineInset;

    vertical.shown = rowsVisible < rows;
    vertical.maximum = vertical.shown ? rows - rowsVisible : 0;
    vertical.rect = QRect(width - 150 - BarThickness, 0, BarThickness, height - 300 - 450);
    horizontal.shown = columnsVisible < shape.columns;
    horizontal.maximum = horizontal.shown ? shape.columns - columnsVisible : 0;
    horizontal.rect = QRect(0, height - 150 - 300 - BarThickness, width - 450, BarThickness);

    // The buttons stand above the horizontal scroll bar, shown or not.
    const int buttonTop = height - 150 - 300 - BarThickness - ButtonHeight - 75;
    const int unit = rounded(width / 6.0);
    apply = QRect(rounded(2 * unit - ButtonWidth / 2.0), buttonTop, ButtonWidth, ButtonHeight);
    cancel = QRect(rounded(4 * unit - ButtonWidth / 2.0), buttonTop, ButtonWidth, ButtonHeight);
}

GridFigures::View GridFigures::view(int rowValue, int columnValue) const
{
    return {1 + rowValue, std::min(rowsVisible, rows) + rowValue, 1 + columnValue,
            std::min(columnsVisible, shape.columns) + columnValue};
}

std::optional<int> GridFigures::columnLeft(const View &v, int column) const
{
    if (!v.showsColumn(column))
        return std::nullopt;
    return FirstColumnLeft + (column - v.firstColumn) * Pitch;
}

std::optional<int> GridFigures::rowTop(const View &v, int row) const
{
    if (!v.showsRow(row))
        return std::nullopt;
    return shape.firstRowTop + (row - v.firstRow) * Pitch;
}

QLine GridFigures::verticalLine(int i) const
{
    const int x = FirstColumnLeft - LineInset + (i - 1) * Pitch;
    return {x, HeaderTop, x, linesBottom};
}

QLine GridFigures::horizontalLine(int j) const
{
    const int y = shape.firstRowTop - LineInset + (j - 1) * Pitch;
    return {RowLabelLeft, y, linesRight, y};
}

QLine GridFigures::subtitleLine() const
{
    return {FirstColumnLeft - LineInset, SubtitleY, verticalLine(verticalLines).x1(), SubtitleY};
}
