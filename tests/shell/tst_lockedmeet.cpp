// Another program holds the meet file (a backup tool, a database viewer): whatever the user does,
// the program tells once, in plain words, what could not be done; the windows that were usable
// stay usable, the meet is exactly as it was, and once the file is free the same action works.
#include "programfixture.h"

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

// A row whose name ends in "writes held" lets readers in: the check before a delete passes and
// the delete itself meets the lock.
struct Case
{
    const char *name;
    std::function<void(P &)> prepare; // with the file free
    std::function<void(P &)> act;     // while the other program holds it
    const char *step;                 // what is told could not be done
    const char *before = "";          // what is told ahead of it
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
    // An editing window opened with its Add button and filled in.
    const auto adding = [](int slot, const char *button, const char *form, P::Boxes boxes,
                           const char *combo = "", int line = 0) {
        return [=](P &p) {
            p.open(slot);
            if (slot == 2)
                P::choose(p.screen(), "CbTeam", 0);
            p.press(button);
            P::type(P::in(form), boxes);
            if (*combo)
                P::choose(P::in(form), combo, line);
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
        {"team list", opened(1), opened(1), "Reading the team list"},
        {"judge list", opened(4), opened(4), "Reading the judge list"},
        {"a team's coaches", opened(2), [](P &p) { P::choose(p.screen(), "CbTeam", 0); },
         "Reading the team's coaches"},
        {"rider search",
         [](P &p) {
             p.open(3), P::type(p.screen(), {{"TxtSearchFor", "Lee"}});
         },
         pressing("CmdSearch"), "Searching the riders"},
        // Opening an editor with a selection.
        {"Edit Team", selecting(1, "LbTeam", 0), pressing("CmdEditTeam"), "Reading the team"},
        {"Edit Coach", selecting(2, "LbCoaches", 0), pressing("CmdEditCoach"), "Reading the coach"},
        {"Edit Judge", selecting(4, "LbJudges", 0), pressing("CmdEditJudge"), "Reading the judge"},
        {"Edit Rider", searchLee, pressing("CmdEdit"), "Reading the team list"},
        {"Add Rider", opened(3), pressing("CmdAdd"), "Reading the team list"},
        // Saves.
        {"save a team",
         adding(1, "CmdAddTeam", "FrmTeam", {{"TxtTeam", "Cedar"}, {"TxtDistrict", "2"}, {"TxtRegion", "3"}},
                "CbDivision", 2),
         submit("FrmTeam", "CmdSubmit"), "Saving the team"},
        {"save a coach",
         adding(2, "CmdAddCoach", "FrmCoach", {{"TxtFirst", "Kim"}, {"TxtLast", "Ko"}}, "CbPosition", 1),
         submit("FrmCoach", "CmdSubmit"), "Saving the coach"},
        {"save a judge", adding(4, "CmdAddJudge", "FrmJudge", {{"TxtFirst", "Lu"}, {"TxtLast", "Lind"}}),
         submit("FrmJudge", "CmdSubmit"), "Saving the judge"},
        {"save a rider",
         [searchLee](P &p) {
             searchLee(p);
             p.press("CmdEdit");
             P::type(P::in("FrmRider"), {{"RiderListBoxArray_0", "9"}});
         },
         submit("FrmRider", "CmdSave"), "Saving the rider"},
        // Deletes: the check before the question, and with readers let in, the delete itself.
        {"delete a team", selecting(1, "LbTeam", 1), pressing("CmdDeleteTeam"),
         "Looking for the team's riders"},
        {"delete a team, writes held", selecting(1, "LbTeam", 1), pressing("CmdDeleteTeam"),
         "Deleting the team"},
        {"delete a coach", selecting(2, "LbCoaches", 0), pressing("CmdDeleteCoach"), "Deleting the coach"},
        {"delete a judge", selecting(4, "LbJudges", 0), pressing("CmdDeleteJudge"),
         "Looking for the judge's classes"},
        {"delete a judge, writes held", selecting(4, "LbJudges", 0), pressing("CmdDeleteJudge"),
         "Deleting the judge"},
        {"delete a rider", searchLee, pressing("CmdDelete"), "Looking for the rider's entries"},
        {"delete a rider, writes held", searchLee, pressing("CmdDelete"), "Deleting the rider"},
        // Reports.
        {"Team List", opened(1), pressing("CmdTeamReport"), "Reading the report data TeamListReport"},
        {"Complete Coach List", opened(2), pressing("CmdCoachReport"),
         "Reading the report data TeamCoachsReport"},
        {"Rider List by Team", opened(3), pressing("CmdReportbyTeam"),
         "Reading the report data RiderListbyTeam"},
        {"Rider List by Number", opened(3), pressing("CmdReportbyNumber"), "Reading the riders by number"},
        // Numbering and the import.
        {"Assign Rider #s", opened(1), [](P &p) { p.openNumbers(); }, "Reading the teams and riders"},
        {"random numbering",
         [](P &p) {
             p.openNumbers();
             P::press(p.numbers(), "CmdRandom");
             P::type(p.numbers(), {{"TxtRandRange1", "1"}, {"TxtRandRange2", "50"}});
         },
         submit("FrmAssignNumbers", "CmdRandSubmit"), "Counting the riders",
         "A unexpected error has occurred. Please try your request again.\n\n"},
        {"one rider's number",
         [](P &p) {
             p.editAnnsNumber(), P::type(p.numbers(), {{"TxtRiderNumber", "7"}});
         },
         submit("FrmAssignNumbers", "CmdEditSubmit"), "Setting the rider number"},
        {"import", [](P &p) { p.openImport(); }, submit("FrmDataImport", "CmdImport"),
         "Importing the regional file", "Nothing was imported.\n\n"},
        // The show day.
        {"Create Judging Assignments", showDay(5, ""), pressing("CmdAssignclasses"),
         "Reading the judge assignments"},
        {"Judging Agenda Report", showDay(5, ""), pressing("CmdDisplayReport"),
         "Reading the report data JudgeAgenda"},
        {"Create Single slot sheet", showDay(6, "CbTeam"), pressing("CmdSingle"), "Reading the classes"},
        {"Judges Cards", showDay(0, ""), opened(7), "Reading the classes"},
        {"Rider Entries list", showDay(8, ""), opened(8), "Reading the teams of the division"},
        {"Add Entries", showDay(8, "CbTeamName"), pressing("CmdSubmit"), "Reading the team's riders"},
        {"class sheet", showDay(9, "CbClass"), pressing("CmdRandom"),
         "Reading the riders entered in the class"},
        {"Add Placings", showDay(10, "CbClass"), pressing("CmdAddPlacings"),
         "Reading the judges of the class"},
        {"Placings Report", showDay(10, "CbClass"), pressing("CmdPlacingsReport"),
         "Reading the report data PlacingsReport"},
        {"Meet Standings", showDay(0, ""), opened(11), "Reading the teams of the division"},
        {"Rider Results", showDay(0, ""), opened(12), "Reading the report data RptTeam"},
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

        const bool readersIn = QLatin1StringView(c.name).endsWith(u"writes held");
        OtherProgram other(p->m.app.meetConnection.location(), readersIn ? "IMMEDIATE" : "EXCLUSIVE");
        c.act(*p);
        QCOMPARE(failures(p->m.messages),
                 QStringList{QLatin1StringView(c.before) + QLatin1StringView(c.step) +
                             QStringLiteral(": the meet file is in use by another program; try again")});
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
