// The class label images: line splitting, where the text lands, and the files written.
#include "meetfixture.h"

#include "db/dbconnection.h"
#include "entries/frmlabelbuilder.h"

#include <QDir>
#include <QImageReader>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Columns (x) that hold at least one pixel other than the background.
QList<int> inkedColumns(const QImage &image, QRgb background)
{
    QList<int> columns;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) != background) {
                columns << x;
                break;
            }
    return columns;
}

int lowestInkedRow(const QImage &image, QRgb background)
{
    for (int y = image.height() - 1; y >= 0; --y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                return y;
    return -1;
}

} // namespace

class TstLabelBuilder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void splitLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("lines"); // the first and the second, split by '|'
        for (const auto &[name, text, lines] :
             {std::tuple{"19 characters", "Saddle Seat Pattern", "Saddle Seat Pattern|"},
              std::tuple{"20 characters", "Saddle Seat Bareback", "Saddle Seat|Bareback"},
              std::tuple{"27 characters", "Western Fitting and Showing", "Western Fitting and|Showing"},
              std::tuple{"slash kept as a word", "Western Riding / Reining", "Western Riding /|Reining"},
              std::tuple{"first word of 19", "Abcdefghijklmnopqrs tail", "|Abcdefghijklmnopqrs tail"},
              std::tuple{"first word of 25", "Abcdefghijklmnopqrstuvwxy", "|Abcdefghijklmnopqrstuvwxy"},
              std::tuple{"double blanks", "Hunt  Seat  Over  Fences", "Hunt Seat Over|Fences"}})
            QTest::newRow(name) << QString::fromLatin1(text) << QString::fromLatin1(lines);
    }
    void splitLines()
    {
        QFETCH(QString, text);
        QFETCH(QString, lines);
        const auto [first, second] = FrmLabelBuilder::splitLines(text);
        QCOMPARE(first + u'|' + second, lines);
    }

    void drawLabel_oneLineSitsLeftOfItsStart_twoLinesFillBothStrips()
    {
        const QRgb white = qRgb(255, 255, 255);
        const QImage one = FrmLabelBuilder::Draw_Label(Qt::white, "Relay Partner");
        const QList<int> oneColumns = inkedColumns(one, white);
        QVERIFY(!oneColumns.isEmpty());
        QVERIFY2(oneColumns.last() < 18, "a single line lies left of x = 275 twips");
        QVERIFY2(oneColumns.first() >= 4, "a single line is one strip wide");

        const QImage two = FrmLabelBuilder::Draw_Label(Qt::white, "Western Fitting and Showing");
        const QList<int> twoColumns = inkedColumns(two, white);
        QVERIFY2(twoColumns.last() >= 20, "line 1 runs along the right edge");
        QVERIFY2(twoColumns.first() <= 6, "line 2 runs in the strip beside it");

        // The text runs downwards from the top: a longer line reaches further down.
        QVERIFY(lowestInkedRow(FrmLabelBuilder::Draw_Label(Qt::white, "Trail"), white) <
                lowestInkedRow(one, white));
        QVERIFY(lowestInkedRow(one, white) < 100);
    }

    // The form and report versions differ in background only: the same black ink, no blending.
    void drawLabel_inkIsBlackOnEitherBackground()
    {
        const QColor form = FrmLabelBuilder::formBackground();
        const QImage a = FrmLabelBuilder::Draw_Label(form, "Hunt Seat Over Fences");
        const QImage b = FrmLabelBuilder::Draw_Label(Qt::white, "Hunt Seat Over Fences");
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x) {
                QCOMPARE(a.pixel(x, y) == form.rgb() ? qRgb(255, 255, 255) : a.pixel(x, y), b.pixel(x, y));
                QVERIFY(b.pixel(x, y) == qRgb(255, 255, 255) || b.pixel(x, y) == qRgb(0, 0, 0));
            }
    }

    void buildLabels_writesThirtySixBitmapsNamedAfterTheCatalogue()
    {
        QTemporaryDir dir;
        const QString labels = dir.filePath("LabelFiles");
        QDir().mkpath(labels);

        DbConnection conn;
        conn.open(MeetFixture::createMeet(dir.path()), DbConnection::Mode::ReadWrite);
        FrmLabelBuilder(labels).Build_Labels(conn.database());

        const QStringList files = QDir(labels).entryList(QDir::Files);
        QCOMPARE(files.filter(QRegularExpression("^(form|report).+\\.bmp$")).size(), 36);
        QCOMPARE(files.size(), 36);
        QCOMPARE(QImageReader(QDir(labels).filePath("reportT.bmp")).format(), "bmp");
        const QImage trail(QDir(labels).filePath("reportT.bmp"));
        QCOMPARE(trail, FrmLabelBuilder::Draw_Label(Qt::white, "Trail").convertToFormat(trail.format()));
        QCOMPARE(QImage(QDir(labels).filePath("formRelayPartner.bmp")).pixel(0, 0),
                 FrmLabelBuilder::formBackground().rgb());
    }
};

QTEST_MAIN(TstLabelBuilder)
#include "tst_labelbuilder.moc"
