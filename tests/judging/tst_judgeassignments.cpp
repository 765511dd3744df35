// Judge class assignments: the count rule and the division-only rewrite, the grid through the
// real windows (judge order, locks from stored rows, scrolling, Submit and Cancel, no judges),
// and the judging agenda read from its page model.
#include "gridprobe.h"
#include "meetharness.h"

#include "judging/frmjudgeassignments.h"
#include "judging/frmjudgeclassmgmt.h"
#include "judging/judgeagenda.h"
#include "reports/frmreportpreview.h"

#include <QPlainTextEdit>

class TstJudgeAssignments : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MeetHarness> m;
    FrmJudgeClassMgmt *m_hub = nullptr;
    QVector<std::int32_t> m_judges;

    FrmJudgeAssignments *grid() { return MeetHarness::window<FrmJudgeAssignments>("FrmJudgeAssignments"); }

    FrmJudgeAssignments *openGrid(const QString &division)
    {
        m_hub->Set_Division(division);
        MeetHarness::click(m_hub, "CmdAssignclasses");
        return grid();
    }

    // "judge:class" of a division, sorted.
    QStringList stored(const QString &division)
    {
        return MeetQuery::column(
            m->db(),
            "SELECT j.LastName || ':' || c.ClassNumber FROM TblClassJudges c JOIN TblJudge j "
            "ON j.JudgeID = c.JudgeID WHERE Division = ? ORDER BY 1",
            {division});
    }

