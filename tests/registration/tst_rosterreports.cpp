// The roster's printed lists: what each one prints, in which order, and what happens when there
// is nothing to print. Read from the page model.
#include "meetharness.h"

#include "registration/frmcoachmgmt.h"
#include "registration/frmridermgmt.h"
#include "registration/frmteammgmt.h"
#include "registration/rosterreports.h"
#include "reports/frmreportpreview.h"

class TstRosterReports : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MeetHarness> m;

    FrmReportPreview *openPreview() { return MeetHarness::window<FrmReportPreview>("FrmReportPreview"); }

private Q_SLOTS:
    void init() { m = std::make_unique<MeetHarness>(); }
    void cleanup() { m.reset(); }

    void teamList_byDivisionThenNameWithASecurityRuleEach()
    {
        auto b = m->build();
        b.addTeam("zebra", "A");
        b.addTeam("O'Brien", "C");
        b.addTeam("Acorn", "B");
        b.addTeam("apple", "A");
        const Report::Document doc = m->report(RosterReports::teamListQuery(), RosterReports::RptTeamList());
        QCOMPARE(doc.printedBy(u"txtTeamName"), (QStringList{"apple", "zebra", "Acorn", "O'Brien"}));
        QCOMPARE(doc.printedBy(u"txtDivision"), (QStringList{"A", "A", "B", "C"}));
        QCOMPARE(doc.pages[0].byName(u"LinSecurity").size(), size_t(4));
    }

    void coachList_headCoachesFirstAndTeamsWithoutCoachesShowTheirHeader()
    {
        auto b = m->build();
        const auto blue = b.addTeam("Blue", "B");
        b.addTeam("Empty", "A");
        b.addCoach(blue, "Amy", "Adams", "Assistant Coach");
        b.addCoach(blue, "Zed", "Zorn", "Head Coach");
        const Report::Document doc =
            m->report(RosterReports::coachListQuery(), RosterReports::RptCoachList());
        QCOMPARE(doc.printedBy(u"txtTeamName"), (QStringList{"Empty", "Blue"}));
        QCOMPARE(doc.printedBy(u"txtFirstName"), (QStringList{"Zed Zorn", "Amy Adams"}));
        QCOMPARE(doc.printedBy(u"txtPosition"), (QStringList{"Head Coach", "Assistant Coach"}));
    }

    void riderListByTeam_numbersSortAsTextAndTeamlessRidersAreLeftOut()
    {
        auto b = m->build();
        const auto blue = b.addTeam("Blue", "B");
        const auto acorn = b.addTeam("Acorn", "A");
        b.addRider(blue, "Nine", "Rider", "9");
        b.addRider(blue, "Ten", "Rider", "10");
        b.addRider(acorn, "Solo", "Rider", "5");
        b.addRider(404, "Lost", "Rider", "1");
        const Report::Document doc =
            m->report(RosterReports::riderListByTeamQuery(), RosterReports::RptRiderListbyTeam());
        QCOMPARE(doc.printedBy(u"txtTeamName"), (QStringList{"Acorn", "Blue"}));
        QCOMPARE(doc.printedBy(u"txtRiderNumber"), (QStringList{"5", "10", "9"}));
        QCOMPARE(doc.printedBy(u"txtFirstName"), (QStringList{"Solo Rider", "Ten Rider", "Nine Rider"}));
    }

    // Riders numbered 8 + i: the numbers order as text, "10" before "9".
    void riderListByNumber_fillsTheLeftColumnFirst_data()
    {
        QTest::addColumn<int>("riders");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<QStringList>("right");
        QTest::newRow("one") << 1 << QStringList{"9   R1 L"} << QStringList{" "};
        QTest::newRow("five") << 5 << QStringList{"10   R2 L", "11   R3 L", "12   R4 L"}
                              << QStringList{"13   R5 L", "9   R1 L", " "};
        QTest::newRow("six") << 6 << QStringList{"10   R2 L", "11   R3 L", "12   R4 L"}
                             << QStringList{"13   R5 L", "14   R6 L", "9   R1 L"};
    }
    void riderListByNumber_fillsTheLeftColumnFirst()
    {
        QFETCH(int, riders);
        QFETCH(QStringList, left);
        QFETCH(QStringList, right);
        auto b = m->build();
        const auto team = b.addTeam("Blue", "B");
        for (int i = riders; i >= 1; --i)
            b.addRider(team, QStringLiteral("R%1").arg(i), "L", QString::number(8 + i));
        const MemoryTable table = RosterReports::riderListByNumber(m->db());
        const Report::Document doc = Report::paginate(RosterReports::RptRiderListbyNumber(), table.shaped());
        QCOMPARE(doc.printedBy(u"txtC1Rider2"), left);
        QCOMPARE(doc.printedBy(u"txtC2Rider"), right);
        QCOMPARE(doc.printedBy(u"txtC1Team").value(0), "B - Blue");
    }

    void emptyLists_sayWhyAndShowNoReport()
    {
        auto *riders = m->open<FrmRiderMgmt>();
        MeetHarness::click(riders, "CmdReportbyTeam");
        MeetHarness::click(riders, "CmdReportbyNumber");
        MeetHarness::click(m->open<FrmCoachMgmt>(), "CmdCoachReport");
        QCOMPARE(m->messages.texts(), (QStringList{"There are currently no riders entered.",
                                                   "There are no riders currently entered.",
                                                   "There are currently no coaches entered."}));
        QVERIFY(!openPreview() && !m->app.KORV.isOpen(RosterReports::CoachListCommand));
    }

    void reports_openInThePreviewAndCloseTheirCommand()
    {
        m->build().addRider(m->build().addTeam("Blue", "B"), "Ann", "Lee", "7");
        auto *teams = m->open<FrmTeamMgmt>();
        MeetHarness::click(teams, "CmdTeamReport");
        FrmReportPreview *preview = openPreview();
        QVERIFY(preview);
        QCOMPARE(preview->windowTitle(), "Team List Report");
        QVERIFY(m->app.KORV.isOpen(RosterReports::TeamListCommand));
        preview->close();
        QVERIFY(!m->app.KORV.isOpen(RosterReports::TeamListCommand));

        auto *riders = m->open<FrmRiderMgmt>();
        MeetHarness::click(riders, "CmdReportbyTeam");
        QCOMPARE(openPreview()->windowTitle(), "RptRiderListbyTeam (DataReport)");
        openPreview()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        MeetHarness::click(riders, "CmdReportbyNumber");
        QCOMPARE(openPreview()->windowTitle(), "Quendal - RptRiderListbyNumber (DataReport)");
    }
};

QTEST_MAIN(TstRosterReports)
#include "tst_rosterreports.moc"
