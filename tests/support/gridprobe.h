#pragma once

// Walks a check-box grid through every position of its scroll bars and checks that what is in
// view stands together: each header above its column, each row label beside its row, each cell
// (and each control of a last column) where its header and row label meet; what is out of view
// is hidden. Collects the columns it saw.
#include "common/twips.h"
#include "shell/checkgrid.h"
#include "shell/gridcell.h"

#include <QAccessible>
#include <QLabel>
#include <QScrollBar>
#include <QSet>
#include <QtTest>

#include <functional>

namespace GridProbe {

// The rows ticked in a class column and the rows locked in it: "1 2/3 4 5".
inline QString column(const CheckGrid *g, int cls)
{
    QStringList ticked, locked;
    for (int r = 1; r <= g->rowCount(); ++r) {
        if (g->cell(r, cls)->isChecked())
            ticked << QString::number(r);
        if (!g->cell(r, cls)->isEnabled())
            locked << QString::number(r);
    }
    return ticked.join(u' ') + u'/' + locked.join(u' ');
}

// Ticks or unticks a cell as a screen reader does, through its accessibility action.
inline void toggle(QWidget *cell)
{
    QAccessible::queryAccessibleInterface(cell)->actionInterface()->doAction(
        QAccessibleActionInterface::toggleAction());
}

// Ticks or unticks a cell with Space.
inline void space(QWidget *cell)
{
    cell->setFocus();
    QTest::keyClick(cell, Qt::Key_Space);
}

inline void walk(CheckGrid *g, const QString &rowLabel, const std::function<QWidget *(int row)> &lastColumn,
                 QSet<int> &columnsSeen)
{
    auto *rows = g->findChild<QScrollBar *>(QStringLiteral("Chbvscroll"));
    auto *columns = g->findChild<QScrollBar *>(QStringLiteral("Chbhscroll"));
    const GridFigures &f = g->figures();
    for (int h = 0; h <= columns->maximum(); ++h)
        for (int v = 0; v <= rows->maximum(); ++v) {
            columns->setValue(h);
            rows->setValue(v);
            for (int r = 1; r <= g->rowCount(); ++r) {
                auto *label = g->findChild<QLabel *>(rowLabel + u'_' + QString::number(r));
                const bool rowInView = r > v && r <= v + f.rowsVisible;
                QCOMPARE(label->isVisible(), rowInView);
                if (rowInView)
                    QCOMPARE(label->pos(), Twips::point(360, f.shape.firstRowTop + (r - v - 1) * 600));
                for (int c = 1; c <= f.shape.columns; ++c) {
                    auto *header = g->findChild<QLabel *>(QStringLiteral("lbltitlearray_%1").arg(c));
                    const bool inView = c > h && c <= h + f.columnsVisible;
                    QCOMPARE(header->isVisible(), inView);
                    if (inView) {
                        columnsSeen << c;
                        QCOMPARE(header->pos(), Twips::point(2760 + (c - h - 1) * 600, 100));
                    }
                    QWidget *w = c <= GridMarks::Classes ? g->cell(r, c) : lastColumn(r);
                    QCOMPARE(w->isVisible(), inView && rowInView);
                    if (inView && rowInView)
                        QCOMPARE(w->pos(), QPoint(header->x(), label->y()));
                }
            }
        }
}

} // namespace GridProbe
