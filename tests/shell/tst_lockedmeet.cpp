// Another program holds the meet file (a backup tool, a database viewer): whatever the user does,
// the program tells once, in plain words, what could not be done; the windows that were usable
// stay usable, the meet is exactly as it was, and once the file is free the same action works.
#include "programfixture.h"

#include "db/sql.h"
#include "registration/numberassigner.h"

namespace {

using P = ProgramFixture;

// A second connection to the meet file holding a lock, as another program would. EXCLUSIVE
// keeps readers and writers out; IMMEDIATE only writers, so that the writing step of an action
// is reached.
class OtherProgram
{
public:
    OtherProgram(const QString &path, const char *mode)
    {
        m_connection.open(path, DbConnection::Mode::ReadWrite);
        Sql::exec(m_connection.database(), QStringLiteral("Holding the file"),
                  QStringLiteral("BEGIN ") + QLatin1StringView(mode));
    }
    // Closing the connection ends its transaction.
    void release() { m_connection.close(); }

private:
    DbConnection m_connection;
};

QString inUse(const QString &step)
{
    return step + QStringLiteral(": the meet file is in use by another program; try again");
}

struct Case
{
    const char *name;
    const char *lock;
    std::function<void(P &)> prepare; // with the file free
    std::function<void(P &)> act;     // while the other program holds it
    QString told;
};

const std::vector<Case> &cases()
{
    const auto opened = [](int slot) { return [slot](P &p) { p.open(slot); }; };
    const auto pressing = [](const char *button) { return [button](P &p) { p.press(button); }; };
    const auto submit = [](const char *form, const char *button) {
        return [form, button](P &) { P::press(P::in(form), button); };
    };
    const auto selecting = [](int slot, const char *list, int line) {
        return [slot, list, line](P &p) {
            p.open(slot);
            if (slot == 2)
                P::choose(p.screen(), "CbTeam", 0);
            p.pick(list, line);
        };
    };
    const auto searchLee = [](P &p) {
        p.open(3);
        P::type(p.screen(), {{"TxtSearchFor", "Lee"}});
        p.press("CmdSearch");
        p.pick("LbResults", 0);
    };
    const auto showDay = [](int slot, const char *box) {
        return [slot, box](P &p) {
            p.prepareShowDay();
            if (slot) {
                p.open(slot);
                if (*box)
                    P::choose(p.screen(), box, 0);
            }
        };
    };
    static const std::vector<Case> all{
        // Lists and the search.
        {"team list", "EXCLUSIVE", opened(1), opened(1), inUse("Reading the team list")},
        {"judge list", "EXCLUSIVE", opened(4), opened(4), inUse("Reading the judge list")},
        {"a team's coaches", "EXCLUSIVE", opened(2), [](P &p) { P::choose(p.screen(), "CbTeam", 0); },
         inUse("Reading the team's coaches")},
        {"rider search", "EXCLUSIVE",
         [](P &p) {
             p.open(3);
             P::type(p.screen(), {{"TxtSearchFor", "Lee"}});
         },
         pressing("CmdSearch"), inUse("Searching the riders")},
        // Opening an editor with a selection.
        {"Edit Team", "EXCLUSIVE", selecting(1, "LbTeam", 0), pressing("CmdEditTeam"),
         inUse("Reading the team")},
        {"Edit Coach", "EXCLUSIVE", selecting(2, "LbCoaches", 0), pressing("CmdEditCoach"),
         inUse("Reading the coach")},
        {"Edit Judge", "EXCLUSIVE", selecting(4, "LbJudges", 0), pressing("CmdEditJudge"),
         inUse("Reading the judge")},
        {"Edit Rider", "EXCLUSIVE", searchLee, pressing("CmdEdit"), inUse("Reading the team list")},
        {"Add Rider", "EXCLUSIVE", opened(3), pressing("CmdAdd"), inUse("Reading the team list")},
        // Saves.
        {"save a team", "EXCLUSIVE",
         [](P &p) {
             p.open(1);
             p.press("CmdAddTeam");
             P::type(P::in("FrmTeam"), {{"TxtTeam", "Cedar"}, {"TxtDistrict", "2"}, {"TxtRegion", "3"}});
             P::choose(P::in("FrmTeam"), "CbDivision", 2);
         },
         submit("FrmTeam", "CmdSubmit"), inUse("Saving the team")},
        {"save a coach", "EXCLUSIVE",
         [](P &p) {
             p.open(2);
             P::choose(p.screen(), "CbTeam", 0);
             p.press("CmdAddCoach");
             P::type(P::in("FrmCoach"), {{"TxtFirst", "Kim"}, {"TxtLast", "Ko"}});
             P::choose(P::in("FrmCoach"), "CbPosition", 1);
         },
         submit("FrmCoach", "CmdSubmit"), inUse("Saving the coach")},
        {"save a judge", "EXCLUSIVE",
         [](P &p) {
             p.open(4);
             p.press("CmdAddJudge");
             P::type(P::in("FrmJudge"), {{"TxtFirst", "Lu"}, {"TxtLast", "Lind"}});
         },
         submit("FrmJudge", "CmdSubmit"), inUse("Saving the judge")},
        {"save a rider", "EXCLUSIVE",
         [searchLee](P &p) {
             searchLee(p);
             p.press("CmdEdit");
             P::type(P::in("FrmRider"), {{"RiderListBoxArray_0", "9"}});
         },
         submit("FrmRider", "CmdSave"), inUse("Saving the rider")},
        // Deletes: the check before the question, and with readers let in, the delete itself.
        {"delete a team", "EXCLUSIVE", selecting(1, "LbTeam", 1), pressing("CmdDeleteTeam"),
         inUse("Looking for the team's riders")},
        {"delete a team, writes held", "IMMEDIATE", selecting(1, "LbTeam", 1), pressing("CmdDeleteTeam"),
         inUse("Deleting the team")},
        {"delete a coach", "EXCLUSIVE", selecting(2, "LbCoaches", 0), pressing("CmdDeleteCoach"),
         inUse("Deleting the coach")},
        {"delete a judge", "EXCLUSIVE", selecting(4, "LbJudges", 0), pressing("CmdDeleteJudge"),
         inUse("Looking for the judge's classes")},
        {"delete a judge, writes held", "IMMEDIATE", selecting(4, "LbJudges", 0), pressing("CmdDeleteJudge"),
         inUse("Deleting the judge")},
        {"delete a rider", "EXCLUSIVE", searchLee, pressing("CmdDelete"),
         inUse("Looking for the rider's entries")},
        {"delete a rider, writes held", "IMMEDIATE", searchLee, pressing("CmdDelete"),
         inUse("Deleting the rider")},
        // Reports.
        {"Team List", "EXCLUSIVE", opened(1), pressing("CmdTeamReport"),
         inUse("Reading the report data TeamListReport")},
        {"Complete Coach List", "EXCLUSIVE", opened(2), pressing("CmdCoachReport"),
         inUse("Reading the report data TeamCoachsReport")},
        {"Rider List by Team", "EXCLUSIVE", opened(3), pressing("CmdReportbyTeam"),
         inUse("Reading the report data RiderListbyTeam")},
        {"Rider List by Number", "EXCLUSIVE", opened(3), pressing("CmdReportbyNumber"),
         inUse("Reading the riders by number")},
        // Numbering and the import.
        {"Assign Rider #s", "EXCLUSIVE", opened(1), [](P &p) { p.openNumbers(); },
         inUse("Reading the teams and riders")},
        {"random numbering", "EXCLUSIVE",
         [](P &p) {
             p.openNumbers();
             P::press(p.numbers(), "CmdRandom");
             P::type(p.numbers(), {{"TxtRandRange1", "1"}, {"TxtRandRange2", "50"}});
         },
         submit("FrmAssignNumbers", "CmdRandSubmit"),
         NumberAssigner::WriteFailed + QStringLiteral("\n\n") + inUse("Counting the riders")},
        {"one rider's number", "EXCLUSIVE",
         [](P &p) {
             p.editAnnsNumber();
             P::type(p.numbers(), {{"TxtRiderNumber", "7"}});
         },
         submit("FrmAssignNumbers", "CmdEditSubmit"), inUse("Setting the rider number")},
        {"import", "EXCLUSIVE", [](P &p) { p.openImport(); }, submit("FrmDataImport", "CmdImport"),
         QStringLiteral("Nothing was imported.\n\n") + inUse("Importing the regional file")},
        // The show day.
        {"Create Judging Assignments", "EXCLUSIVE", showDay(5, ""), pressing("CmdAssignclasses"),
         inUse("Reading the judge assignments")},
        {"Judging Agenda Report", "EXCLUSIVE", showDay(5, ""), pressing("CmdDisplayReport"),
         inUse("Reading the report data JudgeAgenda")},
        {"Create Single slot sheet", "EXCLUSIVE", showDay(6, "CbTeam"), pressing("CmdSingle"),
         inUse("Reading the classes")},
        {"Judges Cards", "EXCLUSIVE", showDay(0, ""), opened(7), inUse("Reading the classes")},
        {"Rider Entries list", "EXCLUSIVE", showDay(8, ""), opened(8),
         inUse("Reading the teams of the division")},
        {"Add Entries", "EXCLUSIVE", showDay(8, "CbTeamName"), pressing("CmdSubmit"),
         inUse("Reading the team's riders")},
        {"class sheet", "EXCLUSIVE", showDay(9, "CbClass"), pressing("CmdRandom"),
         inUse("Reading the riders entered in the class")},
        {"Add Placings", "EXCLUSIVE", showDay(10, "CbClass"), pressing("CmdAddPlacings"),
         inUse("Reading the judges of the class")},
        {"Placings Report", "EXCLUSIVE", showDay(10, "CbClass"), pressing("CmdPlacingsReport"),
         inUse("Reading the report data PlacingsReport")},
        {"Meet Standings", "EXCLUSIVE", showDay(0, ""), opened(11),
         inUse("Reading the teams of the division")},
        {"Rider Results", "EXCLUSIVE", showDay(0, ""), opened(12), inUse("Reading the report data RptTeam")},
    };
    return all;
}

QStringList failures(const ScriptedMessages &messages)
{
    QStringList out;
    for (const ScriptedMessages::Message &told : messages.log)
        if (told.kind == ScriptedMessages::Kind::Fail)
            out << told.text;
    return out;
}

// Each window on screen, and the open activity screen, with whether the user can use it.
QStringList usable(const P &p)
{
    QStringList out;
    QWidgetList windows = QApplication::topLevelWidgets();
    if (p.screen())
        windows << p.screen();
    for (const QWidget *w : windows)
        if (w->isVisible())
            out << w->objectName() + (w->isEnabled() ? QStringLiteral(" usable") : QStringLiteral(" locked"));
    out.sort();
    return out;
}

} // namespace

