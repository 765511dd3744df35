#pragma once

#include <QLine>
#include <QRect>

#include <optional>

// Where everything of a scrolling check-box grid goes, in twips, from the window's outer size
// and the number of rows: how many rows and columns fit, the scroll bars and their ranges, the
// buttons, the grid lines, and which rows and columns are in view for the scroll bars' values.
// Rows and columns count from 1.
struct GridShape
{
    int firstRowTop = 2175; // top of the first row of cells
    int columns = 18;       // columns of the grid, a last column of other controls included
};

class GridFigures
{
public:
    static constexpr int FirstColumnLeft = 2760;
    static constexpr int Pitch = 600; // a cell and its gap, across and down
    static constexpr int CellSize = 375;
    static constexpr int RowLabelLeft = 360;
    static constexpr int RowLabelWidth = 2175;
    static constexpr int HeaderTop = 100;
    static constexpr int HeaderHeight = 1575;
    static constexpr int NumberTop = 1785;
    static constexpr int NumberHeight = 200;
    static constexpr int SubtitleY = 1750;
    static constexpr int LineInset = 125; // grid lines run this far left of and above their cells
    static constexpr int BarThickness = 255;
    static constexpr int ButtonWidth = 1815;
    static constexpr int ButtonHeight = 495;

    struct Bar
    {
        bool shown = false;
        int maximum = 0; // the range runs from 0; a step is one row or one column
        QRect rect;
    };

    // The rows and columns in view.
    struct View
    {
        int firstRow, lastRow, firstColumn, lastColumn;
        bool showsRow(int r) const { return r >= firstRow && r <= lastRow; }
        bool showsColumn(int c) const { return c >= firstColumn && c <= lastColumn; }
    };

    GridFigures(GridShape shape, int outerWidth, int outerHeight, int rows);

    GridShape shape;
    int width, height, rows;
    int columnsVisible, rowsVisible;
    int verticalLines, horizontalLines;
    int linesRight, linesBottom; // where the horizontal lines end on the right, the vertical ones below
    Bar vertical, horizontal;
    QRect apply, cancel;

    // The view for the scroll bars' values (0 while a bar is hidden).
    View view(int rowValue, int columnValue) const;
    // Where a column or row sits in the view; nothing while it is out of view.
    std::optional<int> columnLeft(const View &view, int column) const;
    std::optional<int> rowTop(const View &view, int row) const;

    QLine verticalLine(int i) const;
    QLine horizontalLine(int j) const;
    QLine subtitleLine() const;
};