private Q_SLOTS:
    void init()
    {
        m = std::make_unique<MeetHarness>();
        auto b = m->build();
        m_judges.clear();
        // Added out of name order: rows follow the judges' keys.
        for (const char *last : {"Lee", "Adams", "Marsh", "Nash", "Oakes", "Price", "Quinn", "Ross", "Shaw",
                                 "Tate", "Upton", "Vance"})
            m_judges << b.addJudge(QStringLiteral("J%1").arg(m_judges.size() + 1), last);
        b.assignJudge(m_judges[0], 4, "B");
        b.assignJudge(m_judges[2], 4, "B");
        b.assignJudge(m_judges[1], 4, "A");
        b.assignJudge(m_judges[3], 4, "A");
        m_hub = m->open<FrmJudgeClassMgmt>();
    }
    void cleanup() { m.reset(); }

    void submit_eachClassHoldsNoneOrTwo_data()
    {
        QTest::addColumn<QList<int>>("ticks"); // judge row * 100 + class
        QTest::addColumn<QString>("outcome");  // saved, refused, or failed under a forced failure
        QTest::newRow("one judge") << QList<int>{103, 204, 304} << "refused";
        QTest::newRow("three judges") << QList<int>{104, 204, 304} << "refused";
        QTest::newRow("two, and none elsewhere") << QList<int>{117, 1217} << "saved";
        QTest::newRow("failure part-way") << QList<int>{501, 601} << "failed";
    }
    void submit_eachClassHoldsNoneOrTwo()
    {
        QFETCH(QList<int>, ticks);
        QFETCH(QString, outcome);
        const JudgeAssignments assignments(m->db(), "B");
        GridMarks marks(12);
        for (int t : ticks)
            marks.set(t / 100, t % 100, true);
        const QString before = MeetFixture::dump(m->db());
        if (outcome == u"failed") {
            MeetQuery::forceFailure(
                m->db(), QStringLiteral("INSERT ON TblClassJudges WHEN NEW.JudgeID = %1").arg(m_judges[5]));
            QVERIFY_THROWS_EXCEPTION(DbError, assignments.submit(marks));
        } else {
            QCOMPARE(assignments.submit(marks).value_or(QString()),
                     outcome == u"saved" ? QString() : JudgeAssignments::WrongCount);
        }
        if (outcome == u"saved")
            QCOMPARE(stored("B"), (QStringList{"Lee:17", "Vance:17"}));
        else
            QCOMPARE(MeetFixture::dump(m->db()), before);
        QCOMPARE(stored("A"), (QStringList{"Adams:4", "Nash:4"}));
    }

    void grid_storedRowsLockAndSubmitRewritesTheDivision()
    {
        FrmJudgeAssignments *g = openGrid("B");
        QVERIFY(g && !m->main.isEnabled() && !m_hub->isEnabled());
        QCOMPARE(g->findChild<QPlainTextEdit *>("TxtTitle")->toPlainText(), "Judge Assigments Division B");
        QCOMPARE(g->findChild<QLabel *>("lblJudge_2")->text(), "J2, Adams");
        QCOMPARE(g->cell(2, 3)->accessibleName(), "J2 Adams, class 3");
        QCOMPARE(GridProbe::column(g, 4), "1 3/2 4 5 6 7 8 9 10 11 12");

        // A third judge cannot be ticked; taking one away frees the column.
        QTest::mouseClick(g->cell(2, 4), Qt::LeftButton);
        QVERIFY(!g->cell(2, 4)->isChecked());
        QTest::mouseClick(g->cell(1, 4), Qt::LeftButton);
        QCOMPARE(GridProbe::column(g, 4), "3/");
        // Ticks from a screen reader's Toggle, Space and code count as clicks do.
        GridProbe::toggle(g->cell(5, 4));
        GridProbe::space(g->cell(6, 1));
        m->confirm(g, "CmdApply");
        QCOMPARE(m->messages.last()->text, JudgeAssignments::WrongCount);
        QCOMPARE(m->messages.last()->title, MessageService::ProgramTitle);
        QCOMPARE(grid(), g);

        g->cell(7, 1)->setChecked(true);
        m->confirm(g, "CmdApply");
        QVERIFY(!grid() && m->main.isEnabled() && m_hub->isEnabled());
        QTRY_COMPARE(QApplication::focusWidget(), m_hub->findChild<QWidget *>("CmdDisplayReport"));
        QCOMPARE(stored("B"), (QStringList{"Marsh:4", "Oakes:4", "Price:1", "Quinn:1"}));
        QCOMPARE(stored("A"), (QStringList{"Adams:4", "Nash:4"}));

        g = openGrid("B");
        QCOMPARE(GridProbe::column(g, 1), "6 7/1 2 3 4 5 8 9 10 11 12");
        QCOMPARE(m->messages.unscriptedQuestions, 0);
    }

    void grid_noJudgesClosesAtOnce()
    {
        Sql::exec(m->db(), "clear", "DELETE FROM TblClassJudges");
        Sql::exec(m->db(), "clear", "DELETE FROM TblJudge");
        QVERIFY(!openGrid("B"));
        QCOMPARE(m->messages.last()->text, JudgeAssignments::NoJudges);
        QVERIFY(m->main.isEnabled() && m_hub->isEnabled());
    }

    void scrolling_labelsMoveWithTheirCellsAndEveryClassIsReached()
    {
        FrmJudgeAssignments *g = openGrid("B");
        auto *rows = g->findChild<QScrollBar *>("Chbvscroll");
        auto *columns = g->findChild<QScrollBar *>("Chbhscroll");
        QCOMPARE((QList<int>{rows->maximum(), columns->maximum()}), (QList<int>{4, 3}));
        QSet<int> columnsSeen;
        GridProbe::walk(g, "lblJudge", {}, columnsSeen);
        QCOMPARE(columnsSeen.size(), 17);
        QVERIFY(!g->findChild<QWidget *>("lbltitlearray_18"));
    }

    void agenda_byClassThenLastNameAndNothingToPrint()
    {
        auto b = m->build();
        b.assignJudge(m_judges[11], 2, "B");
        b.assignJudge(m_judges[1], 2, "B");
        const Report::Document doc = m->report(JudgeAgenda::query("B"), JudgeAgenda::RptJudgeAgenda("B"));
        QCOMPARE(doc.printedBy(u"txtTblClassClassNumber"), (QStringList{"2", "4"}));
        QCOMPARE(doc.printedBy(u"txtClassName"),
                 (QStringList{"Saddle Seat Fitting and Showing", "Saddle Seat Equitation"}));
        QCOMPARE(doc.printedBy(u"txtFirstName"),
                 (QStringList{"J2 Adams", "J12 Vance", "J1 Lee", "J3 Marsh"}));
        QCOMPARE(doc.printedBy(u"LblShow"), QStringList{"KORV State Championship, Division: B"});

        m_hub->Set_Division("C");
        MeetHarness::click(m_hub, "CmdDisplayReport");
        QCOMPARE(m->messages.last()->text, JudgeAgenda::NoAssignments);
        QVERIFY(!MeetHarness::window("FrmReportPreview"));
        m_hub->Set_Division("B");
        MeetHarness::click(m_hub, "CmdDisplayReport");
        auto *preview = MeetHarness::window<FrmReportPreview>("FrmReportPreview");
        QVERIFY(preview);
        preview->close();
        QVERIFY(!m->app.KORV.isOpen(JudgeAgenda::Command));
    }
};

QTEST_MAIN(TstJudgeAssignments)
#include "tst_judgeassignments.moc"
