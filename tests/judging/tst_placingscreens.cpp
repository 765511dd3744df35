// The class picker, the judges' cards form and the class placings reports through the real
// windows: opening refusals, the duplicate refusal, saving and reopening, a failed save, and
// what the reports print.
#include "meetharness.h"
#include "placingmeet.h"

#include "judging/frmplaceassign.h"
#include "judging/frmplacings.h"
#include "judging/placingsreports.h"
#include "reports/frmreportpreview.h"

#include <QAccessible>

class TstPlacingScreens : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MeetHarness> m;
    PlacingMeet p;

    // The placing meet; besides, the relay in A: Ann with Cid, Bob without a partner, both judges;
    // class 4 in B: Smith, and only Ann entered; Adams placed Bob fifth in class 3.
    void buildMeet()
    {
        p = PlacingMeet(m->build());
        MeetBuilder b = m->build();
        b.addEntry(17, p.ann);
        b.addPairing(p.ann, p.cid);
        b.addEntry(17, p.bob);
        b.addEntry(4, p.ann);
        for (const auto &[judge, cls, division] :
             {std::tuple{p.smith, 17, "A"}, std::tuple{p.adams, 17, "A"}, std::tuple{p.smith, 4, "B"}})
            b.assignJudge(judge, cls, division);
        b.addPlacing(3, 5, p.bob, "A", p.adams);
    }

    FrmPlacings *openScreen(const QString &division, int classNumber)
    {
        auto *screen = new FrmPlacings(m->app, &m->main);
        screen->Set_Division(QStringLiteral("A"));
        screen->Set_Division(division);
        screen->show();
        screen->findChild<QComboBox *>("CbClass")->setCurrentIndex(classNumber - 1);
        return screen;
    }

    QWidget *openForm(const QString &division, int classNumber)
    {
        MeetHarness::click(openScreen(division, classNumber), "CmdAddPlacings");
        return MeetHarness::window("FrmPlaceAssign");
    }

    static QComboBox *selector(QWidget *form, int judge, int place)
    {
        return form->findChild<QComboBox *>(QStringLiteral("CbPlacing%1_%2").arg(judge).arg(place - 1));
    }
    static void choose(QWidget *form, int judge, int place, int line)
    {
        selector(form, judge, place)->setCurrentIndex(line);
    }
    static QString judge(QWidget *form, int column)
    {
        return form->findChild<QLineEdit *>(QStringLiteral("TxtJudge_%1").arg(column))->text();
    }
    void submit(QWidget *form) { m->confirm(form, "CmdSubmit"); }

