// Several stations on one meet at once: each a program of its own (station.cpp), saving at the
// same moment as another. What one saves is never lost or mixed with another's, and a save
// that would overwrite another's is told.
#include "meetfile.h"

#include "db/engine.h"
#include "db/writetransaction.h"
#include "judging/judgeassignments.h"
#include "registration/coachroster.h"
#include "registration/judgeroster.h"
#include "registration/riderregistry.h"
#include "registration/teamroster.h"
#include "shell/gridmarks.h"

#include <QProcess>

#include <memory>
#include <set>

namespace {

class Station
{
public:
    Station(const QString &meet, const QStringList &args)
    {
        m_process.setProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/trotwise-station"));
        m_process.setArguments(QStringList{meet} + args);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start();
    }
    ~Station()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(10000))
            m_process.kill();
    }

    // The station's next line ("ready", "saved", "told: ..."), or "" when none came in time.
    QString next(int ms = 60000)
    {
        while (!m_process.canReadLine())
            if (!m_process.waitForReadyRead(ms))
                return m_process.state() == QProcess::NotRunning
                           ? QStringLiteral("(ended with status %1)")
                                 .arg(m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode()
                                                                                     : -1)
                           : QString();
        return QString::fromUtf8(m_process.readLine()).trimmed();
    }
    void send(const char *line) { m_process.write(QByteArray(line) + '\n'); }

private:
    QProcess m_process;
};

// An editor of one roster record: reads it as its window does, and answers the save of what it
// read, as Submit without a change would.
using Editor = std::function<std::function<void()>(const QSqlDatabase &, std::int32_t)>;
template <typename Roster>
Editor editorOf()
{
    return [](const QSqlDatabase &db, std::int32_t key) -> std::function<void()> {
        auto mark = std::make_shared<ReadMark>(Roster::editMark());
        const auto record = Roster(db).find(key, mark.get());
        return [db, record, mark] { Roster(db).save(*record, *mark); };
    };
}

struct RosterKind
{
    const char *word;
    const char *table;
    const char *key;
    Editor edit;
};
const RosterKind rosterKinds[] = {
    {"team", "TblTeam", "TeamCode", editorOf<TeamRoster>()},
    {"coach", "TblCoach", "CoachCode", editorOf<CoachRoster>()},
    {"rider", "TblPerson", "RiderIndex", editorOf<RiderRegistry>()},
    {"judge", "TblJudge", "JudgeID", editorOf<JudgeRoster>()},
};

} // namespace

class TstStations : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MeetFile> m;
    QSqlDatabase db() const { return m->db(); }

    QStringList column(const QString &sql, const QVariantList &values = {})
    {
        return MeetQuery::column(db(), sql, values);
    }

    // Two stations that have read what they save, saving at the same moment: a third holds the
    // rows both write (on a file, the file itself) until both wait for them, then lets go, so
    // that each has made its checks before either writes. Answers what each said.
    QStringList saveTogether(Station &a, Station &b, const QString &rowsBothWrite,
                             const QVariantList &values = {})
    {
        const QString first = a.next();
        const QString second = b.next();
        if (first != u"ready" || second != u"ready")
            return {"not ready", first, second};
        DbConnection other;
        other.open(m->path(), DbConnection::Mode::ReadWrite);
        {
            WriteTransaction holding(other.database(), "holding");
            const bool server = Engine::onServer(db());
            if (server)
                Sql::select(other.database(), "hold", rowsBothWrite + " FOR UPDATE", values);
            a.send("go");
            b.send("go");
            if (server)
                [&] { QTRY_COMPARE_WITH_TIMEOUT(waitingStations(), 2, 20000); }();
            else
                QTest::qWait(300);
        }
        return {a.next(), b.next()};
    }

    int waitingStations()
    {
        return Sql::scalar(db(), "waiting",
                           "SELECT count(*) FROM pg_stat_activity WHERE wait_event_type = 'Lock'")
            .toInt();
    }

