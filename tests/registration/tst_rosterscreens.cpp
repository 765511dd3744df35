// The team, coach and judge screens through the real windows: add, edit and delete flows, the
// question-then-checks order, list orders and re-selection, refusals, and what is written.
#include "meetharness.h"

#include "db/sql.h"
#include "registration/frmcoach.h"
#include "registration/frmcoachmgmt.h"
#include "registration/frmjudge.h"
#include "registration/frmjudgemgmt.h"
#include "registration/frmteam.h"
#include "registration/frmteammgmt.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

namespace {

constexpr auto lines = &MeetHarness::lines;
constexpr auto type = &MeetHarness::type;

void choose(QWidget *form, const QString &box, int line)
{
    auto *combo = form->findChild<QComboBox *>(box);
    QVERIFY2(combo, qPrintable(box));
    combo->setCurrentIndex(line);
    Q_EMIT combo->activated(line);
}

int count(const QSqlDatabase &db, const QString &table)
{
    return Sql::scalar(db, "count", QStringLiteral("SELECT count(*) FROM %1").arg(table)).toInt();
}

} // namespace

class TstRosterScreens : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MeetHarness> m;

    template <typename Screen>
    Screen *openScreen()
    {
        auto *screen = new Screen(m->app, &m->main);
        screen->show();
        return screen;
    }

    // Selects line n of a list box as a click would.
    static void pick(QWidget *screen, const QString &list, int line)
    {
        auto *box = screen->findChild<QListWidget *>(list);
        QVERIFY(box);
        box->setCurrentRow(line);
    }

    QWidget *form(const QString &name) { return MeetHarness::window(name); }

    void submitTeam(const QString &name, int division, const QString &district, const QString &region)
    {
        QWidget *f = form("FrmTeam");
        QVERIFY(f);
        type(f, "TxtTeam", name);
        choose(f, "CbDivision", division);
        type(f, "TxtDistrict", district);
        type(f, "TxtRegion", region);
        m->messages.answer({true});
        MeetHarness::click(f, "CmdSubmit");
    }

