// The figures of the scrolling check-box grid (what fits, the scroll bars, the buttons, the
// lines), without any window. What is in view at each scroll position, and how a column locks at
// its limit, are read through the real grids (gridprobe.h).
#include "shell/gridfigures.h"

#include <QtTest>

namespace {
const GridShape Entries{2175, 18};
const GridShape Judges{1875, 17};
} // namespace

class TstGridFigures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void figures_followTheWindowSize_data()
    {
        QTest::addColumn<bool>("entries");
        QTest::addColumn<int>("width"); // outer, twips
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("rows");
        // columns, rows visible; vertical, horizontal lines; line ends; bar maxima (-1: hidden)
        QTest::addColumn<QList<int>>("expected");
        // 800 x 600 pixels: the screen less 100 by 600 twips.
        QTest::newRow("entries 800x600, 12 riders")
            << true << 11900 << 8400 << 12 << QList<int>{14, 8, 14, 9, 11035, 6850, 4, 4};
        QTest::newRow("entries 800x600, 5 riders")
            << true << 11900 << 8400 << 5 << QList<int>{14, 8, 14, 6, 11035, 5050, -1, 4};
        QTest::newRow("judges 800x600, 12 judges")
            << false << 11900 << 8400 << 12 << QList<int>{14, 8, 14, 9, 11035, 6550, 4, 3};
        QTest::newRow("judges 1024x768, 3 judges")
            << false << 15260 << 10920 << 3 << QList<int>{20, 13, 18, 4, 13435, 3550, -1, -1};
        // 14.5 and 15.5 columns: halves go to the even neighbour.
        QTest::newRow("half rounds down to even")
            << false << 12235 << 8400 << 1 << QList<int>{14, 8, 14, 2, 11035, 2350, -1, 3};
        QTest::newRow("half rounds up to even")
            << false << 12835 << 8400 << 1 << QList<int>{16, 8, 16, 2, 12235, 2350, -1, 1};
    }
    void figures_followTheWindowSize()
    {
        QFETCH(bool, entries);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, rows);
        QFETCH(QList<int>, expected);
        const GridFigures f(entries ? Entries : Judges, width, height, rows);
        const auto bar = [](const GridFigures::Bar &b) { return b.shown ? b.maximum : -1; };
        QCOMPARE((QList<int>{f.columnsVisible, f.rowsVisible, f.verticalLines, f.horizontalLines,
                             f.linesRight, f.linesBottom, bar(f.vertical), bar(f.horizontal)}),
                 expected);
        QCOMPARE(f.vertical.rect, QRect(width - 405, 0, 255, height - 750));
        QCOMPARE(f.horizontal.rect, QRect(0, height - 705, width - 450, 255));
    }

    void figures_buttonsStandAboveTheScrollBarAtASixthAndTwoSixths()
    {
        const GridFigures f(Entries, 11900, 8400, 12);
        // unit = 1983 (11900 / 6 rounded); a button is 1815 wide and centred on 2 and 4 units.
        QCOMPARE(f.apply, QRect(3058, 7125, 1815, 495));
        QCOMPARE(f.cancel, QRect(7024, 7125, 1815, 495));
        QCOMPARE(f.verticalLine(2), QLine(3235, 100, 3235, 6850));
        QCOMPARE(f.horizontalLine(9), QLine(360, 6850, 11035, 6850));
        QCOMPARE(f.subtitleLine(), QLine(2635, 1750, 10435, 1750));
    }
};

QTEST_GUILESS_MAIN(TstGridFigures)
#include "tst_gridfigures.moc"
