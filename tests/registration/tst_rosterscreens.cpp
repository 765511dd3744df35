// The team, coach and judge screens through the real windows: add, edit and delete flows, the
// question-then-checks order, list orders and re-selection, refusals, and what is written.
#include "meetharness.h"

#include "registration/frmcoach.h"
#include "registration/frmcoachmgmt.h"
#include "registration/frmjudge.h"
#include "registration/frmjudgemgmt.h"
#include "registration/frmteam.h"
#include "registration/frmteammgmt.h"
#include "registration/judgeroster.h"

#include <QLabel>
#include <QPlainTextEdit>

namespace {

constexpr auto lines = &MeetHarness::lines;
constexpr auto type = &MeetHarness::type;

constexpr auto choose = &MeetHarness::choose;

} // namespace

class TstRosterScreens : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MeetHarness> m;

    // Selects line n of a list box as a click would.
    static void pick(QWidget *screen, const QString &list, int line)
    {
        screen->findChild<QListWidget *>(list)->setCurrentRow(line);
    }

    QWidget *form(const QString &name) { return MeetHarness::window(name); }
    void submit(QWidget *f) { m->confirm(f, "CmdSubmit"); }

    void submitTeam(const QString &name, int division, const QString &district, const QString &region)
    {
        QWidget *f = form("FrmTeam");
        QVERIFY(f);
        type(f, "TxtTeam", name);
        choose(f, "CbDivision", division);
        type(f, "TxtDistrict", district);
        type(f, "TxtRegion", region);
        submit(f);
    }

