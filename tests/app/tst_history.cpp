// The History window: the journal's lines chosen by what and station, a line's rows before and
// after, Put Back from the window (and the later line shown when it is refused), and the report.
#include "meetharness.h"

#include "app/frmhistory.h"
#include "judging/placingcard.h"
#include "registration/teamroster.h"
#include "reports/frmreportpreview.h"

#include <QDateEdit>

class TstHistory : public QObject
{
    Q_OBJECT

    std::unique_ptr<MeetHarness> h;
    std::int32_t ann = 0, bo = 0;

    void placeClassOne(int first)
    {
        PlacingCard card(h->db(), "A", 1);
        QCOMPARE(card.load(), PlacingCard::Opening::Ready);
        PlacingCard::Card marks{};
        marks[0][0] = marks[1][0] = first;
        card.save(marks);
    }
    QTreeWidget *list(QWidget *w, const char *name) { return w->findChild<QTreeWidget *>(name); }
    QStringList column(QTreeWidget *t, int c)
    {
        QStringList out;
        for (int i = 0; i < t->topLevelItemCount(); ++i)
            out << t->topLevelItem(i)->text(c);
        return out;
    }

private Q_SLOTS:
    void init()
    {
        h = std::make_unique<MeetHarness>();
        MeetBuilder b = h->build();
        const auto blue = b.addTeam("Blue", "A");
        ann = b.addRider(blue, "Ann", "Lee", "1");
        bo = b.addRider(blue, "Bo", "Brown", "2");
        for (auto j : {b.addJudge("Jo", "Abel"), b.addJudge("Kim", "Baker")})
            b.assignJudge(j, 1, "A");
        b.enterEveryRider(1, "A");
        Journal::setStation("Entry Booth 2");
        placeClassOne(1);
        Journal::setStation("Registration");
        TeamRoster(h->db()).save({-1, "Grey", "B", "1", "4"});
        Journal::setStation("Entry Booth 2");
        placeClassOne(2);
    }
    void cleanup() { h.reset(); }

    void lines_newestFirst_chosenByWhatAndStation_detailSideBySide()
    {
        FrmHistory *w = FrmHistory::open(h->app, &h->main);
        QTreeWidget *lines = list(w, "LvLines");
        QCOMPARE(column(lines, 0), (QStringList{"3", "2", "1"}));
        QCOMPARE(column(lines, 2), (QStringList{"Entry Booth 2", "Registration", "Entry Booth 2"}));
        QVERIFY(lines->topLevelItem(0)->data(0, Qt::AccessibleTextRole).toString().startsWith("Line 3, "));
        QCOMPARE(column(lines, 1)[0],
                 Journal::lines(h->db()).first().savedAt.toLocalTime().toString("yyyy-MM-dd HH:mm:ss"));

        // The newest line's detail: class 1's placings before and after, the changed rows marked.
        QCOMPARE(list(w, "GrdBefore")->topLevelItemCount(), 2);
        QCOMPARE(list(w, "GrdAfter")->topLevelItemCount(), 2);
        QVERIFY(list(w, "GrdAfter")->topLevelItem(0)->data(1, Qt::AccessibleTextRole).toString().endsWith("(changed)"));
        QCOMPARE(w->findChild<QComboBox *>("CbTable")->currentText(), "TblPlacing (2 rows before, 2 after)");

        MeetHarness::choose(w, "CbStation", 2); // "Registration"
        QCOMPARE(w->findChild<QComboBox *>("CbStation")->currentText(), "Registration");
        Q_EMIT w->findChild<QComboBox *>("CbStation")->activated(2);
        QCOMPARE(column(lines, 0), QStringList{"2"});
        QCOMPARE(list(w, "GrdBefore")->topLevelItemCount(), 0);
        QCOMPARE(list(w, "GrdAfter")->topLevelItemCount(), 1);
        MeetHarness::choose(w, "CbStation", 0);
        MeetHarness::choose(w, "CbWhat", 4); // "Placings"
        Q_EMIT w->findChild<QComboBox *>("CbWhat")->activated(4);
        QCOMPARE(column(lines, 0), (QStringList{"3", "1"}));

        MeetHarness::click(w, "CmdPrintPreview");
        auto *preview = MeetHarness::window<FrmReportPreview>("FrmReportPreview");
        QVERIFY(preview);
        const QStringList printed = preview->document().pages.front().texts();
        QVERIFY(printed.contains("KORV State Championship, Placings"));
        QVERIFY(printed.contains("Placings of class 1, division A"));
        QVERIFY(!printed.contains("Team Grey, division B"));
    }

    void putBack_fromTheWindow_andRefusedShowsTheLaterLine()
    {
        FrmHistory *w = FrmHistory::open(h->app, &h->main);
        QTreeWidget *lines = list(w, "LvLines");
        // The first placings were overtaken by the third line: refused, and that line is chosen.
        lines->setCurrentItem(lines->topLevelItem(2));
        h->confirm(w, "CmdPutBack");
        QCOMPARE(h->messages.last()->title, "Edit Error");
        QVERIFY(h->messages.last()->text.contains("(line 3, Placings of class 1, division A, from Entry Booth 2)"));
        QCOMPARE(lines->currentItem()->text(0), "3");

        // The newest line is put back: a fourth line, chosen, and the first card stands again.
        h->confirm(w, "CmdPutBack");
        QCOMPARE(column(lines, 0).first(), "4");
        QCOMPARE(lines->currentItem()->text(0), "4");
        QCOMPARE(MeetQuery::column(h->db(), "SELECT DISTINCT RiderIndex FROM TblPlacing"),
                 QStringList{QString::number(ann)});
        // No line chosen, nothing put back.
        lines->setCurrentItem(nullptr);
        MeetHarness::click(w, "CmdPutBack");
        QCOMPARE(h->messages.last()->text, FrmHistory::NothingChosen);
    }
};

QTEST_MAIN(TstHistory)
#include "tst_history.moc"
