#include "shell/checkgrid.h"

#include "common/labelfiles.h"
#include "common/twips.h"
#include "db/classtable.h"
#include "shell/appstate.h"
#include "shell/formkit.h"
#include "shell/gridcell.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextDocument>

#include <algorithm>
#include <optional>

namespace {

using F = GridFigures;

QFont sized(QFont font, double points, bool bold)
{
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void moveTo(QWidget *widget, int left, int top)
{
    widget->move(Twips::point(left, top));
    widget->show();
}

QFrame *line(QWidget *parent, const QString &name, const QLine &l)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setGeometry(
        Twips::rect(l.x1(), l.y1(), std::max(l.dx(), Twips::PerPixel), std::max(l.dy(), Twips::PerPixel)));
    FormKit::setBackground(frame, Qt::black);
    frame->lower(); // under the cells, as drawn on the window itself
    frame->show();  // built again in a window on the screen, it would stay hidden
    return frame;
}

} // namespace

QVector<CheckGrid::Column> CheckGrid::classColumns(const QVector<StoredClass> &classes)
{
    QVector<Column> columns;
    for (int c = 1; c <= GridMarks::Classes; ++c) {
        const auto cls = std::find_if(classes.cbegin(), classes.cend(),
                                      [c](const StoredClass &s) { return s.number == c; });
        columns << (cls == classes.cend()
                        ? Column{QString(), QString::number(c), QString()}
                        : Column{QStringLiteral("form") + cls->imagePath, QString::number(c), cls->name});
    }
    return columns;
}

CheckGrid::CheckGrid(AppState &app, QWidget *owner, QList<QWidget *> openers, QWidget *focusAfter)
    : EditingWindow(app, owner, std::move(openers), focusAfter)
{
}

CheckGrid::~CheckGrid() = default;

QPlainTextEdit *CheckGrid::titleBox(const QString &name, const QString &accessibleName, int width, int height)
{
    QPlainTextEdit *box = FormKit::memoBox(this, name, nullptr, 360, 480, width, height);
    box->setReadOnly(true);
    box->setAccessibleName(accessibleName);
    box->setFont(sized(box->font(), 9.75, true));
    // A long name wraps onto a second line, which the box holds without a scroll bar.
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->document()->setDocumentMargin(1);
    return box;
}

void CheckGrid::placeWindow()
{
    const int width = app().ScreenWidth - 100;
    const int height = app().ScreenHeight - 600;
    move(Twips::point(50, 50));
    setFixedSize(Twips::size(width - Twips::FrameWidth, height - Twips::FrameHeight));
}

