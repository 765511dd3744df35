// The three result activities opened from the real main menu: their reports, the messages when
// there is nothing to print, and which activity a closing report ends.
#include "meetharness.h"

#include "app/activities.h"
#include "app/frmmain.h"
#include "common/labelfiles.h"
#include "db/classcatalogue.h"
#include "entries/frmlabelbuilder.h"
#include "judging/riderresults.h"
#include "judging/rptteamstandings.h"
#include "judging/standingstable.h"
#include "reports/frmreportpreview.h"
#include "reports/textmeasurer.h"

class TstResultScreens : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MeetHarness> m;
    FrmMain *main = nullptr;

    void open(int slot)
    {
        main->Show_Menu(FrmMain::panelOf(slot));
        main->Select_Activity(slot);
    }
    // The open previews, oldest first.
    QList<FrmReportPreview *> previews() const
    {
        QList<FrmReportPreview *> open = main->findChildren<FrmReportPreview *>();
        open.removeIf([](const FrmReportPreview *p) { return !p->isVisible(); });
        return open;
    }

    // Two teams of division C with placings, one team of B.
    void placeTwoTeams()
    {
        auto b = m->build();
        const auto blue = b.addTeam("Blue", "C");
        const auto gold = b.addTeam("Gold", "C");
        b.addTeam("Other", "B");
        const auto ann = b.addRider(blue, "Ann", "Lee", "7");
        const auto bo = b.addRider(gold, "Bo", "Ray", "8");
        const auto judge = b.addJudge("Jo", "Judge");
        b.addPlacing(1, 2, ann, "C", judge);
        b.addPlacing(3, 1, bo, "C", judge);
    }

private Q_SLOTS:
    void init()
    {
        m = std::make_unique<MeetHarness>();
        main = new FrmMain(m->app);
        registerActivities(*main, m->app);
        main->show();
        auto *division = main->findChild<QComboBox *>("CbDivision");
        division->setCurrentIndex(division->findText("C"));
    }
    void cleanup()
    {
        delete main; // with the windows it owns, before the harness deletes what is left
        m.reset();
    }

    void nothingToPrint_saysWhyAndEndsTheActivity_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("meet");
        QTest::addColumn<QString>("message");
        QTest::newRow("standings, no team") << 11 << "" << StandingsTable::NoTeams;
        QTest::newRow("standings, no placing") << 11 << "team" << StandingsTable::NoPlacings;
        QTest::newRow("rider results, no team") << 12 << "" << RiderResults::NoTeams;
        QTest::newRow("judges cards, no class")
            << 7 << "no class"
            << QStringLiteral("There are currently no judging assignments entered for the C Division.");
    }
    void nothingToPrint_saysWhyAndEndsTheActivity()
    {
        QFETCH(int, slot);
        QFETCH(QString, meet);
        QFETCH(QString, message);
        if (meet == u"team")
            m->build().addTeam("Blue", "C");
        if (meet == u"no class")
            Sql::exec(m->db(), "clear", "DELETE FROM TblClass");
        open(slot);
        QCOMPARE(m->messages.texts(), QStringList{message});
        QVERIFY(previews().isEmpty());
        QCOMPARE(main->CurrentActivity(), 0);
        QVERIFY(!m->app.KORV.isOpen(RiderResults::Command));
    }

    // A report closes with its activity, asked for again it shows in the same window, and
    // closing it ends its own activity only.
    void reports_onePerKindClosingWithTheirActivity()
    {
        placeTwoTeams();
        const auto shown = [&] {
            QCoreApplication::sendPostedEvents();
            QStringList captions;
            for (const FrmReportPreview *preview : previews())
                captions << preview->windowTitle();
            return captions;
        };
        open(12);
        main->Select_Activity(12); // its button again
        QCOMPARE(shown(), QStringList());
        QVERIFY(!m->app.KORV.isOpen(RiderResults::Command));
        open(12);
        open(7); // another activity
        QCOMPARE(shown(), QStringList{"Judges Cards"});
        open(11); // the standings end their activity at once and stay
        Sql::exec(m->db(), "a point more", "UPDATE TblPlacing SET Points = Points + 1");
        main->Select_Activity(11);
        QCOMPARE(shown(), QStringList{"Team Standings"});
        QCOMPARE(previews()[0]->document().printedBy(u"TxtTotals"), (QStringList{"11", "10"}));
        QCOMPARE(main->CurrentActivity(), 0);

        open(12);
        QCOMPARE(shown(), (QStringList{"Team Standings", "Rider Results"}));
        previews()[0]->close();
        QCOMPARE(main->CurrentActivity(), 12);
        previews()[0]->close();
        QCOMPARE(main->CurrentActivity(), 0);
        QVERIFY(!m->app.KORV.isOpen(RiderResults::Command));
        QVERIFY(m->messages.log.isEmpty());
    }

    void standings_landscapeUnderClassImagesOrTheClassNumber()
    {
        QDir(m->dir.path()).mkpath(LabelFiles::FolderName);
        FrmLabelBuilder(LabelFiles::folder(m->dir.path())).Build_Labels(m->db());
        const QString third = QString::fromLatin1(ClassCatalogue::rows()[2].imagePath);
        QVERIFY(QFile::remove(LabelFiles::find(LabelFiles::folder(m->dir.path()), "report" + third)));
        placeTwoTeams();
        open(11);
        QCOMPARE(previews().size(), 1);
        const Report::Document &doc = previews()[0]->document();
        QCOMPARE(doc.orientation, QPageLayout::Landscape);
        const Report::Page &page = doc.pages.at(0);
        QCOMPARE(page.byName(u"Class1").at(0)->kind, Report::Primitive::Kind::Image);
        QCOMPARE(page.byName(u"Class3").at(0)->kind, Report::Primitive::Kind::Text);
        QCOMPARE(page.byName(u"Class3").at(0)->text, "3");
        QCOMPARE(page.byName(u"lblDivision").at(0)->text, "Division: C");
        QCOMPARE(doc.printedBy(u"txtTeamName"), (QStringList{"Gold", "Blue"}));
        QCOMPARE(doc.printedBy(u"TxtTotals"), (QStringList{"10", "9"}));
        QCOMPARE(page.byName(u"txtPlacings3").at(0)->text, "1");

        // Eight places, the most a team holds in a class, wrap between their numbers and still
        // fit above the points.
        const Report::Layout standings = RptTeamStandings::layout("C");
        const Report::Item &places = *standings.detail.find(u"txtPlacings3");
        const Report::FontMeasurer measure;
        const int height = measure.wrappedHeight("10,10,9,9,8,8,7,7", places.font, places.rect.width());
        QVERIFY(height > measure.wrappedHeight("10", places.font, places.rect.width()));
        QVERIFY(height <= places.rect.height());
    }
};

QTEST_MAIN(TstResultScreens)
#include "tst_resultscreens.moc"
