// The PDF of a report: written whole or not at all, its texts still text, in print order.
#include "samplereport.h"

#include "reports/paginator.h"
#include "reports/reportpack.h"
#include "reports/reportpdf.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class TstReportPdf : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pdf_holdsTheTextsInPrintOrder()
    {
        QTemporaryDir dir;
        Report::Layout layout = SampleReport::riderList();
        layout.setCaption(u"ReportHeader", u"LblShow", "KORV State Championship");
        const Report::Document doc = Report::paginate(layout, SampleReport::riders(12, 6));
        QVERIFY(doc.pages.size() >= 3);
        const QString path = dir.filePath(Report::suggestedFileName(doc, ".pdf"));

        QCOMPARE(Report::writePdf(doc, path), std::nullopt);
        QVERIFY(run("pdfinfo", {path}).contains(QRegularExpression("Title:\\s+Complete Rider's List")));

        // Every text of the page model, page by page, in the order it was painted.
        const QStringList pages = run("pdftotext", {"-raw", path, "-"}).split(u'\f');
        QCOMPARE(pages.size(), qsizetype(doc.pages.size()) + 1); // each page ends in a form feed
        for (std::size_t p = 0; p < doc.pages.size(); ++p) {
            const QString text = pages[qsizetype(p)].simplified();
            qsizetype at = 0;
            for (const QString &expected : doc.pages[p].texts()) {
                if (expected.isEmpty())
                    continue;
                const qsizetype found = text.indexOf(expected, at);
                QVERIFY2(found >= 0,
                         qPrintable(QStringLiteral("page %1 lacks \"%2\"").arg(p + 1).arg(expected)));
                at = found + expected.size();
            }
        }
    }

    void failedWrite_leavesNoFileAndSaysWhy()
    {
        QTemporaryDir dir;
        const Report::Document doc = Report::paginate(SampleReport::riderList(), SampleReport::riders(1, 1));
        const QString path = dir.filePath("no such folder/list.pdf");
        const auto error = Report::writePdf(doc, path);
        QVERIFY(error.has_value() && error->contains("list.pdf"));
        QVERIFY(!QFileInfo::exists(path));
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    }

    void pack_pagesKeepTheirOwnPaper()
    {
        QTemporaryDir dir;
        Report::Layout landscape = SampleReport::riderList();
        landscape.orientation = QPageLayout::Landscape;
        Report::Pack pack("Pack", "Pack");
        pack.add(SampleReport::riderList(), SampleReport::riders(1, 1));
        pack.add(landscape, SampleReport::riders(1, 1));
        const QString path = dir.filePath("pack.pdf");
        QCOMPARE(Report::writePdf(pack.document(), path), std::nullopt);
        const QString info = run("pdfinfo", {"-f", "1", "-l", "2", path});
        QVERIFY(info.contains(QRegularExpression("Page +1 size: +612 x 792 pts")));
        QVERIFY(info.contains(QRegularExpression("Page +2 size: +792 x 612 pts")));
    }
};

QTEST_MAIN(TstReportPdf)
#include "tst_reportpdf.moc"