void CheckGrid::buildGrid(const Layout &layout, const QVector<Column> &columns, const QVector<Row> &rows,
                          const std::function<QWidget *(int row)> &extra)
{
    const std::optional<Place> before = m_figures ? std::optional(place()) : std::nullopt;
    qDeleteAll(m_built);
    m_built.clear();
    m_cells.clear();
    m_headers.clear();
    m_numbers.clear();
    m_rowLabels.clear();
    m_rowNames.clear();
    m_extras.clear();
    m_ticksChanged = false;

    m_figures = std::make_unique<GridFigures>(layout.shape, app().ScreenWidth - 100, app().ScreenHeight - 600,
                                              int(rows.size()));
    const GridFigures &f = *m_figures;
    m_marks = GridMarks(int(rows.size()));
    m_full = QVector<bool>(m_marks.classes() + 1, false);

    m_vertical = new QScrollBar(Qt::Vertical, this);
    m_vertical->setObjectName(QStringLiteral("Chbvscroll"));
    m_horizontal = new QScrollBar(Qt::Horizontal, this);
    m_horizontal->setObjectName(QStringLiteral("Chbhscroll"));
    for (const auto &[bar, figures, name] :
         {std::tuple{m_vertical, f.vertical, QStringLiteral("Rows")},
          std::tuple{m_horizontal, f.horizontal, QStringLiteral("Columns")}}) {
        bar->setGeometry(
            Twips::rect(figures.rect.x(), figures.rect.y(), figures.rect.width(), figures.rect.height()));
        bar->setRange(0, figures.maximum);
        bar->setSingleStep(1);
        bar->setPageStep(1);
        bar->setFocusPolicy(Qt::StrongFocus);
        bar->setAccessibleName(name);
        bar->setVisible(figures.shown);
    }
    m_built << m_vertical << m_horizontal;
    connect(m_vertical, &QScrollBar::valueChanged, this, &CheckGrid::Scroll_Rows);
    connect(m_horizontal, &QScrollBar::valueChanged, this, &CheckGrid::Scroll_Columns);

    const QString labelFolder = LabelFiles::folder(app().AppFolder);
    for (int i = 1; i <= int(columns.size()); ++i) {
        const Column &column = columns[i - 1];
        auto *header = FormKit::label(this, QStringLiteral("lbltitlearray_%1").arg(i), QString(), 0,
                                      F::HeaderTop, F::CellSize, F::HeaderHeight);
        const QPixmap picture(LabelFiles::find(labelFolder, column.imageFile));
        if (picture.isNull()) {
            header->setText(column.fallback);
            header->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        } else {
            header->setPixmap(picture);
        }
        header->setToolTip(column.name);
        header->setAccessibleName(column.name);
        m_headers << header;
        m_built << header;
        if (layout.classNumbers) {
            QLabel *number = FormKit::label(this, QStringLiteral("lblclassnumarray_%1").arg(i),
                                            i <= m_marks.classes() ? QString::number(i) : QString(), 0,
                                            F::NumberTop, F::CellSize, F::NumberHeight);
            number->setFont(sized(number->font(), 9.75, true));
            number->setAlignment(Qt::AlignCenter);
            m_numbers << number;
            m_built << number;
        }
    }

    m_cells.reserve(m_marks.rows() * m_marks.classes());
    const QFont rowFont = sized(font(), 8.25, false);
    for (int r = 1; r <= m_marks.rows(); ++r) {
        QLabel *label = FormKit::label(this, layout.rowLabelName + u'_' + QString::number(r), QString(),
                                       F::RowLabelLeft, 0, F::RowLabelWidth, F::CellSize);
        label->setFont(rowFont);
        FormKit::showRowText(label, rows[r - 1].caption);
        m_rowLabels << label;
        m_rowNames << rows[r - 1].name;
        m_built << label;
        for (int c = 1; c <= m_marks.classes(); ++c) {
            auto *cell = new GridCell(this);
            cell->setObjectName(QStringLiteral("ChbArrayControl_%1").arg(m_marks.index(r, c)));
            cell->resize(Twips::size(F::CellSize, F::CellSize));
            cell->setAccessibleName(rows[r - 1].name + QStringLiteral(", class ") + QString::number(c));
            // The state, however it changed: a click, Space, an assistive tool's Toggle, code.
            connect(cell, &QCheckBox::toggled, this, [this, r, c](bool on) { cellToggled(r, c, on); });
            connect(cell, &GridCell::stepRequested, this,
                    [this, r, c](int down, int across) { step(r, c, down, across); });
            m_cells << cell;
            m_built << cell;
        }
        if (extra && layout.shape.columns > m_marks.classes()) {
            m_extras << extra(r);
            m_built << m_extras.back();
        }
    }

    auto *apply = FormKit::button(this, QStringLiteral("CmdApply"), QStringLiteral("Submit"), f.apply.x(),
                                  f.apply.y(), f.apply.width(), f.apply.height());
    connect(apply, &QPushButton::clicked, this, &CheckGrid::CmdApply_Click);
    auto *cancelButton = FormKit::button(this, QStringLiteral("CmdCancel"), QStringLiteral("Cancel"),
                                         f.cancel.x(), f.cancel.y(), f.cancel.width(), f.cancel.height());
    connect(cancelButton, &QPushButton::clicked, this, &CheckGrid::cancel);
    for (QPushButton *b : {apply, cancelButton}) {
        b->show();
        m_built << b;
    }

    for (int i = 1; i <= f.verticalLines; ++i)
        m_built << line(this, QStringLiteral("Vertlinearray_%1").arg(i), f.verticalLine(i));
    for (int j = 1; j <= f.horizontalLines; ++j)
        m_built << line(this, QStringLiteral("Horzlinearray_%1").arg(j), f.horizontalLine(j));
    if (layout.classNumbers)
        m_built << line(this, QStringLiteral("SubtitleLine"), f.subtitleLine());
    placeAll();
    if (before)
        restore(*before);
}

CheckGrid::Place CheckGrid::place() const
{
    Place p{m_vertical->value(), m_horizontal->value()};
    // The focus may sit inside one of the grid's controls (the text box of a combo box).
    QWidget *focused = focusWidget();
    while (focused && focused != this && !m_built.contains(focused))
        focused = focused->parentWidget();
    if (const auto k = m_cells.indexOf(qobject_cast<GridCell *>(focused)); k >= 0) {
        p.row = int(k) / m_marks.classes() + 1;
        p.column = int(k) % m_marks.classes() + 1;
    } else if (const auto extra = m_extras.indexOf(focused); extra >= 0) {
        p.row = int(extra) + 1;
        p.column = m_marks.classes() + 1;
    } else if (focused && focused != this) {
        p.control = focused->objectName();
    }
    if (p.row > 0)
        p.rowName = m_rowNames[p.row - 1];
    return p;
}