private Q_SLOTS:
    void init() { m = std::make_unique<MeetHarness>(); }
    void cleanup() { m.reset(); }

    void team_addListsByNameAndLeavesNoSelection()
    {
        auto *screen = m->open<FrmTeamMgmt>();
        for (const auto &[name, division] :
             {std::pair{"Zephyr", 0}, std::pair{"O'Brien 100% \"Horse\"", 1}, std::pair{"apple", 3}}) {
            MeetHarness::click(screen, "CmdAddTeam");
            QVERIFY(!m->main.isEnabled() && !screen->isEnabled());
            submitTeam(name, division, "12", "4");
            QVERIFY(!form("FrmTeam") && m->main.isEnabled() && screen->isEnabled());
        }
        auto *list = screen->findChild<QListWidget *>("LbTeam");
        QCOMPARE(lines(list), (QStringList{"apple (D)", "O'Brien 100% \"Horse\" (B)", "Zephyr (A)"}));
        QCOMPARE(screen->selectedKey(), -1);
        // Taking the focus makes a line current without selecting it: that is no choice.
        list->selectionModel()->setCurrentIndex(list->model()->index(0, 0), QItemSelectionModel::NoUpdate);
        MeetHarness::click(screen, "CmdDeleteTeam");
        QCOMPARE(m->messages.last()->text, "You must select a team to Delete");
        QCOMPARE(m->messages.unscriptedQuestions, 0);
        QCOMPARE(
            MeetQuery::column(m->db(), "SELECT District || Region FROM TblTeam WHERE TeamName LIKE 'O''B%'"),
            QStringList{"124"});
    }

    // The save question comes first; answered Yes, the first failing check is refused. Boxes are
    // "name=text", a combo box "name=line".
    void form_questionFirstThenFirstFailingCheck_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("refusal"); // empty: saved
        const auto row = [](const char *name, const char *window, const QStringList &typed,
                            const char *refusal) {
            QTest::newRow(name) << QString::fromLatin1(window) << typed << QString::fromLatin1(refusal);
        };
        row("team, all empty", "FrmTeam", {}, "The Team Name box must be filled in");
        row("team, no division", "FrmTeam", {"TxtTeam=Blue"}, "You must select a division for this team");
        row("team, no district or region", "FrmTeam", {"TxtTeam=Blue", "CbDivision=1"},
            "You must specify the district of this team");
        row("team, no region", "FrmTeam", {"TxtTeam=Blue", "CbDivision=1", "TxtDistrict=7"},
            "You must specify the region of this team");
        row("team, blanks pass", "FrmTeam", {"TxtTeam= ", "CbDivision=1", "TxtDistrict= ", "TxtRegion= "},
            "");
        row("coach, no first or last name", "FrmCoach", {}, "The First Name box must be filled in");
        row("coach, no last name or position", "FrmCoach", {"TxtFirst=Kim"},
            "The Last Name box must be filled in");
        row("coach, no position", "FrmCoach", {"TxtFirst=Kim", "TxtLast=Ko"},
            "The Position box must have a valid entry");
        row("judge, no first or last name", "FrmJudge", {}, "The First Name box must be filled in");
        row("judge, no last name", "FrmJudge", {"TxtFirst=Lu"}, "The Last Name box must be filled in");
    }
    void form_questionFirstThenFirstFailingCheck()
    {
        QFETCH(QString, window);
        QFETCH(QStringList, typed);
        QFETCH(QString, refusal);
        if (window == u"FrmTeam") {
            MeetHarness::click(m->open<FrmTeamMgmt>(), "CmdAddTeam");
        } else if (window == u"FrmCoach") {
            m->build().addTeam("Blue", "B");
            auto *screen = m->open<FrmCoachMgmt>();
            choose(screen, "CbTeam", 0);
            MeetHarness::click(screen, "CmdAddCoach");
        } else {
            MeetHarness::click(m->open<FrmJudgeMgmt>(), "CmdAddJudge");
        }
        QWidget *f = form(window);
        QVERIFY(f);
        for (const QString &box : typed) {
            const QString name = box.section(u'=', 0, 0), text = box.section(u'=', 1);
            if (name.startsWith(u"Cb"))
                choose(f, name, text.toInt());
            else
                type(f, name, text);
        }
        const QString table = QStringLiteral("Tbl") + window.mid(3);

        m->messages.answer({false});
        MeetHarness::click(f, "CmdSubmit");
        QCOMPARE(m->messages.texts(), QStringList{EditForm::SaveQuestion});
        QVERIFY(form(window));
        QCOMPARE(MeetQuery::count(m->db(), table), 0);

        submit(f);
        QCOMPARE(MeetQuery::count(m->db(), table), refusal.isEmpty() ? 1 : 0);
        QCOMPARE(form(window) != nullptr, !refusal.isEmpty());
        if (refusal.isEmpty())
            return;
        QCOMPARE(m->messages.last()->title, "Submit Error");
        QCOMPARE(m->messages.last()->text, refusal);
        if (!typed.isEmpty()) // what was typed stays
            QCOMPARE(f->findChild<QLineEdit *>(typed[0].section(u'=', 0, 0))->text(),
                     typed[0].section(u'=', 1));
    }

    void team_editReselectsTheTeamAtItsNewPlace_andADivisionOutsideAtoDIsRefused()
    {
        auto b = m->build();
        b.addTeam("Alpha", "A");
        const auto beta = b.addTeam("Beta", "B");
        b.addTeam("Gamma", "C");
        Sql::exec(m->db(), "import",
                  "INSERT INTO TblTeam (TeamName, Division, District, Region) VALUES ('Odd', 'E', '1', '1')");
        auto *screen = m->open<FrmTeamMgmt>();
        pick(screen, "LbTeam", 1);
        QCOMPARE(screen->selectedKey(), beta);
        MeetHarness::click(screen, "CmdEditTeam");
        QWidget *f = form("FrmTeam");
        QCOMPARE(f->findChild<QLineEdit *>("TxtTeam")->text(), "Beta");
        QCOMPARE(f->findChild<QComboBox *>("CbDivision")->currentText(), "B");
        type(f, "TxtTeam", "Zulu");
        submit(f);
        auto *list = screen->findChild<QListWidget *>("LbTeam");
        QCOMPARE(lines(list), (QStringList{"Alpha (A)", "Gamma (C)", "Odd (E)", "Zulu (B)"}));
        QCOMPARE(list->selectedItems().value(0)->text(), "Zulu (B)");

        pick(screen, "LbTeam", 2);
        MeetHarness::click(screen, "CmdEditTeam");
        QCOMPARE(form("FrmTeam")->findChild<QComboBox *>("CbDivision")->currentIndex(), -1);
        submit(form("FrmTeam"));
        QCOMPARE(m->messages.last()->text, "You must select a division for this team");
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
        auto *screen = m->open<FrmTeamMgmt>();

        MeetHarness::click(screen, "CmdEditTeam");
        QCOMPARE(m->messages.last()->title, "Edit Error");
        QCOMPARE(m->messages.last()->text, "You must select a team before you can edit it");
        MeetHarness::click(screen, "CmdDeleteTeam");
        QCOMPARE(m->messages.last()->title, "Delete Error");
        QCOMPARE(m->messages.last()->text, "You must select a team to Delete");

        pick(screen, "LbTeam", 0); // Ridden
        MeetHarness::click(screen, "CmdDeleteTeam");
        QCOMPARE(m->messages.last()->text,
                 "You cannot delete a team that currently has riders belonging to it");

        pick(screen, "LbTeam", 1); // Wide
        QCOMPARE(screen->selectedKey(), 40000);
        MeetHarness::click(screen, "CmdEditTeam");
        QCOMPARE(form("FrmTeam")->findChild<QLineEdit *>("TxtTeam")->text(), "Wide");
        m->confirm(form("FrmTeam"), "CmdCancel");
        QVERIFY(!form("FrmTeam"));

        m->messages.answer({false});
        MeetHarness::click(screen, "CmdDeleteTeam");
        QCOMPARE(MeetQuery::count(m->db(), "TblTeam"), 2);
        m->confirm(screen, "CmdDeleteTeam");
        QCOMPARE(MeetQuery::column(m->db(), "SELECT LastName FROM TblCoach"), QStringList{"Coach"});
        QCOMPARE(screen->selectedKey(), -1);
        QCOMPARE(lines(screen->findChild<QListWidget *>("LbTeam")), QStringList{"Ridden (A)"});
    }

    void team_databaseFailureKeepsTheFormAndWhatWasTyped()
    {
        auto *screen = m->open<FrmTeamMgmt>();
        MeetQuery::forceFailure(m->db(), "INSERT ON TblTeam");
        MeetHarness::click(screen, "CmdAddTeam");
        submitTeam("Blue", 1, "1", "1");
        QCOMPARE(m->messages.last()->kind, ScriptedMessages::Kind::Fail);
        QVERIFY(m->messages.last()->text.contains("disk is full"));
        QCOMPARE(form("FrmTeam")->findChild<QLineEdit *>("TxtTeam")->text(), "Blue");
        QVERIFY(!m->main.isEnabled());
        m->messages.answer({true});
        form("FrmTeam")->close(); // the close button counts as Cancel
        QVERIFY(m->main.isEnabled() && screen->isEnabled());
    }

    void team_boxesHoldNoMoreThanTheirFields()
    {
        MeetHarness::click(m->open<FrmTeamMgmt>(), "CmdAddTeam");
        submitTeam(QString(60, u'x'), 0, "12345", "42");
        QCOMPARE(MeetQuery::column(m->db(), "SELECT length(TeamName) || District || Region FROM TblTeam"),
                 QStringList{"501234"});
    }

    void coach_headCoachesFirstAndTeamKeptAcrossAnEdit()
    {
        auto b = m->build();
        b.addTeam("Acorn", "A");
        const auto blue = b.addTeam("Blue", "B");
        auto *screen = m->open<FrmCoachMgmt>();
        MeetHarness::click(screen, "CmdAddCoach");
        QCOMPARE(m->messages.last()->text, "You must first select the team you want to add the coach to.");
        QCOMPARE(m->messages.last()->title, "Quendal");

        choose(screen, "CbTeam", 1);
        QCOMPARE(screen->findChild<QLabel *>("LblCurrentTeam")->text(), "Blue");
        for (const auto &[first, last, position] :
             {std::tuple{"Zed", "Zorn", 0}, std::tuple{"Amy", "Adams", 1}}) {
            MeetHarness::click(screen, "CmdAddCoach");
            QWidget *f = form("FrmCoach");
            type(f, "TxtFirst", first);
            type(f, "TxtLast", last);
            type(f, "TxtZip", "1234567");
            choose(f, "CbPosition", position);
            submit(f);
            QVERIFY(!form("FrmCoach"));
        }
        auto *list = screen->findChild<QListWidget *>("LbCoaches");
        QCOMPARE(lines(list), (QStringList{"Zorn, Zed - Head Coach", "Adams, Amy - Assistant Coach"}));
        QCOMPARE(MeetQuery::column(m->db(), "SELECT Zip FROM TblCoach WHERE LastName = 'Zorn'"),
                 QStringList{"12345"});

        pick(screen, "LbCoaches", 1);
        MeetHarness::click(screen, "CmdEditCoach");
        QWidget *f = form("FrmCoach");
        QCOMPARE(f->findChild<QComboBox *>("CbPosition")->currentIndex(), 1);
        type(f, "TxtLast", "Zuber");
        submit(f);
        QCOMPARE(screen->findChild<QComboBox *>("CbTeam")->currentIndex(), 1);
        QCOMPARE(lines(list), (QStringList{"Zorn, Zed - Head Coach", "Zuber, Amy - Assistant Coach"}));
        QCOMPARE(MeetQuery::column(m->db(), "SELECT TeamCode FROM TblCoach"),
                 (QStringList{QString::number(blue), QString::number(blue)}));
    }

    void coach_oddPositionEditsAsAssistantAndDeleteAsks()
    {
        auto b = m->build();
        b.addCoach(b.addTeam("Blue", "B"), "Pat", "Odd", "Coach");
        auto *screen = m->open<FrmCoachMgmt>();
        MeetHarness::click(screen, "CmdEditCoach");
        QCOMPARE(m->messages.last()->text, "You must first select the coach you want to edit.");
        MeetHarness::click(screen, "CmdDeleteCoach");
        QCOMPARE(m->messages.last()->title, "Delete Error");
        QCOMPARE(m->messages.last()->text, "You must select a coach to delete");

        choose(screen, "CbTeam", 0);
        pick(screen, "LbCoaches", 0);
        MeetHarness::click(screen, "CmdEditCoach");
        QCOMPARE(form("FrmCoach")->findChild<QComboBox *>("CbPosition")->currentText(), "Assistant Coach");
        m->confirm(form("FrmCoach"), "CmdCancel");
        QCOMPARE(MeetQuery::column(m->db(), "SELECT Position FROM TblCoach"), QStringList{"Coach"});

        pick(screen, "LbCoaches", 0);
        m->messages.answer({false});
        MeetHarness::click(screen, "CmdDeleteCoach");
        QCOMPARE(MeetQuery::count(m->db(), "TblCoach"), 1);
        m->confirm(screen, "CmdDeleteCoach");
        QCOMPARE(MeetQuery::count(m->db(), "TblCoach"), 0);
        QCOMPARE(screen->selectedKey(), -1);
    }

    void judge_addEditAndDeleteRefusedWhileJudgingOrPlacedAClass()
    {
        auto b = m->build();
        // A key above 16 bits is held and edited like any other.
        Sql::exec(m->db(), "big",
                  "INSERT INTO TblJudge (JudgeID, FirstName, LastName) VALUES (70000, 'Zoë', 'Zimmer')");
        auto *screen = m->open<FrmJudgeMgmt>();
        MeetHarness::click(screen, "CmdAddJudge");
        QWidget *f = form("FrmJudge");
        type(f, "TxtFirst", "Ann");
        type(f, "TxtLast", "Able");
        type(f, "TxtState", "Ohio");
        f->findChild<QPlainTextEdit *>("TxtMemo")->setPlainText("Prefers the\nmorning classes");
        submit(f);
        QCOMPARE(lines(screen->findChild<QListWidget *>("LbJudges")),
                 (QStringList{"Able, Ann", "Zimmer, Zoë"}));
        const ResultRows ann =
            Sql::select(m->db(), "judge", "SELECT * FROM TblJudge WHERE LastName = 'Able'");
        QCOMPARE(ann.text(0, u"State"), "Oh");
        QCOMPARE(ann.text(0, u"Memo"), "Prefers the\nmorning classes");

        const auto annId = std::int32_t(ann.integer(0, u"JudgeID"));
        b.assignJudge(annId, 3, "C");
        pick(screen, "LbJudges", 0);
        MeetHarness::click(screen, "CmdDeleteJudge");
        QCOMPARE(m->messages.last()->text,
                 "The judge cannot be deleted as long as a class is assigned to them.");
        QCOMPARE(MeetQuery::count(m->db(), "TblJudge"), 2);

        // Nor while a class holds placings of theirs, even when they come from another station
        // while the question is open.
        Sql::exec(m->db(), "unassign", "DELETE FROM TblClassJudges");
        b.addPlacing(3, 1, 1, "C", annId);
        MeetHarness::click(screen, "CmdDeleteJudge");
        QCOMPARE(m->messages.last()->text,
                 "The judge cannot be deleted as long as a class is placed by them.");
        Sql::exec(m->db(), "placings replaced", "DELETE FROM TblPlacing");
        const JudgeRoster roster(m->db());
        QCOMPARE(roster.deleteRefusal(annId), std::nullopt);
        b.addPlacing(3, 1, 1, "C", annId);
        QCOMPARE(roster.remove(annId), JudgeRoster::HasPlacings);
        QCOMPARE(MeetQuery::count(m->db(), "TblJudge"), 2);

        Sql::exec(m->db(), "placings replaced", "DELETE FROM TblPlacing");
        m->confirm(screen, "CmdDeleteJudge");
        QCOMPARE(MeetQuery::count(m->db(), "TblJudge"), 1);
        MeetHarness::click(screen, "CmdEditJudge");
        QCOMPARE(m->messages.last()->text, "You must first select the Judge you want to edit.");
        MeetHarness::click(screen, "CmdDeleteJudge");
        QCOMPARE(m->messages.last()->text, "You must select a Judge to delete.");

        pick(screen, "LbJudges", 0);
        MeetHarness::click(screen, "CmdEditJudge");
        type(form("FrmJudge"), "TxtFirst", "Zed");
        submit(form("FrmJudge"));
        QCOMPARE(MeetQuery::column(m->db(), "SELECT JudgeID || FirstName FROM TblJudge"),
                 QStringList{"70000Zed"});
    }
};

QTEST_MAIN(TstRosterScreens)
#include "tst_rosterscreens.moc"