class TstLockedMeet : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ProgramFixture> p;

private Q_SLOTS:
    void initTestCase() { DbConnection::setBusyTimeout(50); }
    void init() { p = std::make_unique<ProgramFixture>(); }
    void cleanup() { p.reset(); }

    void action_isToldOnceAndLeavesWindowsAndMeetAsTheyWere_data()
    {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(cases().size()); ++i)
            QTest::newRow(cases()[i].name) << i;
    }
    void action_isToldOnceAndLeavesWindowsAndMeetAsTheyWere()
    {
        QFETCH(int, row);
        const Case &c = cases()[row];
        c.prepare(*p);
        const QStringList windows = usable(*p);
        const QString meet = MeetFixture::dump(p->m.db());
        p->m.messages.clear();

        OtherProgram other(p->m.app.meetConnection.path(), c.lock);
        c.act(*p);
        QCOMPARE(failures(p->m.messages), QStringList{c.told});
        QCOMPARE(usable(*p), windows);
        other.release();
        QCOMPARE(MeetFixture::dump(p->m.db()), meet);

        // Nothing is left stuck: the same action now goes through.
        p->m.messages.clear();
        c.act(*p);
        QCOMPARE(failures(p->m.messages), QStringList{});
    }
};

QTEST_MAIN(TstLockedMeet)
#include "tst_lockedmeet.moc"