void CheckGrid::restore(const Place &p)
{
    m_vertical->setValue(p.vertical);
    m_horizontal->setValue(p.horizontal);
    QWidget *target = nullptr;
    if (p.column > 0 && m_marks.rows() > 0) {
        // The same person where he is still there, else the row of the same number.
        const auto found = m_rowNames.indexOf(p.rowName);
        const int row = found >= 0 ? int(found) + 1 : std::min(p.row, m_marks.rows());
        target = p.column > m_marks.classes() ? m_extras.value(row - 1) : cell(row, p.column);
        showCell(row, p.column);
    } else if (!p.control.isEmpty()) {
        target = findChild<QWidget *>(p.control);
    }
    if (target && target->isEnabled())
        target->setFocus();
}

GridFigures::View CheckGrid::view() const
{
    return m_figures->view(m_vertical->value(), m_horizontal->value());
}

void CheckGrid::Scroll_Columns()
{
    placeAll();
}

void CheckGrid::Scroll_Rows()
{
    placeAll();
}

void CheckGrid::placeAll()
{
    const GridFigures &f = *m_figures;
    const GridFigures::View v = view();
    for (int i = 1; i <= int(m_headers.size()); ++i) {
        const auto left = f.columnLeft(v, i);
        QList<std::pair<QWidget *, int>> column{{m_headers[i - 1], F::HeaderTop}};
        if (!m_numbers.isEmpty())
            column << std::pair<QWidget *, int>{m_numbers[i - 1], F::NumberTop};
        for (const auto &[widget, top] : column) {
            if (left)
                moveTo(widget, *left, top);
            else
                widget->hide();
        }
    }
    for (int r = 1; r <= m_marks.rows(); ++r) {
        const auto top = f.rowTop(v, r);
        QList<QWidget *> row{m_rowLabels[r - 1]};
        for (int c = 1; c <= m_marks.classes(); ++c)
            row << cell(r, c);
        if (!m_extras.isEmpty())
            row << m_extras[r - 1];
        for (int i = 0; i < row.size(); ++i) {
            const auto left = i == 0 ? std::optional<int>(F::RowLabelLeft) : f.columnLeft(v, i);
            if (top && left)
                moveTo(row[i], *left, *top);
            else
                row[i]->hide();
        }
    }
}

void CheckGrid::showCell(int row, int column)
{
    const GridFigures::View v = view();
    if (row < v.firstRow)
        m_vertical->setValue(m_vertical->value() - (v.firstRow - row));
    else if (row > v.lastRow)
        m_vertical->setValue(m_vertical->value() + (row - v.lastRow));
    if (column < v.firstColumn)
        m_horizontal->setValue(m_horizontal->value() - (v.firstColumn - column));
    else if (column > v.lastColumn)
        m_horizontal->setValue(m_horizontal->value() + (column - v.lastColumn));
}

void CheckGrid::step(int row, int cls, int rows, int columns)
{
    // A locked cell takes no focus: the step goes on to the next open cell that way. Right of
    // the last class lies the row's control of the last column, once it is open.
    const int last = m_marks.classes() + (m_extras.isEmpty() ? 0 : 1);
    int r = row + rows;
    int c = cls + columns;
    while (r >= 1 && r <= m_marks.rows() && c >= 1 && c <= last) {
        QWidget *target = c > m_marks.classes() ? m_extras[r - 1] : cell(r, c);
        if (target->isEnabled()) {
            showCell(r, c);
            target->setFocus();
            return;
        }
        r += rows;
        c += columns;
    }
}

void CheckGrid::tick(int row, int cls)
{
    // Counted first, so that a tick above the limit is taken and its cell stays usable.
    if (!m_marks.set(row, cls, true))
        return;
    cell(row, cls)->setChecked(true);
    applyLimit(row, cls);
    cellChanged(row, cls);
}

void CheckGrid::cellToggled(int row, int cls, bool ticked)
{
    if (m_marks.ticked(row, cls) == ticked)
        return; // counted already: a tick from stored data
    // A locked cell takes no tick, whichever way one reaches it.
    if (ticked && !cell(row, cls)->isEnabled()) {
        cell(row, cls)->setChecked(false);
        return;
    }
    m_marks.set(row, cls, ticked);
    m_ticksChanged = true;
    applyLimit(row, cls);
    cellChanged(row, cls);
}

void CheckGrid::applyLimit(int row, int cls)
{
    // Only a column that fills up or stops being full changes its other cells; otherwise the one
    // cell that changed (a grid of stored ticks loads in time in proportion to its rows).
    const bool full = m_marks.count(cls) >= m_marks.limit(cls);
    if (full == m_full[cls]) {
        cell(row, cls)->setEnabled(!m_marks.locked(row, cls));
        return;
    }
    m_full[cls] = full;
    for (int r = 1; r <= m_marks.rows(); ++r)
        cell(r, cls)->setEnabled(!m_marks.locked(r, cls));
}
