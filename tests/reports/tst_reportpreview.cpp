// The preview window, offscreen: its place, paging, zoom, the PDF and print paths and what its
// closing does.
#include "meetfile.h"
#include "samplereport.h"
#include "scriptedmessages.h"

#include "reports/frmreportpreview.h"
#include "reports/korvconnection.h"
#include "reports/pagepicture.h"
#include "reports/paginator.h"
#include "reports/reportpack.h"

#include "common/csv.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QPrinter>
#include <QProcess>

namespace {

const QSize Screen(12000, 9000);

Report::Document sample(int teams = 12, QPageLayout::Orientation orientation = QPageLayout::Portrait)
{
    Report::Layout layout = SampleReport::riderList();
    layout.orientation = orientation;
    return Report::paginate(layout, SampleReport::riders(teams, 6));
}

QString pdfText(const QString &path, const char *tool = "pdftotext")
{
    QProcess process;
    process.start(QString::fromLatin1(tool), tool == QByteArray("pdfinfo")
                                                 ? QStringList{"-f", "1", "-l", "9", path}
                                                 : QStringList{path, "-"});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class TstReportPreview : public QObject
{
    Q_OBJECT

private:
    ScriptedMessages m_messages;
    QPointer<FrmReportPreview> m_preview;
    QTemporaryDir m_dir;

    FrmReportPreview *open(Report::Document doc)
    {
        m_preview = new FrmReportPreview(std::move(doc), Screen, m_messages);
        m_preview->show();
        return m_preview;
    }
    template <typename T>
    T *control(const char *name)
    {
        return m_preview->findChild<T *>(QLatin1StringView(name));
    }
    void click(const char *name) { QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton); }

private Q_SLOTS:
    void cleanup()
    {
        delete m_preview;
        m_messages.clear();
    }

    void window_sizedFromTheScreenPagedAndZoomed()
    {
        open(sample());
        // ScreenWidth - 100 by ScreenHeight - 600 twips, frame included, with the outer corner at
        // 50, 50: 15 twips a pixel, halves to even.
        QCOMPARE(m_preview->frameGeometry().topLeft(), QPoint(3, 3));
        QCOMPARE(m_preview->size(), QSize(785, 532));
        QVERIFY(m_preview->isWindow() && !m_preview->isModal());

        // Paging stops at the ends.
        const int pages = m_preview->pageCount();
        QVERIFY(pages >= 3);
        auto *number = control<QLabel>("LblPageNumber");
        QCOMPARE(number->text(), QStringLiteral("Page 1 of %1").arg(pages));
        QVERIFY(!control<QAbstractButton>("CmdPreviousPage")->isEnabled());

        click("CmdNextPage");
        QCOMPARE(m_preview->currentPage(), 1);
        click("CmdLastPage");
        QCOMPARE(number->text(), QStringLiteral("Page %1 of %1").arg(pages));
        QVERIFY(!control<QAbstractButton>("CmdNextPage")->isEnabled() &&
                !control<QAbstractButton>("CmdLastPage")->isEnabled());
        click("CmdPreviousPage");
        QCOMPARE(m_preview->currentPage(), pages - 2);
        click("CmdFirstPage");
        QCOMPARE(m_preview->currentPage(), 0);
        m_preview->showPage(pages + 5);
        QCOMPARE(m_preview->currentPage(), pages - 1);

        // Zoom scales the page.
        auto *picture = control<PagePicture>("PicPage");
        control<QComboBox>("CbZoom")->setCurrentIndex(control<QComboBox>("CbZoom")->findData(100));
        QCOMPARE(picture->pageSize(), QSize(816, 1056)); // Letter at 15 twips a pixel
        m_preview->setZoom(FrmReportPreview::WholePage);
        const QSize whole = picture->pageSize();
        QVERIFY(whole.height() <= control<QWidget>("FraPage")->height());
        QVERIFY(qAbs(whole.width() * 1056 - whole.height() * 816) < 1056 * 2); // proportions kept
    }

    // Every way out takes the same path.
    void closing_closesTheCommandAndCallsTheHook_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("the window's close box") << "close box";
        QTest::newRow("its Close button") << "CmdClose";
        QTest::newRow("Escape") << "Escape";
    }
    void closing_closesTheCommandAndCallsTheHook()
    {
        QFETCH(QString, how);
        const MeetFile meet;
        KORVConnection korv;
        korv.setDataSource(meet.path());
        korv.setCommand(SampleReport::riderQuery());
        korv.open("RiderListbyTeam");
        open(Report::paginate(SampleReport::riderList(), korv.rows("RiderListbyTeam")));
        m_preview->closeCommandOnClose(korv, "RiderListbyTeam");
        QStringList hooks; // whether the command was still open when the hook ran
        connect(m_preview, &FrmReportPreview::closed, this,
                [&] { hooks << (korv.isOpen("RiderListbyTeam") ? "open" : "closed"); });
        if (how == u"close box") {
            QVERIFY(m_preview->close());
        } else if (how == u"Escape") {
            m_preview->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(m_preview));
            QTest::keyClick(m_preview, Qt::Key_Escape);
        } else {
            click("CmdClose");
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(m_preview.isNull());
        QCOMPARE(hooks, QStringList{"closed"});
    }

