#pragma once

#include "common/rowtext.h"
#include "shell/editingwindow.h"
#include "shell/gridfigures.h"
#include "shell/gridmarks.h"

#include <QStringList>
#include <QVector>

#include <functional>
#include <memory>

class GridCell;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
struct AppState;
struct StoredClass;

// A window holding a scrolling grid of check boxes: one row per person (a label on the left),
// one column per class (a label image on top), and possibly a last column of other controls,
// one per row. It fills the screen less a margin; what does not fit is reached with the scroll
// bars, which move the cells, the headers, the row labels and the last column's controls
// together, while the grid lines stay put. Each class takes at most its limit of ticks: a full
// column locks its other cells until a tick is taken away.
//
// Submit is the subclass's; Cancel (and the window's close button) asks before dropping the ticks.
// Built again after a re-read, the grid keeps the place of its view and of the keyboard.
class CheckGrid : public EditingWindow
{
    Q_OBJECT

public:
    // A column header: the label image's file name in the label folder, the text shown when
    // there is no such file, and what the column is called.
    struct Column
    {
        QString imageFile;
        QString fallback;
        QString name;
    };
    // A row: its label's caption, and what it is called in its cells' names.
    struct Row
    {
        RowText caption;
        QString name;
    };

    // The headers of classes 1 to 17: each class's form image, or its number when the class is
    // not in the table or its image is missing.
    static QVector<Column> classColumns(const QVector<StoredClass> &classes);

    const GridFigures &figures() const { return *m_figures; }
    const GridMarks &marks() const { return m_marks; }
    int rowCount() const { return m_marks.rows(); }
    GridCell *cell(int row, int cls) const { return m_cells[m_marks.index(row, cls) - 1]; }
    GridFigures::View view() const;

    void Scroll_Columns();
    void Scroll_Rows();
    // Scrolls as far as needed to bring the cell (or the last column's control) into view.
    void showCell(int row, int column);

protected:
    struct Layout
    {
        GridShape shape;
        QString rowLabelName;      // the row labels' name: rowLabelName_1, rowLabelName_2, ...
        bool classNumbers = false; // a class number under each header image, and a line above
    };

    CheckGrid(AppState &app, QWidget *owner, QList<QWidget *> openers, QWidget *focusAfter);
    ~CheckGrid() override;

    // The read-only bold box above the row labels that says whose grid it is.
    QPlainTextEdit *titleBox(const QString &name, const QString &accessibleName, int width, int height);
    // The screen less 100 twips across and 600 down, at 50, 50.
    void placeWindow();
    // Builds the grid for the rows: every class column ticked by nothing yet, the last column
    // (shape.columns beyond the classes) filled with extra(row). Built again, it replaces the
    // grid before, scrolled as it was, the keyboard on the same row (by name) and column.
    void buildGrid(const Layout &layout, const QVector<Column> &columns, const QVector<Row> &rows,
                   const std::function<QWidget *(int row)> &extra = {});
    // Limits are set before the first tick.
    void setLimit(int cls, int limit) { m_marks.setLimit(cls, limit); }
    // Ticks a cell from stored data, above the limit too: the count and the column lock follow.
    void tick(int row, int cls);
    // Whether the user ticked or unticked a cell since the grid was built.
    bool ticksChanged() const { return m_ticksChanged; }
    // After a tick or an untick, by the user or from code.
    virtual void cellChanged(int row, int cls)
    {
        Q_UNUSED(row)
        Q_UNUSED(cls)
    }

    virtual void CmdApply_Click() = 0;

private:
    // Where the view and the keyboard are: the scroll bars, and the focused cell (by its row's
    // name and its column) or other control of the grid (by name).
    struct Place
    {
        int vertical = 0;
        int horizontal = 0;
        QString rowName;
        int row = 0;
        int column = 0;
        QString control;
    };
    Place place() const;
    void restore(const Place &place);
    void cellToggled(int row, int cls, bool ticked);
    void applyLimit(int row, int cls);
    void placeAll();
    void step(int row, int cls, int rows, int columns);

    std::unique_ptr<GridFigures> m_figures;
    GridMarks m_marks;
    QVector<bool> m_full;        // per class: its cells locked as a full column's (else all open)
    QVector<GridCell *> m_cells; // cell k at k - 1
    QVector<QLabel *> m_headers;
    QVector<QLabel *> m_numbers;
    QVector<QLabel *> m_rowLabels;
    QVector<QWidget *> m_extras;
    QStringList m_rowNames;
    QVector<QWidget *> m_built; // everything buildGrid made, gone when it builds again
    bool m_ticksChanged = false;
    QScrollBar *m_vertical = nullptr;
    QScrollBar *m_horizontal = nullptr;
};