private Q_SLOTS:
    void init() { m = std::make_unique<MeetFile>(); }
    void cleanup() { m.reset(); }

    void placingsOfTwoClasses_bothStored()
    {
        MeetBuilder b = m->build();
        const auto team = b.addTeam("Blue", "A");
        const auto smith = b.addJudge("Zoe", "Smith");
        const auto adams = b.addJudge("Bob", "Adams");
        for (int r = 1; r <= 12; ++r)
            b.addRider(team, "Rider", QString::number(r), QString::number(r));
        for (int cls : {3, 4}) {
            b.enterEveryRider(cls, "A");
            b.assignJudge(smith, cls, "A");
            b.assignJudge(adams, cls, "A");
            b.addPlacing(cls, 1, 1, "A", smith);
        }
        Station three(m->path(), {"placings", "3", "A", "1"});
        Station four(m->path(), {"placings", "4", "A", "5"});
        QCOMPARE(saveTogether(three, four, "SELECT * FROM TblPlacing"), (QStringList{"saved", "saved"}));
        QCOMPARE(column("SELECT ClassNumber || ':' || count(*) || ':' || count(DISTINCT JudgeID) || ':' || "
                        "sum(Place) FROM TblPlacing GROUP BY ClassNumber ORDER BY ClassNumber"),
                 (QStringList{"3:20:2:110", "4:20:2:110"}));
        // Each class holds its own station's cards: class 4 starts at the fifth line, rider 2 (the
        // numbers sort as text).
        QCOMPARE(column("SELECT p.ClassNumber || ':' || r.RiderNumber FROM TblPlacing p JOIN TblPerson r ON "
                        "r.RiderIndex = p.RiderIndex WHERE Place = 1 AND JudgeID = ? ORDER BY 1",
                        {adams}),
                 (QStringList{"3:1", "4:2"}));
        // Both saves have their journal line, each from its station.
        QCOMPARE(column("SELECT Station || ': ' || What FROM TblJournal ORDER BY 1"),
                 (QStringList{"placings 3 A 1: Placings of class 3, division A",
                              "placings 4 A 5: Placings of class 4, division A"}));
    }

    void sameTeamsEntries_oneStoredTheOtherToldNothingMixed()
    {
        MeetBuilder b = m->build();
        const auto team = b.addTeam("Blue", "A");
        for (int r = 1; r <= 6; ++r)
            b.addRider(team, "Rider", QString::number(r), QString::number(r));
        b.enterEveryRider(3, "A"); // what both stations replace
        const QString code = QString::number(team);
        Station first(m->path(), {"entries", code, "1"});
        Station second(m->path(), {"entries", code, "2"});
        const QStringList said = saveTogether(first, second, "SELECT * FROM TblEntry");
        QCOMPARE(said.count("saved"), 1);
        const QString told = said.at(said.indexOf("saved") == 0 ? 1 : 0);
        QVERIFY2(told.contains("another station changed this team's riders or entries"), qPrintable(told));
        const QString stored = said.first() == u"saved" ? "1" : "2";
        QCOMPARE(column("SELECT ClassNumber || ':' || count(*) FROM TblEntry GROUP BY ClassNumber"),
                 QStringList{stored + ":6"});
    }

    // The same records saved from two stations at the same moment: one save is stored whole,
    // the other is told, and nothing of the two is mixed.
    void oneClassOrDivisionFromTwoStations_oneStoredTheOtherTold_data()
    {
        QTest::addColumn<QStringList>("first");
        QTest::addColumn<QStringList>("second");
        QTest::addColumn<QString>("rowsBothWrite");
        QTest::addColumn<QString>("told");
        QTest::addColumn<QString>("stored"); // what tells the two saves apart
        QTest::addColumn<QStringList>("ifFirst");
        QTest::addColumn<QStringList>("ifSecond");
        QTest::newRow("the placings of one class")
            << QStringList{"placings", "3", "A", "1"} << QStringList{"placings", "3", "A", "5"}
            << "SELECT * FROM TblPlacing"
            << "another station saved this class's placings or judges"
            << "SELECT r.RiderNumber FROM TblPlacing p JOIN TblPerson r ON r.RiderIndex = p.RiderIndex "
               "WHERE p.Place = 1 ORDER BY p.JudgeID"
            << QStringList{"10", "1"} << QStringList{"3", "2"};
        QTest::newRow("a division's judge assignments")
            << QStringList{"judges", "A", "4", "2"} << QStringList{"judges", "A", "4", "3"}
            << "SELECT * FROM TblClassJudges"
            << "another station changed the judges or this division's judge assignments"
            << "SELECT j.LastName FROM TblClassJudges a JOIN TblJudge j ON j.JudgeID = a.JudgeID "
               "WHERE a.ClassNumber = 4 ORDER BY j.JudgeID"
            << QStringList{"Adams", "Cole"} << QStringList{"Cole", "Dunn"};
    }
    void oneClassOrDivisionFromTwoStations_oneStoredTheOtherTold()
    {
        QFETCH(QStringList, first);
        QFETCH(QStringList, second);
        QFETCH(QString, rowsBothWrite);
        QFETCH(QString, told);
        QFETCH(QString, stored);
        QFETCH(QStringList, ifFirst);
        QFETCH(QStringList, ifSecond);
        MeetBuilder b = m->build();
        const auto team = b.addTeam("Blue", "A");
        const auto smith = b.addJudge("Zoe", "Smith");
        const auto adams = b.addJudge("Bob", "Adams");
        b.addJudge("Cy", "Cole");
        b.addJudge("Di", "Dunn");
        for (int r = 1; r <= 12; ++r)
            b.addRider(team, "Rider", QString::number(r), QString::number(r));
        b.enterEveryRider(3, "A");
        b.assignJudge(smith, 3, "A");
        b.assignJudge(adams, 3, "A");
        b.addPlacing(3, 1, 1, "A", smith);
        Station one(m->path(), first);
        Station two(m->path(), second);
        const QStringList said = saveTogether(one, two, rowsBothWrite);
        QVERIFY2(said.count("saved") == 1, qPrintable(said.join(" | ")));
        const QString refused = said.at(said.indexOf("saved") == 0 ? 1 : 0);
        QVERIFY2(refused.startsWith("told: ") && refused.contains(told), qPrintable(refused));
        QCOMPARE(column(stored), said.first() == u"saved" ? ifFirst : ifSecond);
    }

    // A roster record saved over another station's change is told, and over its delete told as
    // deleted, with advice that fits: on the meet file as on the server.
    void rosterRecordChangedOrDeletedMeanwhile_isTold_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("deleted");
        for (int k = 0; k < int(std::size(rosterKinds)); ++k)
            for (const bool deleted : {false, true})
                QTest::addRow("%s %s", rosterKinds[k].word, deleted ? "deleted" : "changed") << k << deleted;
    }
    void rosterRecordChangedOrDeletedMeanwhile_isTold()
    {
        QFETCH(int, kind);
        QFETCH(bool, deleted);
        const RosterKind &r = rosterKinds[kind];
        MeetBuilder b = m->build();
        const auto blue = b.addTeam("Blue", "A");
        const std::int32_t keys[] = {b.addTeam("Red", "A"), b.addCoach(blue, "Ann", "Lee"),
                                     b.addRider(blue, "Cid", "Fox", "7"), b.addJudge("Zoe", "Smith")};
        const auto save = r.edit(db(), keys[kind]);
        DbConnection other;
        other.open(m->path(), DbConnection::Mode::ReadWrite);
        const QString where = QStringLiteral(" WHERE %1 = ?").arg(r.key);
        const QString change = deleted ? QStringLiteral("DELETE FROM %1").arg(r.table)
                                       : QStringLiteral("UPDATE %1 SET %2 = 'Navy'")
                                             .arg(r.table, kind == 0 ? "TeamName" : "FirstName");
        Sql::exec(other.database(), "another station", change + where, {keys[kind]});
        const QString before = MeetFixture::dump(db());
        try {
            save();
            QFAIL("the save went over another station's change");
        } catch (const DbError &e) {
            const QString verb = deleted ? "deleted" : "changed";
            QCOMPARE(e.kind(), deleted ? DbError::Kind::Gone : DbError::Kind::Conflict);
            QVERIFY2(e.userText().contains("another station " + verb + " this " + r.word +
                                           " since you opened it.") &&
                         e.userText().contains("open it again") != deleted,
                     qPrintable(e.userText()));
        }
        QCOMPARE(MeetFixture::dump(db()), before);
    }

    // The rows a window read, read back in another order (another station took one out and put
    // it back as it was), are no change: the save goes through.
    void sameRowsInAnotherOrder_areNoChange()
    {
        MeetBuilder b = m->build();
        const auto smith = b.addJudge("Zoe", "Smith");
        const auto adams = b.addJudge("Bob", "Adams");
        b.assignJudge(smith, 3, "A");
        b.assignJudge(adams, 3, "A");
        const QString assignments = "SELECT JudgeID FROM TblClassJudges WHERE Division = 'A'";
        QCOMPARE(column(assignments), (QStringList{QString::number(smith), QString::number(adams)}));
        const JudgeAssignments read(db(), "A");
        DbConnection other;
        other.open(m->path(), DbConnection::Mode::ReadWrite);
        Sql::exec(other.database(), "out", "DELETE FROM TblClassJudges WHERE JudgeID = ?", {smith});
        MeetBuilder(other.database()).assignJudge(smith, 3, "A");
        QCOMPARE(column(assignments), (QStringList{QString::number(adams), QString::number(smith)}));
        GridMarks ticks(2);
        ticks.set(1, 5, true);
        ticks.set(2, 5, true);
        const auto refused = read.submit(ticks);
        QVERIFY2(!refused, qPrintable(refused.value_or(QString())));
        QCOMPARE(column("SELECT DISTINCT ClassNumber FROM TblClassJudges"), QStringList{"5"});
    }

    void numberingAtOnce_neverGivesOneNumberTwice()
    {
        MeetBuilder b = m->build();
        const auto blue = b.addTeam("Blue", "A");
        const auto red = b.addTeam("Red", "B");
        for (int r = 0; r < 12; ++r)
            b.addRider(r % 2 ? red : blue, "Rider", QString::number(r));
        Station one(m->path(), {"number", QString::number(blue)});
        Station two(m->path(), {"number", QString::number(red)});
        QCOMPARE(saveTogether(one, two, "SELECT * FROM TblPerson"), (QStringList{"saved", "saved"}));
        std::set<int> numbers;
        for (const QString &n : MeetQuery::riderNumbers(db()))
            numbers.insert(n.toInt());
        QCOMPARE(numbers, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    }

    void serverStoppedMidSave_nothingHalfWrittenAndTheNextSaveWorks()
    {
        if (!Engine::onServer(db()))
            QSKIP("a meet file has no server to stop");
        const QString script = qEnvironmentVariable("TROTWISE_PGSERVER_SCRIPT");
        const QString folder = qEnvironmentVariable("TROTWISE_PGSERVER_DIR");
        const auto team = m->build().addEnteredTeam("Gold", "A", 6, 1);
        const QString before = MeetFixture::dump(db());
        Station station(m->path(), {"entries", QString::number(team), "2"});
        QCOMPARE(station.next(), "ready");
        {
            // Another station holds the team's relay pairings: the save waits there, having
            // deleted the team's entries already.
            DbConnection other;
            other.open(m->path(), DbConnection::Mode::ReadWrite);
            WriteTransaction holding(other.database(), "holding");
            Sql::select(
                other.database(), "hold",
                "SELECT * FROM TblPairing WHERE RiderIndex IN (SELECT RiderIndex FROM TblPerson WHERE "
                "TeamCode = ?) FOR UPDATE",
                {team});
            station.send("go");
            QTRY_COMPARE_WITH_TIMEOUT(
                Sql::scalar(db(), "waiting",
                            "SELECT count(*) FROM pg_stat_activity WHERE wait_event_type = 'Lock'")
                    .toInt(),
                1, 20000);
            // Cut, not stopped in order: an orderly stop ends the holding station's transaction
            // first, and a busy machine may then let the save finish before it is ended too.
            QCOMPARE(QProcess::execute(script, {"cut", folder}), 0);
        }
        const QString told = station.next();
        QVERIFY2(told.startsWith("told: Saving the team's entries: the meet server cannot be reached"),
                 qPrintable(told));
        QCOMPARE(QProcess::execute(script, {"start", folder}), 0);
        // This station's own connection broke too: its next read connects again.
        QCOMPARE(MeetFixture::dump(db()), before);
        station.send("again");
        QCOMPARE(station.next(), "saved");
        QCOMPARE(column("SELECT DISTINCT ClassNumber FROM TblEntry"), QStringList{"2"});
    }
};

QTEST_GUILESS_MAIN(TstStations)
#include "tst_stations.moc"