    void saveAsPdf_suggestsTheTitleAndReportsFailure()
    {
        open(sample(2));
        QString suggested;
        const QString chosen = m_dir.filePath("riders");
        m_preview->setSavePathChooser([&](const QString &s) {
            suggested = s;
            return chosen;
        });
        click("CmdSaveAsPdf");
        QCOMPARE(QFileInfo(suggested).fileName(), "Complete Rider's List.pdf");
        QVERIFY(pdfText(chosen + ".pdf").contains("Rider 1 of Team 1"));
        QVERIFY(m_messages.log.isEmpty());

        m_preview->setSavePathChooser([&](const QString &) { return m_dir.filePath("missing/riders.pdf"); });
        click("CmdSaveAsPdf");
        QCOMPARE(m_messages.log.size(), 1);
        QCOMPARE(m_messages.last()->kind, ScriptedMessages::Kind::Fail);
        QVERIFY(m_messages.last()->text.contains("riders.pdf"));

        m_preview->setSavePathChooser([](const QString &) { return QString(); }); // cancelled
        click("CmdSaveAsPdf");
        QCOMPARE(m_messages.log.size(), 1);
    }

    void exportCsv_readsBackAsTheReportsRows()
    {
        ResultRows flat{{"Person", "RiderNumber", "TeamName", "Division", "Points"},
                        {{"O'Brien, \"Pat\"", "1", "Zoë's Team", "A", 10.0},
                         {"Two\nLines", "2", "Zoë's Team", "A", 9.0},
                         {"=HYPERLINK(\"http://x\")", "3", "Team, Two", "B", -2.0}}};
        open(Report::paginate(SampleReport::riderList(),
                              Shaping::groupBy(ShapedRows::flat(flat), {"TeamName", "Division"}, "Teams")));
        QString suggested;
        m_preview->setSavePathChooser([&](const QString &s) {
            suggested = s;
            return m_dir.filePath("riders");
        });
        click("CmdExportCsv");
        QCOMPARE(QFileInfo(suggested).fileName(), "Complete Rider's List.csv");

        const Report::Table &table = m_preview->document().table;
        QCOMPARE(table.columns, QStringList({"Division", "TeamName", "Rider #", "Name", "Points"}));
        QCOMPARE(table.rows.front(), QStringList({"A", "Zoë's Team", "1", "O'Brien, \"Pat\"", "10"}));
        QFile file(m_dir.filePath("riders.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QVERIFY2(bytes.contains(",\"'=HYPERLINK(\"\"http://x\"\")\",'-2\r\n"), bytes.constData()); // guarded
        QVector<QStringList> read;
        for (const Csv::Record &record : Csv::read(bytes).records)
            read << record.fields;
        QCOMPARE(read, QVector<QStringList>{table.columns} + table.rows);
    }

    void print_turnsEachPageAndPrintsTheChosenOnes()
    {
        Report::Layout landscape = SampleReport::riderList();
        landscape.orientation = QPageLayout::Landscape;
        Report::Pack pack("Pack", "Pack");
        pack.add(SampleReport::riderList(), SampleReport::riders(1, 6));
        pack.add(landscape, SampleReport::riders(12, 6));
        open(pack.document());
        const int pages = m_preview->pageCount();
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_dir.filePath("printed.pdf"));
        m_preview->preparePrinter(printer);
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Portrait);
        printer.setFromTo(1, 2);
        QVERIFY(m_preview->print(printer));

        // Page 2 opens the landscape part.
        const QString info = pdfText(printer.outputFileName(), "pdfinfo");
        QVERIFY(info.contains(QRegularExpression("Pages:\\s+2\\n")));
        QVERIFY(info.contains(QRegularExpression("Page +1 size: +612 x 792 pts")));
        QVERIFY(info.contains(QRegularExpression("Page +2 size: +792 x 612 pts")));
        const QString text = pdfText(printer.outputFileName());
        QVERIFY(text.contains(QStringLiteral("Page 2 of %1").arg(pages)));
        QVERIFY(!text.contains(QStringLiteral("Page 3 of")));
    }
};

QTEST_MAIN(TstReportPreview)
#include "tst_reportpreview.moc"