private Q_SLOTS:
    void init() { m = std::make_unique<MeetHarness>(); }
    void cleanup() { m.reset(); }

    void team_addListsByNameAndLeavesNoSelection()
    {
        auto *screen = openScreen<FrmTeamMgmt>();
        for (const auto &[name, division] :
             {std::pair{"Zephyr", 0}, std::pair{"O'Brien 100% \"Horse\"", 1}, std::pair{"apple", 3}}) {
            MeetHarness::click(screen, "CmdAddTeam");
            QVERIFY(!m->main.isEnabled());
            QVERIFY(!screen->isEnabled());
            submitTeam(name, division, "12", "4");
            QVERIFY(!form("FrmTeam"));
            QVERIFY(m->main.isEnabled());
            QVERIFY(screen->isEnabled());
        }
        auto *list = screen->findChild<QListWidget *>("LbTeam");
        QCOMPARE(lines(list), (QStringList{"apple (D)", "O'Brien 100% \"Horse\" (B)", "Zephyr (A)"}));
        QCOMPARE(screen->selectedKey(), -1);
        // Taking the focus makes a line current without selecting it: that is no choice.
        list->selectionModel()->setCurrentIndex(list->model()->index(0, 0), QItemSelectionModel::NoUpdate);
        MeetHarness::click(screen, "CmdDeleteTeam");
        QCOMPARE(m->messages.last()->text, QStringLiteral("You must select a team to Delete"));
        QCOMPARE(m->messages.unscriptedQuestions, 0);
        const ResultRows row =
            Sql::select(m->db(), "team", "SELECT * FROM TblTeam WHERE TeamName LIKE 'O''B%'");
        QCOMPARE(row.text(0, u"District"), QStringLiteral("12"));
        QCOMPARE(row.text(0, u"Region"), QStringLiteral("4"));
        QCOMPARE(m->messages.unscriptedQuestions, 0);
    }

    void team_questionFirstThenFirstFailingCheck_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("division");
        QTest::addColumn<QString>("district");
        QTest::addColumn<QString>("region");
        QTest::addColumn<QString>("refusal"); // empty: saved
        QTest::newRow("all empty") << "" << -1 << ""
                                   << ""
                                   << "The Team Name box must be filled in";
        QTest::newRow("no division") << "Blue" << -1 << ""
                                     << ""
                                     << "You must select a division for this team";
        QTest::newRow("no district or region") << "Blue" << 1 << ""
                                               << ""
                                               << "You must specify the district of this team";
        QTest::newRow("no region") << "Blue" << 1 << "7"
                                   << ""
                                   << "You must specify the region of this team";
        QTest::newRow("blanks pass") << " " << 1 << " "
                                     << " "
                                     << "";
    }
    void team_questionFirstThenFirstFailingCheck()
    {
        QFETCH(QString, name);
        QFETCH(int, division);
        QFETCH(QString, district);
        QFETCH(QString, region);
        QFETCH(QString, refusal);
        auto *screen = openScreen<FrmTeamMgmt>();
        MeetHarness::click(screen, "CmdAddTeam");
        QWidget *f = form("FrmTeam");
        type(f, "TxtTeam", name);
        choose(f, "CbDivision", division);
        type(f, "TxtDistrict", district);
        type(f, "TxtRegion", region);

        m->messages.answer({false});
        MeetHarness::click(f, "CmdSubmit");
        QCOMPARE(m->messages.log.size(), 1);
        QCOMPARE(m->messages.log[0].text, EditForm::SaveQuestion);
        QVERIFY(form("FrmTeam"));
        QCOMPARE(count(m->db(), "TblTeam"), 0);

        m->messages.answer({true});
        MeetHarness::click(f, "CmdSubmit");
        if (refusal.isEmpty()) {
            QVERIFY(!form("FrmTeam"));
            QCOMPARE(count(m->db(), "TblTeam"), 1);
            return;
        }
        QCOMPARE(m->messages.last()->title, QStringLiteral("Submit Error"));
        QCOMPARE(m->messages.last()->text, refusal);
        QVERIFY(form("FrmTeam"));
        QCOMPARE(f->findChild<QLineEdit *>("TxtTeam")->text(), name);
        QCOMPARE(count(m->db(), "TblTeam"), 0);
    }

    void team_editReselectsTheTeamAtItsNewPlace()
    {
        auto b = m->build();
        b.addTeam("Alpha", "A");
        const auto beta = b.addTeam("Beta", "B");
        b.addTeam("Gamma", "C");
        auto *screen = openScreen<FrmTeamMgmt>();
        pick(screen, "LbTeam", 1);
        QCOMPARE(screen->selectedKey(), beta);
        MeetHarness::click(screen, "CmdEditTeam");
        QWidget *f = form("FrmTeam");
        QCOMPARE(f->findChild<QLineEdit *>("TxtTeam")->text(), QStringLiteral("Beta"));
        QCOMPARE(f->findChild<QComboBox *>("CbDivision")->currentText(), QStringLiteral("B"));
        type(f, "TxtTeam", "Zulu");
        m->messages.answer({true});
        MeetHarness::click(f, "CmdSubmit");
        auto *list = screen->findChild<QListWidget *>("LbTeam");
        QCOMPARE(lines(list), (QStringList{"Alpha (A)", "Gamma (C)", "Zulu (B)"}));
        QCOMPARE(list->selectedItems().value(0)->text(), QStringLiteral("Zulu (B)"));
        QCOMPARE(count(m->db(), "TblTeam"), 3);
    }

    void team_storedDivisionOutsideAtoDShowsEmptyAndIsRefused()
    {
        Sql::exec(m->db(), "import",
                  "INSERT INTO TblTeam (TeamName, Division, District, Region) VALUES ('Odd', 'E', '1', '1')");
        auto *screen = openScreen<FrmTeamMgmt>();
        pick(screen, "LbTeam", 0);
        MeetHarness::click(screen, "CmdEditTeam");
        QWidget *f = form("FrmTeam");
        QCOMPARE(f->findChild<QComboBox *>("CbDivision")->currentIndex(), -1);
        m->messages.answer({true});
        MeetHarness::click(f, "CmdSubmit");
        QCOMPARE(m->messages.last()->text, QStringLiteral("You must select a division for this team"));
    }

    void team_refusalsAndDeleteWithCoaches()
    {
        auto b = m->build();
        const auto riders = b.addTeam("Ridden", "A");
        b.addRider(riders, "Ann", "Lee", "1");
        // A code above 16 bits is held and deleted like any other.
        Sql::exec(m->db(), "big",
                  "INSERT INTO TblTeam (TeamCode, TeamName, Division, District, Region) "
                  "VALUES (40000, 'Wide', 'B', '1', '1')");
        b.addCoach(40000, "Hal", "Hart");
        b.addCoach(riders, "Other", "Coach");
        auto *screen = openScreen<FrmTeamMgmt>();

        MeetHarness::click(screen, "CmdEditTeam");
        QCOMPARE(m->messages.last()->title, QStringLiteral("Edit Error"));
        QCOMPARE(m->messages.last()->text, QStringLiteral("You must select a team before you can edit it"));
        MeetHarness::click(screen, "CmdDeleteTeam");
        QCOMPARE(m->messages.last()->title, QStringLiteral("Delete Error"));
        QCOMPARE(m->messages.last()->text, QStringLiteral("You must select a team to Delete"));

        pick(screen, "LbTeam", 0); // Ridden
        MeetHarness::click(screen, "CmdDeleteTeam");
        QCOMPARE(m->messages.last()->text,
                 QStringLiteral("You cannot delete a team that currently has riders belonging to it"));

        pick(screen, "LbTeam", 1); // Wide
        QCOMPARE(screen->selectedKey(), 40000);
        MeetHarness::click(screen, "CmdEditTeam");
        QCOMPARE(form("FrmTeam")->findChild<QLineEdit *>("TxtTeam")->text(), QStringLiteral("Wide"));
        m->messages.answer({true});
        MeetHarness::click(form("FrmTeam"), "CmdCancel");
        QVERIFY(!form("FrmTeam"));

        m->messages.answer({false});
        MeetHarness::click(screen, "CmdDeleteTeam");
        QCOMPARE(count(m->db(), "TblTeam"), 2);
        m->messages.answer({true});
        MeetHarness::click(screen, "CmdDeleteTeam");
        QCOMPARE(count(m->db(), "TblTeam"), 1);
        QCOMPARE(Sql::scalar(m->db(), "coaches", "SELECT group_concat(LastName) FROM TblCoach").toString(),
                 QStringLiteral("Coach"));
        QCOMPARE(screen->selectedKey(), -1);
        QCOMPARE(lines(screen->findChild<QListWidget *>("LbTeam")), QStringList{"Ridden (A)"});
    }

    void team_databaseFailureKeepsTheFormAndWhatWasTyped()
    {
        auto *screen = openScreen<FrmTeamMgmt>();
        Sql::exec(m->db(), "trap",
                  "CREATE TEMP TRIGGER forced BEFORE INSERT ON TblTeam BEGIN SELECT RAISE(ABORT, 'disk is "
                  "full'); END");
        MeetHarness::click(screen, "CmdAddTeam");
        submitTeam("Blue", 1, "1", "1");
        QCOMPARE(m->messages.last()->kind, ScriptedMessages::Kind::Fail);
        QVERIFY(m->messages.last()->text.contains("disk is full"));
        QVERIFY(form("FrmTeam"));
        QCOMPARE(form("FrmTeam")->findChild<QLineEdit *>("TxtTeam")->text(), QStringLiteral("Blue"));
        QVERIFY(!m->main.isEnabled());
        m->messages.answer({true});
        form("FrmTeam")->close(); // the close button counts as Cancel
        QVERIFY(m->main.isEnabled());
        QVERIFY(screen->isEnabled());
    }

    void team_boxesHoldNoMoreThanTheirFields()
    {
        auto *screen = openScreen<FrmTeamMgmt>();
        MeetHarness::click(screen, "CmdAddTeam");
        submitTeam(QString(60, u'x'), 0, "12345", "42");
        const ResultRows row = Sql::select(m->db(), "team", "SELECT * FROM TblTeam");
        QCOMPARE(row.text(0, u"TeamName").size(), 50);
        QCOMPARE(row.text(0, u"District"), QStringLiteral("123"));
        QCOMPARE(row.text(0, u"Region"), QStringLiteral("4"));
    }

    void coach_headCoachesFirstAndTeamKeptAcrossAnEdit()
    {
        auto b = m->build();
        b.addTeam("Acorn", "A");
        const auto blue = b.addTeam("Blue", "B");
        auto *screen = openScreen<FrmCoachMgmt>();
        MeetHarness::click(screen, "CmdAddCoach");
        QCOMPARE(m->messages.last()->text,
                 QStringLiteral("You must first select the team you want to add the coach to."));
        QCOMPARE(m->messages.last()->title, QStringLiteral("Quendal"));

        choose(screen, "CbTeam", 1);
        QCOMPARE(screen->selectedTeam(), blue);
        QCOMPARE(screen->findChild<QLabel *>("LblCurrentTeam")->text(), QStringLiteral("Blue"));
        for (const auto &[first, last, position] :
             {std::tuple{"Zed", "Zorn", 0}, std::tuple{"Amy", "Adams", 1}}) {
            MeetHarness::click(screen, "CmdAddCoach");
            QWidget *f = form("FrmCoach");
            QVERIFY(f);
            type(f, "TxtFirst", first);
            type(f, "TxtLast", last);
            type(f, "TxtZip", "1234567");
            choose(f, "CbPosition", position);
            m->messages.answer({true});
            MeetHarness::click(f, "CmdSubmit");
            QVERIFY(!form("FrmCoach"));
        }
        auto *list = screen->findChild<QListWidget *>("LbCoaches");
        QCOMPARE(lines(list), (QStringList{"Zorn, Zed - Head Coach", "Adams, Amy - Assistant Coach"}));
        QCOMPARE(Sql::scalar(m->db(), "zip", "SELECT Zip FROM TblCoach WHERE LastName = 'Zorn'").toString(),
                 QStringLiteral("12345"));

        pick(screen, "LbCoaches", 1);
        MeetHarness::click(screen, "CmdEditCoach");
        QWidget *f = form("FrmCoach");
        QCOMPARE(f->findChild<QComboBox *>("CbPosition")->currentIndex(), 1);
        type(f, "TxtLast", "Zuber");
        m->messages.answer({true});
        MeetHarness::click(f, "CmdSubmit");
        QCOMPARE(screen->findChild<QComboBox *>("CbTeam")->currentIndex(), 1);
        QCOMPARE(lines(list), (QStringList{"Zorn, Zed - Head Coach", "Zuber, Amy - Assistant Coach"}));
        QCOMPARE(
            Sql::scalar(m->db(), "team", "SELECT count(*) FROM TblCoach WHERE TeamCode = ?", {blue}).toInt(),
            2);
    }

    void coach_firstFailingCheck_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("no first or last name") << ""
                                               << ""
                                               << "The First Name box must be filled in";
        QTest::newRow("no last name or position") << "Kim"
                                                  << ""
                                                  << "The Last Name box must be filled in";
        QTest::newRow("no position") << "Kim"
                                     << "Ko"
                                     << "The Position box must have a valid entry";
    }
    void coach_firstFailingCheck()
    {
        QFETCH(QString, first);
        QFETCH(QString, last);
        QFETCH(QString, refusal);
        m->build().addTeam("Blue", "B");
        auto *screen = openScreen<FrmCoachMgmt>();
        choose(screen, "CbTeam", 0);
        MeetHarness::click(screen, "CmdAddCoach");
        QWidget *f = form("FrmCoach");
        type(f, "TxtFirst", first);
        type(f, "TxtLast", last);
        m->messages.answer({true});
        MeetHarness::click(f, "CmdSubmit");
        QCOMPARE(m->messages.last()->title, QStringLiteral("Submit Error"));
        QCOMPARE(m->messages.last()->text, refusal);
        QCOMPARE(count(m->db(), "TblCoach"), 0);
    }

    void coach_oddPositionEditsAsAssistantAndDeleteAsks()
    {
        auto b = m->build();
        const auto team = b.addTeam("Blue", "B");
        b.addCoach(team, "Pat", "Odd", "Coach");
        auto *screen = openScreen<FrmCoachMgmt>();
        MeetHarness::click(screen, "CmdEditCoach");
        QCOMPARE(m->messages.last()->text,
                 QStringLiteral("You must first select the coach you want to edit."));
        MeetHarness::click(screen, "CmdDeleteCoach");
        QCOMPARE(m->messages.last()->title, QStringLiteral("Delete Error"));
        QCOMPARE(m->messages.last()->text, QStringLiteral("You must select a coach to delete"));

        choose(screen, "CbTeam", 0);
        pick(screen, "LbCoaches", 0);
        MeetHarness::click(screen, "CmdEditCoach");
        QCOMPARE(form("FrmCoach")->findChild<QComboBox *>("CbPosition")->currentText(),
                 QStringLiteral("Assistant Coach"));
        m->messages.answer({true});
        MeetHarness::click(form("FrmCoach"), "CmdCancel");
        QCOMPARE(Sql::scalar(m->db(), "pos", "SELECT Position FROM TblCoach").toString(),
                 QStringLiteral("Coach"));

        pick(screen, "LbCoaches", 0);
        m->messages.answer({false});
        MeetHarness::click(screen, "CmdDeleteCoach");
        QCOMPARE(count(m->db(), "TblCoach"), 1);
        m->messages.answer({true});
        MeetHarness::click(screen, "CmdDeleteCoach");
        QCOMPARE(count(m->db(), "TblCoach"), 0);
        QCOMPARE(screen->selectedKey(), -1);
    }

    void judge_addEditAndDeleteRefusedWhileJudgingAClass()
    {
        auto b = m->build();
        b.addJudge("Zoë", "Zimmer");
        auto *screen = openScreen<FrmJudgeMgmt>();
        MeetHarness::click(screen, "CmdAddJudge");
        QWidget *f = form("FrmJudge");
        type(f, "TxtFirst", "Ann");
        type(f, "TxtLast", "Able");
        type(f, "TxtState", "Ohio");
        f->findChild<QPlainTextEdit *>("TxtMemo")->setPlainText("Prefers the\nmorning classes");
        m->messages.answer({false});
        MeetHarness::click(f, "CmdSubmit");
        QVERIFY(form("FrmJudge"));
        QCOMPARE(count(m->db(), "TblJudge"), 1);
        m->messages.answer({true});
        MeetHarness::click(f, "CmdSubmit");
        auto *list = screen->findChild<QListWidget *>("LbJudges");
        QCOMPARE(lines(list), (QStringList{"Able, Ann", "Zimmer, Zoë"}));
        const ResultRows ann =
            Sql::select(m->db(), "judge", "SELECT * FROM TblJudge WHERE LastName = 'Able'");
        QCOMPARE(ann.text(0, u"State"), QStringLiteral("Oh"));
        QCOMPARE(ann.text(0, u"Memo"), QStringLiteral("Prefers the\nmorning classes"));

        const auto annId = std::int32_t(ann.integer(0, u"JudgeID"));
        b.assignJudge(annId, 3, "C");
        pick(screen, "LbJudges", 0);
        MeetHarness::click(screen, "CmdDeleteJudge");
        QCOMPARE(m->messages.last()->text,
                 QStringLiteral("The judge cannot be deleted as long as a class is assigned to them."));
        QCOMPARE(count(m->db(), "TblJudge"), 2);

        Sql::exec(m->db(), "unassign", "DELETE FROM TblClassJudges");
        b.addPlacing(3, 1, 1, "C", annId); // placings do not protect a judge
        m->messages.answer({true});
        MeetHarness::click(screen, "CmdDeleteJudge");
        QCOMPARE(count(m->db(), "TblJudge"), 1);
        MeetHarness::click(screen, "CmdEditJudge");
        QCOMPARE(m->messages.last()->text,
                 QStringLiteral("You must first select the Judge you want to edit."));
        MeetHarness::click(screen, "CmdDeleteJudge");
        QCOMPARE(m->messages.last()->text, QStringLiteral("You must select a Judge to delete."));
    }

    void judge_wideIdEditsAndFirstFailingCheck()
    {
        Sql::exec(m->db(), "big",
                  "INSERT INTO TblJudge (JudgeID, FirstName, LastName) VALUES (70000, 'Big', 'Id')");
        auto *screen = openScreen<FrmJudgeMgmt>();
        pick(screen, "LbJudges", 0);
        MeetHarness::click(screen, "CmdEditJudge");
        QWidget *f = form("FrmJudge");
        type(f, "TxtFirst", "");
        type(f, "TxtLast", "");
        m->messages.answer({true});
        MeetHarness::click(f, "CmdSubmit");
        QCOMPARE(m->messages.last()->text, QStringLiteral("The First Name box must be filled in"));
        type(f, "TxtFirst", "Bigger");
        m->messages.answer({true});
        MeetHarness::click(f, "CmdSubmit");
        QCOMPARE(m->messages.last()->text, QStringLiteral("The Last Name box must be filled in"));
        type(f, "TxtLast", "Ident");
        m->messages.answer({true});
        MeetHarness::click(f, "CmdSubmit");
        QCOMPARE(Sql::scalar(m->db(), "j", "SELECT FirstName || LastName FROM TblJudge WHERE JudgeID = 70000")
                     .toString(),
                 QStringLiteral("BiggerIdent"));
    }
};

QTEST_MAIN(TstRosterScreens)
#include "tst_rosterscreens.moc"
