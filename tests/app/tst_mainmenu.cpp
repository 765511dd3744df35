// The main menu: panels, opening and closing activities, the division rule and what the
// activity screens are told in which order.
#include "meetfile.h"
#include "menufixture.h"

namespace {
const QString NoDivision = QStringLiteral("You must select a division before you can use this option");
const QString Panels[] = {QStringLiteral("FraMainMenu"), QStringLiteral("FraAdmin"),
                          QStringLiteral("FraMeetSetup"), QStringLiteral("FraEntryBooth"),
                          QStringLiteral("FraReports")};
} // namespace

class TstMainMenu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void start_mainPanelNoDivisionNothingDark()
    {
        MenuFixture f;
        for (int p = 0; p < 5; ++p)
            QCOMPARE(f.find(Panels[p])->isVisible(), p == 0);
        QCOMPARE(f.main->Division(), QString());
        QCOMPARE(f.state(), "activity 0, dark , tags 0 0 0 0");
        for (const char *button : {"CmdAdmin_0", "CmdMeetSetup_0", "CmdEntryBooth_0", "CmdReports_0"})
            QCOMPARE(f.back(QLatin1StringView(button)), QColor(0xC0C0C0));
        // (15360 - 11685) / 2 = 1837.5 twips = 122.5 px, rounded to the even 122;
        // (11520 - 8280) / 2 - 200 = 1420 twips = 94.7 px.
        QCOMPARE(f.main->pos(), QPoint(122, 95));
    }

    void activity_opensBesideMenuAndClosesOnSecondPress()
    {
        MenuFixture f;
        f.openSlot(1);
        f.click(QStringLiteral("CmdActivity_3")); // replaces Teams
        QVERIFY(!f.main->activityScreen(1));
        ActivityScreen *screen = f.main->activityScreen(3);
        QVERIFY(screen && screen->isVisible());
        QCOMPARE(screen->mapTo(f.main.get(), QPoint(0, 0)), Twips::point(3070, 1620));
        QCOMPARE(f.state(), "activity 3, dark 3, tags 3 0 0 0");

        QPointer<ActivityScreen> gone(screen);
        f.click(QStringLiteral("CmdActivity_3"));
        QVERIFY(!f.main->activityScreen(3));
        QTRY_VERIFY(gone.isNull());
        QCOMPARE(f.state(), "activity 0, dark , tags 0 0 0 0");
        QVERIFY(f.messages.log.isEmpty());
    }

    void leavingPanel_closesActivityAndReturnReopensIt_data()
    {
        QTest::addColumn<QString>("leaveBy");
        QTest::addColumn<int>("menuAfter");
        QTest::newRow("another menu") << QStringLiteral("CmdReports_1") << 4;
        QTest::newRow("own dark button") << QStringLiteral("CmdAdmin_1") << 0;
    }
    void leavingPanel_closesActivityAndReturnReopensIt()
    {
        QFETCH(QString, leaveBy);
        QFETCH(int, menuAfter);
        MenuFixture f;
        f.openSlot(1);
        f.click(leaveBy);
        QCOMPARE(f.main->CurrentMenu(), menuAfter);
        QVERIFY(f.find(Panels[menuAfter])->isVisible() && !f.find(Panels[1])->isVisible());
        QVERIFY(!f.main->activityScreen(1));
        QCOMPARE(f.state(), "activity 0, dark , tags 1 0 0 0");

        f.showMenu(1);
        QVERIFY(f.main->activityScreen(1) && f.main->activityScreen(1)->isVisible());
        QCOMPARE(f.state(), "activity 1, dark 1, tags 1 0 0 0");
        QCOMPARE(f.log.count(QStringLiteral("load 1")), 2);
    }

    void withoutDivision_divisionActivitiesRefused_data()
    {
        QTest::addColumn<int>("slot");
        for (int slot = 1; slot <= 15; ++slot)
            if (slot != FrmMain::UtilitiesSlot)
                QTest::addRow("%s", qPrintable(FrmMain::activityCaption(slot))) << slot;
    }
    void withoutDivision_divisionActivitiesRefused()
    {
        QFETCH(int, slot);
        const bool needsDivision = (slot >= 5 && slot <= 11) || slot == FrmMain::PrintPackSlot;
        MenuFixture f;
        f.openSlot(slot);
        QCOMPARE(f.main->CurrentActivity(), needsDivision ? 0 : slot);
        QCOMPARE(f.log.isEmpty(), needsDivision);
        QCOMPARE(f.messages.texts(), needsDivision ? QStringList{NoDivision} : QStringList{});
        if (needsDivision) {
            QCOMPARE(f.messages.last()->title, "Quendal");
            QCOMPARE(f.state(), "activity 0, dark , tags 0 0 0 0");
        }
    }

    void refusal_keepsOpenActivityHighlightAndTags()
    {
        MenuFixture f;
        f.openSlot(12);
        f.click(QStringLiteral("CmdActivity_11"));
        QCOMPARE(f.messages.texts(), QStringList{NoDivision});
        QVERIFY(f.main->activityScreen(12)->isVisible() && !f.main->activityScreen(11));
        QCOMPARE(f.state(), "activity 12, dark 12, tags 0 0 0 12");

        // A panel whose remembered activity needs the division is shown, but what was open
        // stays open. (The user cannot clear the division; the menu copes all the same.)
        f.chooseDivision(QStringLiteral("B"));
        f.openSlot(5);
        f.openSlot(1);
        f.chooseDivision(QString());
        f.messages.clear();
        f.showMenu(2);
        QCOMPARE(f.messages.texts(), QStringList{NoDivision});
        QCOMPARE(f.main->CurrentMenu(), 2);
        QVERIFY(f.find(Panels[2])->isVisible());
        QVERIFY(f.main->activityScreen(1) && f.main->activityScreen(1)->isVisible());
        QCOMPARE(f.state(), "activity 1, dark 1, tags 1 5 0 12");
    }

    void opening_tellsScreenInSlotsOrderAndDivisionChanges_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QStringList>("steps");
        const QString division = QStringLiteral("Set_Division(B) placed"),
                      show = QStringLiteral("show placed"), report = QStringLiteral("Load_Report placed");
        for (int slot : {1, 2, 3, 4})
            QTest::addRow("%s", qPrintable(FrmMain::activityCaption(slot))) << slot << QStringList{show};
        for (int slot : {5, 6, 8, 9, 10})
            QTest::addRow("%s", qPrintable(FrmMain::activityCaption(slot)))
                << slot << QStringList{division, show};
        // The judges' cards get the division before they are placed.
        QTest::newRow("Judges Cards") << 7 << QStringList{QStringLiteral("Set_Division(B)"), show, report};
        QTest::newRow("Meet Standings") << 11 << QStringList{division, show, report};
        QTest::newRow("Rider Results") << 12 << QStringList{show, report};
    }
    void opening_tellsScreenInSlotsOrderAndDivisionChanges()
    {
        QFETCH(int, slot);
        QFETCH(QStringList, steps);
        MenuFixture f;
        f.chooseDivision(QStringLiteral("B"));
        f.openSlot(slot);
        QCOMPARE(f.log, QStringList{QStringLiteral("load %1").arg(slot)} + steps);

        // A new division reaches an open division activity only; a report is not loaded again.
        f.log.clear();
        f.chooseDivision(QStringLiteral("C"));
        const bool told = slot >= 5 && slot <= 11;
        QCOMPARE(f.log, told ? QStringList{QStringLiteral("Set_Division(C) placed")} : QStringList{});
    }

    void screenLeaving_closesItsActivity_data()
    {
        QTest::addColumn<bool>("deletesItself");
        QTest::newRow("asks to be closed") << false;
        QTest::newRow("deletes itself") << true;
    }
    void screenLeaving_closesItsActivity()
    {
        QFETCH(bool, deletesItself);
        MenuFixture f;
        f.chooseDivision(QStringLiteral("A"));
        f.openSlot(11);
        QPointer<ActivityScreen> screen = f.main->activityScreen(11);
        if (deletesItself)
            delete screen.data();
        else
            Q_EMIT screen->closeRequested();
        QVERIFY(!f.main->activityScreen(11));
        QCOMPARE(f.state(), "activity 0, dark , tags 0 0 0 0");
        QTRY_VERIFY(screen.isNull());

        f.main->Close_Current_Activity(); // nothing open: no change
        QCOMPARE(f.main->CurrentMenu(), 4);
        QVERIFY(f.messages.log.isEmpty());
    }

    void closingMainWindow_releasesScreensAndMeet()
    {
        QTemporaryDir dir;
        MenuFixture f;
        const QString path = MeetFixture::createMeet(dir.path());
        f.app.meetConnection.open(path, DbConnection::Mode::ReadWrite, QStringLiteral("MeetDb"));
        f.app.KORV.setDataSource(path);
        QVERIFY(f.app.KORV.database().isOpen());
        f.openSlot(2);
        QPointer<ActivityScreen> screen = f.main->activityScreen(2);

        QVERIFY(f.main->close());
        QVERIFY(screen.isNull());
        QVERIFY(!QSqlDatabase::contains("MeetDb") && !QSqlDatabase::contains("Trotwise"));
    }
};

QTEST_MAIN(TstMainMenu)
#include "tst_mainmenu.moc"
