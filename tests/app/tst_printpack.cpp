// The Print Pack screen: what each pack of a division holds, where each of its reports starts,
// its pages numbered through; a pack with nothing in it; the results published from it.
#include "meetharness.h"

#include "app/frmprintpack.h"
#include "app/frmpublishresults.h"
#include "app/printpack.h"
#include "db/classtable.h"
#include "db/fileengine.h"
#include "judging/meetcheck.h"
#include "judging/placingsreports.h"
#include "judging/resultspages.h"
#include "judging/riderresults.h"
#include "judging/standingstable.h"
#include "registration/rosterreports.h"
#include "reports/frmreportpreview.h"

#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include <sqlite3.h>

namespace {

// The pack in the preview that opened.
Report::Document openedPack()
{
    auto *preview = MeetHarness::window<FrmReportPreview>("FrmReportPreview");
    return preview ? preview->document() : Report::Document{};
}

QStringList partTitles(const Report::Document &pack)
{
    QStringList out;
    for (const auto &part : pack.parts)
        out << part.title;
    return out;
}

// "Page 1 of n" .. "Page n of n", one a page.
QStringList numberedThrough(const Report::Document &pack)
{
    QStringList out;
    for (std::size_t p = 1; p <= pack.pages.size(); ++p)
        out << QStringLiteral("Page %1 of %2").arg(p).arg(pack.pages.size());
    return out;
}

// The reads of the meet file while a trace is on, and those among them that ran outside a
// transaction.
struct ReadTrace
{
    int reads = 0;
    QStringList outside;

    static int seen(unsigned, void *trace, void *statement, void *)
    {
        auto *t = static_cast<ReadTrace *>(trace);
        auto *s = static_cast<sqlite3_stmt *>(statement);
        if (!QByteArray(sqlite3_sql(s)).trimmed().toUpper().startsWith("SELECT"))
            return 0;
        ++t->reads;
        if (sqlite3_get_autocommit(sqlite3_db_handle(s)))
            t->outside << QString::fromUtf8(sqlite3_sql(s)).left(60);
        return 0;
    }
};

} // namespace

class TstPrintPack : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MeetHarness> m;

