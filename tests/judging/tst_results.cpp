// Team standings, rider results and judges' cards: what each computes and prints, read from
// the tables and the page model.
#include "meetharness.h"
#include "printfit.h"

#include "db/classcatalogue.h"
#include "judging/judgescards.h"
#include "judging/placingsreports.h"
#include "judging/riderresults.h"
#include "judging/rptteamstandings.h"
#include "judging/standingstable.h"

#include <map>

namespace {

// One standings row as "Name Total class:places:points ...", classes without placings left out
// (after checking that both of their columns are blank).
QString standingsLine(const MemoryTable &t, int row)
{
    QString line = t.value(row, u"TeamName").toString() + u' ' + t.value(row, u"TotalPoints").toString();
    for (int n = 1; n <= StandingsTable::Classes; ++n) {
        const QString places = t.value(row, QStringLiteral("Placings%1").arg(n)).toString();
        const QString points = t.value(row, QStringLiteral("Points%1").arg(n)).toString();
        if (places == u" " && points == u" ")
            continue;
        line += QStringLiteral(" %1:%2:%3").arg(n).arg(places, points);
    }
    return line;
}

} // namespace

class TstResults : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MeetHarness> m;

private Q_SLOTS:
    void init() { m = std::make_unique<MeetHarness>(); }
    void cleanup() { m.reset(); }

    // teams: "Name Division rider...". placings: "rider class place judge [division]", division A
    // unless given; "a1+a2" is a relay entry of a1 with partner a2. expected: the standings of
    // division A in order, or the message when there are none.
    void standings_data()
    {
        QTest::addColumn<QStringList>("teams");
        QTest::addColumn<QStringList>("placings");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("no placing: at the foot with 0, by name")
            << QStringList{"Zed A z1", "Able A a1", "Mid A m1"} << QStringList{"m1 1 5 J1"}
            << QStringList{"Mid 6 1:5:6", "Able 0", "Zed 0"};
        QTest::newRow("equal totals by name")
            << QStringList{"Bravo A b1", "Alpha A a1"} << QStringList{"b1 1 1 J1", "a1 2 1 J1"}
            << QStringList{"Alpha 10 2:1:10", "Bravo 10 1:1:10"};
        QTest::newRow("first by both judges")
            << QStringList{"Alpha A a1"} << QStringList{"a1 3 1 J1", "a1 3 1 J2"}
            << QStringList{"Alpha 20 3:1,1:20"};
        QTest::newRow("places ascending")
            << QStringList{"Alpha A a1 a2"} << QStringList{"a1 4 5 J1", "a2 4 2 J1"}
            << QStringList{"Alpha 15 4:2,5:15"};
        QTest::newRow("other divisions never count")
            << QStringList{"Alpha A a1", "Alpha B x1"}
            << QStringList{"a1 1 3 J1", "x1 1 1 J1 B", "a1 2 1 J1 B"} << QStringList{"Alpha 8 1:3:8"};
        QTest::newRow("a relay counts once") << QStringList{"Alpha A a1 a2"} << QStringList{"a1+a2 17 1 J1"}
                                             << QStringList{"Alpha 10 17:1:10"};
        QTest::newRow("two teams of one name stay apart")
            << QStringList{"Bravo A b1", "Bravo A c1"} << QStringList{"b1 2 1 J1", "c1 1 2 J1"}
            << QStringList{"Bravo 10 2:1:10", "Bravo 9 1:2:9"};
        QTest::newRow("a moved team disturbs no other")
            << QStringList{"Alpha A a1", "Moved B m1", "Zulu A z1"}
            << QStringList{"a1 1 1 J1", "m1 2 2 J1", "z1 3 3 J1", "z1 3 6 J2"}
            << QStringList{"Zulu 13 3:3,6:13", "Alpha 10 1:1:10"};
        QTest::newRow("no team") << QStringList{"Alpha B a1"} << QStringList{"a1 1 1 J1 B"}
                                 << QStringList{StandingsTable::NoTeams};
        QTest::newRow("no placing in the division") << QStringList{"Alpha A a1"} << QStringList{"a1 1 1 J1 B"}
                                                    << QStringList{StandingsTable::NoPlacings};
    }
    void standings()
    {
        QFETCH(QStringList, teams);
        QFETCH(QStringList, placings);
        QFETCH(QStringList, expected);
        auto b = m->build();
        std::map<QString, std::int32_t> riders;
        for (const QString &team : teams) {
            const QStringList words = team.split(u' ');
            const auto code = b.addTeam(words[0], words[1]);
            for (const QString &rider : words.mid(2))
                riders[rider] = b.addRider(code, rider, "Rider");
        }
        const std::map<QString, std::int32_t> judges{{"J1", b.addJudge("Ann", "One")},
                                                     {"J2", b.addJudge("Bob", "Two")}};
        for (const QString &placing : placings) {
            const QStringList words = placing.split(u' ');
            const QStringList pair = words[0].split(u'+');
            if (pair.size() == 2)
                b.addPairing(riders.at(pair[0]), riders.at(pair[1]));
            b.addPlacing(words[1].toInt(), words[2].toInt(), riders.at(pair[0]), words.value(4, "A"),
                         judges.at(words[3]));
        }
        const StandingsTable standings = StandingsTable::Build_Standings(m->db(), "A");
        QStringList lines;
        for (int r = 0; r < standings.rows.size(); ++r)
            lines << standingsLine(standings.rows, r);
        if (!standings.nothing.isEmpty())
            lines << standings.nothing;
        QCOMPARE(lines, expected);
    }

    void riderResults_teamsByDivisionRidersByNumberALinePerJudgeAndBothSums()
    {
        auto b = m->build();
        const auto zeta = b.addTeam("Zeta", "B");
        const auto alpha = b.addTeam("Alpha", "B");
        b.addTeam("Omega", "A");
        const auto nine = b.addRider(alpha, "Nine", "Rider", "9");
        const auto ten = b.addRider(alpha, "Ten", "Rider", "10");
        b.addRider(alpha, "Idle", "Rider", "2");
        const auto zed = b.addRider(zeta, "Zed", "Rider", "1");
        const auto ann = b.addJudge("Ann", "Judge");
        const auto bob = b.addJudge("Bob", "Judge");
        b.addPlacing(3, 4, nine, "B", bob);
        b.addPlacing(3, 1, nine, "B", ann);
        b.addPlacing(1, 2, ten, "B", ann);
        b.addPlacing(5, 10, zed, "B", bob);

        const Report::Document doc = m->report(RiderResults::query(), RiderResults::RptIndividualResults());
        QCOMPARE(doc.printedBy(u"txtTeamName"), (QStringList{"Omega", "Alpha", "Zeta"}));
        QCOMPARE(doc.printedBy(u"txtDivision"), (QStringList{"A", "B", "B"}));
        QCOMPARE(doc.printedBy(u"txtRiderNumber"), (QStringList{"10", "2", "9", "1"}));
        QCOMPARE(doc.printedBy(u"txtFirstName"),
                 (QStringList{"Ten Rider", "Idle Rider", "Nine Rider", "Zed Rider"}));
        QCOMPARE(doc.printedBy(u"txtTblPlacingClassNumber"), (QStringList{"1", "3", "3", "5"}));
        QCOMPARE(doc.printedBy(u"txtClassName").value(3),
                 QString::fromLatin1(ClassCatalogue::rows()[4].name));
        QCOMPARE(doc.printedBy(u"txtJudge"),
                 (QStringList{"Ann Judge", "Ann Judge", "Bob Judge", "Bob Judge"}));
        QCOMPARE(doc.printedBy(u"txtPlace"), (QStringList{"2", "1", "4", "10"}));
        QCOMPARE(doc.printedBy(u"txtPoints"), (QStringList{"9", "10", "7", "1"}));
        QCOMPARE(doc.printedBy(u"txtRiderTotal"), (QStringList{"9", "0", "17", "1"}));
        QCOMPARE(doc.printedBy(u"txtTeamTotal"), (QStringList{"0", "26", "1"}));
        QCOMPARE(doc.pages.size(), size_t(3)); // a page for each team
    }

    // Names of the most characters stored wrap on paper; nothing that tells a line apart is cut.
    void reports_printTheLongestNamesWhole()
    {
        auto b = m->build();
        const QString teamName = PrintFit::longest("Cedar Ridge");
        const auto team = b.addTeam(teamName, "A");
        const auto rider = b.addRider(team, PrintFit::longest("Annabel"), PrintFit::longest("Lee"), "101");
        b.addPairing(rider, b.addRider(team, PrintFit::longest("Bo"), PrintFit::longest("Kay"), "102"));
        const auto judge = b.addJudge(PrintFit::longest("Jo"), PrintFit::longest("Judge"));
        for (const int place : {1, 2, 3, 4, 5, 6, 7, 8})
            b.addPlacing(place % 2 ? 3 : 17, place, rider, "A", judge);

        const QStringList lines{"txtPlace",         "txtRiderNumber", "txtRider", "txtTeamName",
                                "txtPartnerNumber", "txtPartner",     "txtJudge"};
        QString cut;
        for (const int c : {3, 17})
            cut += PrintFit::cut(m->report(PlacingsReports::placingsQuery(c, "A"),
                                           PlacingsReports::placingsLayout(c, "Class", "A")),
                                 lines);
        cut += PrintFit::cut(m->report(RiderResults::query(), RiderResults::RptIndividualResults()),
                             {"txtTeamName", "txtDivision", "txtRiderNumber", "txtFirstName", "txtJudge"});
        const Report::Document standings = Report::paginate(
            RptTeamStandings::layout("A"), StandingsTable::Build_Standings(m->db(), "A").rows.shaped());
        cut += PrintFit::cut(standings, {"txtTeamName", "Text1", "txtPlacings3", "txtPoints3", "TxtTotals"});
        QCOMPARE(cut, QString());
        // The standings' frames grow around the wrapped name.
        const Report::Page &page = standings.pages.at(0);
        QCOMPARE(page.byName(u"txtTeamName").at(0)->text, teamName);
        QVERIFY(page.byName(u"ShpTeam").at(0)->rect.contains(page.byName(u"txtTeamName").at(0)->rect));
    }

    void riderResults_aPageRunOntoIsHeadedByItsTeamAndRider()
    {
        auto b = m->build();
        const auto rider = b.addRider(b.addTeam("Alpha", "B"), "Nine", "Rider", "9");
        for (const auto judge : {b.addJudge("Ann", "Judge"), b.addJudge("Bob", "Judge")})
            for (int c = 1; c <= 17; ++c)
                for (const int place : {1, 2})
                    b.addPlacing(c, place, rider, "B", judge);
        const Report::Document doc = m->report(RiderResults::query(), RiderResults::RptIndividualResults());
        QCOMPARE(doc.pages.size(), size_t(2));
        for (const Report::Page &page : doc.pages)
            QCOMPARE(QStringList(page.texts().mid(1, 3)), (QStringList{"Alpha", "B", "9"}));
        QCOMPARE(doc.printedBy(u"txtFirstName"), (QStringList{"Nine Rider", "Nine Rider"}));
    }

    void judgesCards_twoPerClassThreeALineTheDivisionOnEach()
    {
        const MemoryTable cards = JudgesCards::Build_Cards(m->db(), "C");
        QStringList got, expected;
        for (int r = 0; r < cards.size(); ++r)
            for (int c = 1; c <= 3; ++c)
                got << QStringList{cards.value(r, QStringLiteral("C%1Division").arg(c)).toString(),
                                   cards.value(r, QStringLiteral("C%1ClassNumber").arg(c)).toString(),
                                   cards.value(r, QStringLiteral("C%1ClassName").arg(c)).toString()}
                           .join(u'|');
        for (const ClassCatalogue::ClassRow &cls : ClassCatalogue::rows())
            expected << QStringList(
                2, QStringLiteral("C|%1|%2").arg(cls.number).arg(QLatin1StringView(cls.name)));
        expected << QStringLiteral(" | | ") << QStringLiteral(" | | ");
        QCOMPARE(got, expected);

        const Report::Document doc = Report::paginate(JudgesCards::RptJudgesCards("C"), cards.shaped());
        QCOMPARE(doc.orientation, QPageLayout::Landscape);
        QCOMPARE(doc.pages.size(), size_t(6)); // two lines of cards a page
        QStringList divisions = doc.printedBy(u"txtC1Division") + doc.printedBy(u"txtC2Division") +
                                doc.printedBy(u"txtC3Division");
        QCOMPARE(divisions.count("C"), 34);
        QCOMPARE(doc.pages[0].texts().count("Divsion:"), 6);
    }
};

QTEST_MAIN(TstResults)
#include "tst_results.moc"
