// Several stations on one meet at once: each a program of its own (station.cpp), saving at the
// same moment as another. What one saves is never lost or mixed with another's, and a save
// that would overwrite another's is told.
#include "meetfile.h"

#include "db/engine.h"
#include "db/writetransaction.h"

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
                return {};
        return QString::fromUtf8(m_process.readLine()).trimmed();
    }
    void send(const char *line) { m_process.write(QByteArray(line) + '\n'); }

private:
    QProcess m_process;
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
        if (a.next() != u"ready" || b.next() != u"ready")
            return {"not ready"};
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