private Q_SLOTS:
    void init() { m = std::make_unique<MeetHarness>(); }
    void cleanup() { m.reset(); }

    void classSheets_aSheetPerSplitOfEveryEnteredClass()
    {
        auto b = m->build();
        b.addEnteredTeam("Blue", "B", 6, 1);
        b.addEnteredTeam("Gold", "B", 6, 20);
        b.addEnteredTeam("Other", "A", 6, 40);
        auto *screen = m->open<FrmPrintPack>("B");
        screen->findChild<QSpinBox *>("TxtSplits_1")->setValue(3);
        screen->findChild<QSpinBox *>("TxtSplits_14")->setValue(2);
        m->click(screen, "CmdSequential");

        const Report::Document pack = openedPack();
        const QVector<StoredClass> classes = ClassTable::read(m->db());
        QStringList expected;
        for (const StoredClass &cls : classes) {
            const int splits = cls.number == 1 ? 3 : cls.number == 14 ? 2 : 1;
            for (int s = 1; s <= splits; ++s)
                expected << QStringLiteral("Rider List for Division B, Class: ") + ClassTable::line(cls) +
                                (splits > 1 ? QStringLiteral(", (Split: %1)").arg(s) : QString());
        }
        QCOMPARE(partTitles(pack), expected);
        // Each sheet opens a page of its own, and the pages are numbered through the pack.
        for (const auto &part : pack.parts)
            QCOMPARE(pack.pages[std::size_t(part.firstPage)].byName(u"RhTitle").front()->text, part.title);
        QCOMPARE(pack.printedBy(u"LblPackPage"), numberedThrough(pack));
        // The relay's "Rider#" shares the others' "Rider #".
        QCOMPARE(pack.table.columns, QStringList({"Report", "Rider #", "Firstname", "LastName", "TeamName",
                                                  "Partner #", "Partner Firstname", "Partner LastName"}));

        // The three splits of class 1 hold the division's riders of the class, nobody twice.
        const QString entered = screen->findChild<QLabel *>("LblEntries_1")->text();
        QCOMPARE(entered, QString::number(2 * classes[0].maxEntries));
        QStringList riders;
        for (const QStringList &row : pack.table.rows)
            if (row[0].startsWith(expected[0].chopped(2)))
                riders << row[pack.table.columns.indexOf("Rider #")];
        QCOMPARE(riders.size(), entered.toInt());
        QCOMPARE(QSet<QString>(riders.begin(), riders.end()).size(), riders.size());
    }

    void placingsPack_everyPlacedClassInClassOrder()
    {
        auto b = m->build();
        const auto blue = b.addTeam("Blue", "A");
        const auto ann = b.addRider(blue, "Ann", "Lee", "10");
        const auto eve = b.addRider(b.addTeam("Red", "B"), "Eve", "Kim", "5");
        const auto smith = b.addJudge("Zoe", "Smith");
        b.addPlacing(3, 1, ann, "A", smith);
        b.addPlacing(1, 2, ann, "A", smith);
        b.addPlacing(2, 1, eve, "B", smith);
        b.addPairing(ann, b.addRider(blue, "Cy", "Pax", "12"));
        b.addPlacing(17, 1, ann, "A", smith);
        m->click(m->open<FrmPrintPack>("A"), "CmdPlacingsPack");

        const Report::Document pack = openedPack();
        const QVector<StoredClass> classes = ClassTable::read(m->db());
        QStringList expected;
        for (const int n : {1, 3, 17})
            expected << QStringLiteral("Class Placings Report - Division A, Class %1 - %2")
                            .arg(n)
                            .arg(classes[n - 1].name);
        QCOMPARE(partTitles(pack), expected);
        QCOMPARE(pack.parts[1].firstPage, 1);
        QCOMPARE(pack.pages[1].byName(u"LblTitle").front()->text,
                 expected[1].mid(expected[1].indexOf("Division")));
        QCOMPARE(pack.printedBy(u"LblPackPage"), numberedThrough(pack));
        // The relay's team shares the others' column.
        QCOMPARE(pack.table.columns, QStringList({"Report", "Judge", "Place", "Rider #", "Name", "Team",
                                                  "Partner #", "Partner Name"}));
    }

    void cardsPack_theCardsThenEachTeamsSlotSheet()
    {
        auto b = m->build();
        b.addEnteredTeam("Blue", "C", 3, 1);
        b.addEnteredTeam("Gold", "C", 3, 10);
        b.addTeam("Empty", "C");
        m->click(m->open<FrmPrintPack>("C"), "CmdCardsPack");

        const Report::Document pack = openedPack();
        QCOMPARE(partTitles(pack), QStringList({"Judges Cards C", "Slot Sheets"}));
        // 34 cards, six to a page; then a page for each team with riders.
        QCOMPARE(pack.parts[1].firstPage, 6);
        QCOMPARE(int(pack.pages.size()), 8);
        QCOMPARE(pack.pages[6].byName(u"txtTeamName").front()->text, "Blue");
        QCOMPARE(pack.pages[7].byName(u"txtTeamName").front()->text, "Gold");
        for (const Report::Page &page : pack.pages)
            QCOMPARE(page.orientation, QPageLayout::Landscape);
        QCOMPARE(pack.printedBy(u"LblPackPage"), numberedThrough(pack));
    }

    // Every report that reads the meet more than once reads it in one transaction: a save of
    // another program or station never falls between its reads.
    void reportsOfSeveralReads_readInOneTransaction()
    {
        auto b = m->build();
        b.addEnteredTeam("Blue", "A", 4, 1);
        const QSqlDatabase db = m->db();
        const std::vector<std::pair<const char *, std::function<void()>>> reports{
            {"standings", [&] { StandingsTable::Build_Standings(db, "A"); }},
            {"rider results", [&] { RiderResults::query().run(db); }},
            {"coach list", [&] { RosterReports::coachListQuery().run(db); }},
            {"meet check", [&] { MeetCheck::run(db, {}); }},
            {"class sheets", [&] { PrintPack::classSheets(db, "A", {}, RunningOrder::Order::Random); }},
            {"placings pack", [&] { PrintPack::placings(db, "A"); }},
            {"cards pack", [&] { PrintPack::cardsAndSlotSheets(db, "A", m->dir.path()); }},
            {"results pages", [&] { ResultsPages::build(db, QDateTime::currentDateTime()); }},
        };
        for (const auto &[name, build] : reports) {
            ReadTrace trace;
            sqlite3_trace_v2(FileEngine::handle(db), SQLITE_TRACE_STMT, &ReadTrace::seen, &trace);
            build();
            sqlite3_trace_v2(FileEngine::handle(db), 0, nullptr, nullptr);
            QVERIFY2(trace.reads >= 2 && trace.outside.isEmpty(),
                     qPrintable(QStringLiteral("%1: %2 reads, outside: %3")
                                    .arg(name)
                                    .arg(trace.reads)
                                    .arg(trace.outside.join(" | "))));
        }
    }

    void emptyPack_saysWhyAndOpensNothing_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("message");
        QTest::newRow("class sheets") << "CmdRandom" << PrintPack::NoEntries;
        QTest::newRow("placings") << "CmdPlacingsPack" << StandingsTable::NoPlacings;
    }
    void emptyPack_saysWhyAndOpensNothing()
    {
        QFETCH(QString, button);
        QFETCH(QString, message);
        m->build().addRider(m->build().addTeam("Blue", "A"), "Ann", "Lee", "1");
        m->click(m->open<FrmPrintPack>("A"), button);
        QCOMPARE(m->messages.log.size(), 1);
        QCOMPARE(m->messages.last()->text, message);
        QVERIFY(!MeetHarness::window("FrmReportPreview"));
    }

    // The Publish Results window: now, with a message; every few minutes, the window saying when and
    // what went wrong, writing only when the meet changed and trying a failure again; the poster.
    void publishResults_nowEveryFewMinutesAndThePoster()
    {
        auto b = m->build();
        const auto rider = b.addRider(b.addTeam("Blue", "A"), "Ann", "Lee", "1");
        const auto judge = b.addJudge("Al", "Judge");
        m->click(m->open<FrmPrintPack>("A"), "CmdPublish");
        auto *w = MeetHarness::window<FrmPublishResults>("FrmPublishResults");
        QVERIFY(w);
        const QString folder = m->dir.filePath("results");
        w->findChild<QLineEdit *>("TxtFolder")->clear();
        m->click(w, "CmdPublishNow");
        QCOMPARE(m->messages.last()->text, "Choose the folder to publish the results into.");
        w->findChild<QLineEdit *>("TxtFolder")->setText(folder);
        m->click(w, "CmdPublishNow");
        QVERIFY(m->messages.last()->text.startsWith("Published 4 pages of results"));
        QVERIFY(QFileInfo::exists(folder + "/standings-A.html"));

        const int told = m->messages.log.size();
        QCOMPARE(w->findChild<QSpinBox *>("TxtMinutes")->value(), 2);
        m->click(w, "CmdLive");
        QVERIFY(w->isLive() && w->timer().isActive());
        QCOMPARE(w->timer().interval(), 2 * 60 * 1000);
        const auto last = [&] { return w->findChild<QLabel *>("LblLast")->text(); };
        const auto problem = [&] { return w->findChild<QLabel *>("LblProblem")->text(); };
        QVERIFY2(last().contains("Published 4 pages"), qPrintable(last()));
        const quint64 written = MeetQuery::identity(folder);
        w->Publish_Tick(); // the meet at rest: nothing written
        QCOMPARE(MeetQuery::identity(folder), written);
        QVERIFY(last().contains("nothing new"));

        MeetQuery::writeFile(folder + "/letter.txt", "the user's");
        b.addPlacing(1, 1, rider, "A", judge);
        w->Publish_Tick();
        QVERIFY2(problem().contains("not written there by"), qPrintable(problem()));
        QFile::remove(folder + "/letter.txt");
        w->Publish_Tick();
        QVERIFY(problem().isEmpty());
        QVERIFY(MeetQuery::identity(folder) != written);
        QCOMPARE(m->messages.log.size(), told); // never a message while publishing every few minutes
        m->click(w, "CmdLive");
        QVERIFY(!w->isLive() && !w->timer().isActive());

        w->findChild<QLineEdit *>("TxtAddress")->setText("results.example.org");
        m->click(w, "CmdPoster");
        QCOMPARE(m->messages.last()->kind, ScriptedMessages::Kind::Refuse);
        w->findChild<QLineEdit *>("TxtAddress")->setText("https://results.example.org/");
        m->click(w, "CmdPoster");
        const Report::Document poster = openedPack();
        QCOMPARE(poster.pages.size(), std::size_t(1));
        QCOMPARE(poster.printedBy(u"LblAddress"), QStringList{"https://results.example.org/"});
        QCOMPARE(poster.pages[0].byName(u"ImgCode").front()->kind, Report::Primitive::Kind::Image);
    }
};

QTEST_MAIN(TstPrintPack)
#include "tst_printpack.moc"