private Q_SLOTS:
    void init()
    {
        m = std::make_unique<MeetHarness>();
        buildMeet();
    }
    void cleanup() { m.reset(); }

    void refusals_openNothingAndGiveTheWindowsBack_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("division");
        QTest::addColumn<int>("classNumber"); // 0: none picked
        QTest::addColumn<QString>("message");
        const QString add = "CmdAddPlacings", report = "CmdPlacingsReport";
        QTest::newRow("no class picked") << add << "A" << 0 << FrmPlacings::NoClass;
        QTest::newRow("no judges") << add << "A" << 7 << PlacingCard::NoJudges;
        QTest::newRow("division changed to one without judges") << add << "B" << 3 << PlacingCard::NoJudges;
        QTest::newRow("no rider of the division") << add << "B" << 4 << PlacingCard::NoRiders;
        QTest::newRow("report, no class picked") << report << "A" << 0 << FrmPlacings::NoClass;
        QTest::newRow("report without placings") << report << "A" << 4 << PlacingsReports::NoPlacings;
    }
    void refusals_openNothingAndGiveTheWindowsBack()
    {
        QFETCH(QString, button);
        QFETCH(QString, division);
        QFETCH(int, classNumber);
        QFETCH(QString, message);
        FrmPlacings *screen = openScreen(division, classNumber);
        MeetHarness::click(screen, button);
        QCOMPARE(m->messages.texts(), QStringList{message});
        QCOMPARE(m->messages.last()->title, MessageService::ProgramTitle);
        QVERIFY(!MeetHarness::window("FrmPlaceAssign") && !MeetHarness::window("FrmReportPreview"));
        QVERIFY(m->main.isEnabled() && screen->isEnabled());
        // A placing form that refused to open gives the focus back to the class box.
        if (classNumber > 0 && button == "CmdAddPlacings")
            QTRY_COMPARE(QApplication::focusWidget(), screen->findChild<QComboBox *>("CbClass"));
    }

    // A duplicate is refused and a failing save is told; either way the form stays and the meet is
    // as it was, and the save that follows rewrites the class.
    void submit_refusesADuplicateSurvivesAFailureThenRewritesTheClass()
    {
        QWidget *form = openForm("A", 3);
        QVERIFY(form && !m->main.isEnabled());
        QCOMPARE(judge(form, 1) + u',' + judge(form, 2), "Bob Adams,Zoe Smith");
        QCOMPARE(selector(form, 2, 9)->accessibleName(), "Judge 2, Nineth Place");
        QCOMPARE(selector(form, 1, 5)->currentText(), "9 - Bob Ray");

        const QString before = MeetFixture::dump(m->db());
        choose(form, 1, 1, 2); // Bob again, already fifth
        submit(form);
        QCOMPARE(m->messages.last()->text, PlacingCard::TwiceUnderOneJudge);
        QCOMPARE(m->messages.last()->title, MessageService::ProgramTitle);

        choose(form, 1, 1, 1);
        choose(form, 2, 3, 1);
        MeetQuery::forceFailure(m->db(), "INSERT ON TblPlacing WHEN NEW.Place = 3");
        submit(form);
        QCOMPARE(m->messages.last()->kind, ScriptedMessages::Kind::Fail);
        QVERIFY(m->messages.last()->text.startsWith("Saving the placings failed"));
        QVERIFY(form->isVisible() && !m->main.isEnabled());
        QCOMPARE(MeetFixture::dump(m->db()), before);

        Sql::exec(m->db(), "free", "DROP TRIGGER temp.forced");
        submit(form);
        QVERIFY(!MeetHarness::window("FrmPlaceAssign") && m->main.isEnabled());
        QCOMPARE(MeetQuery::count(m->db(), "TblPlacing"), 3);
    }

    // Names of the stored maximum of 50 characters: a selector's line keeps both rider numbers
    // and shortens the names; the whole line is its tooltip and the selector's value.
    void longNames_selectorLinesKeepTheNumbers()
    {
        const QString first = "Alexandrina Maximiliana Josephine Charlotte Louisa";
        const QString last = "Featherstonehaugh-Cholmondeley-Marjoribanks-Wemyss";
        Sql::exec(m->db(), "rename", "UPDATE TblPerson SET FirstName = ?, LastName = ?", {first, last});
        Sql::exec(m->db(), "rename", "UPDATE TblPairing SET PartnerFirst = ?, PartnerLast = ?",
                  {first, last});
        QComboBox *box = selector(openForm("A", 17), 1, 1);
        box->setCurrentIndex(1);
        const QString name = first + ' ' + last;
        QCOMPARE(box->toolTip(), "10 - " + name + " and 7 - " + name);
        QCOMPARE(QAccessible::queryAccessibleInterface(box)->text(QAccessible::Value), box->toolTip());
        QVERIFY2(box->currentText().startsWith("10 - ") && box->currentText().contains(u"\u2026 and 7 - "),
                 qPrintable(box->currentText()));
        QVERIFY(box->fontMetrics().horizontalAdvance(box->currentText()) < box->width());
    }

    void singleJudge_secondColumnEmptyAndDisabled()
    {
        MeetBuilder b = m->build();
        b.assignJudge(p.adams, 6, "A");
        b.addEntry(6, p.ann);
        QWidget *form = openForm("A", 6);
        QCOMPARE(judge(form, 2), QString());
        QVERIFY(selector(form, 1, 10)->isEnabled() && !selector(form, 2, 1)->isEnabled());
    }

    void reports_printEachJudgesCardInPlaceOrder_data()
    {
        QTest::addColumn<int>("classNumber");
        QTest::addColumn<QStringList>("titles"); // the report's, then the judges'
        QTest::addColumn<QStringList>("lines");  // place, number, name, team (, partner number, partner)
        // Class 3: Adams placed Bob fifth and Ann second, Smith placed Bob first.
        QTest::newRow("class") << 3
                               << QStringList{"Division A, Class 3 - Hunt Seat Fitting and Showing",
                                              "Bob Adams", "Zoe Smith"}
                               << QStringList{"2 10 Ann Lee Blue", "5 9 Bob Ray Blue", "1 9 Bob Ray Blue"};
        // The relay: Bob has no partner, so Smith's first place is left out.
        QTest::newRow("relay") << 17 << QStringList{"Division A, Class 17 - Two Person Relay", "Zoe Smith"}
                               << QStringList{"2 10 Ann Lee Blue 7 Cid Fox"};
    }
    void reports_printEachJudgesCardInPlaceOrder()
    {
        QFETCH(int, classNumber);
        QFETCH(QStringList, titles);
        QFETCH(QStringList, lines);
        MeetBuilder b = m->build();
        b.addPlacing(3, 2, p.ann, "A", p.adams);
        b.addPlacing(3, 1, p.bob, "A", p.smith);
        b.addPlacing(17, 1, p.bob, "A", p.smith);
        b.addPlacing(17, 2, p.ann, "A", p.smith);
        MeetHarness::click(openScreen("A", classNumber), "CmdPlacingsReport");
        auto *preview = MeetHarness::window<FrmReportPreview>("FrmReportPreview");
        QVERIFY(preview);
        const Report::Document &doc = preview->document();
        QCOMPARE(doc.printedBy(u"LblTitle") + doc.printedBy(u"txtJudge"), titles);
        QStringList shownLines;
        for (int i = 0; i < doc.printedBy(u"txtPlace").size(); ++i) {
            QStringList fields;
            for (const char *field :
                 {"txtPlace", "txtRiderNumber", "txtRider", "txtTeamName", "txtPartnerNumber", "txtPartner"})
                fields << doc.printedBy(QString::fromLatin1(field)).value(i);
            shownLines << fields.join(u' ').trimmed();
        }
        QCOMPARE(shownLines, lines);

        preview->close();
        QVERIFY(!m->app.KORV.isOpen(PlacingsReports::placingsQuery(classNumber, "A").name()));
    }
};

QTEST_MAIN(TstPlacingScreens)
#include "tst_placingscreens.moc"
