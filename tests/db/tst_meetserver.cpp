// The meet server as the station meets it: addresses of several servers and TLS wishes, a server
// that goes silent mid-action (frozen on the throwaway server), a commit whose answer never came,
// a standby that takes over once the server is cut, and a server that must prove its name.
#include "meetfile.h"
#include "testengine.h"

#include "db/meetaddress.h"
#include "db/serverwatch.h"
#include "db/writetransaction.h"

#include <QElapsedTimer>
#include <QScopeGuard>
#include <QThread>
#include <QUrl>

#include <thread>

namespace {

// The statement bound here, and what a station may take beyond it on a busy machine: the cut,
// the way back, connecting again.
constexpr int Bound = 1000;
constexpr int Slack = 2500;

struct Outcome
{
    QString told; // empty: it went through
    qint64 ms = 0;
};

Outcome timed(const std::function<void()> &action)
{
    QElapsedTimer clock;
    clock.start();
    Outcome out;
    try {
        action();
    } catch (const DbError &e) {
        out.told = e.userText();
    }
    out.ms = clock.elapsed();
    return out;
}

void saveTeam(const QSqlDatabase &db, const QString &name)
{
    WriteTransaction::run(db, QStringLiteral("Saving the team"), [&] { MeetBuilder(db).addTeam(name, "A"); });
}

const QString NotAnswering = QStringLiteral("the meet server is not answering. ");

} // namespace

class TstMeetServer : public QObject
{
    Q_OBJECT

    static bool needServer()
    {
        if (TestEngine::onServer())
            return true;
        QTest::qSkip("a meet file has no server", __FILE__, __LINE__);
        return false;
    }

private Q_SLOTS:
    void initTestCase()
    {
        ServerWatch::setBound(Bound);
        DbConnection::setBusyTimeout(0); // the bound is never stretched for records held
    }

    void address_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("hosts"); // or the reason it is refused
        QTest::addColumn<QString>("ports");
        const QString show = "postgresql://trotwise@showserver";
        QTest::newRow("one server") << show + "/trotwise"
                                    << "showserver"
                                    << "5432";
        QTest::newRow("a standby") << show + ",standby/trotwise"
                                   << "showserver,standby"
                                   << "5432,5432";
        QTest::newRow("ports per server") << show + ":5433,[fe80::1]:5434,%2Frun%2Fpg/trotwise"
                                          << "showserver,fe80::1,/run/pg"
                                          << "5433,5434,5432";
        QTest::newRow("TLS wishes") << show + "/trotwise?sslmode=verify-full&sslrootcert=%2Fetc%2Froot.crt"
                                    << "showserver"
                                    << "5432";
        QTest::newRow("a server left out") << show + ",/trotwise"
                                           << "it names no server"
                                           << "";
        QTest::newRow("a port that is none") << show + ":5x/trotwise"
                                             << "\"5x\" is no port number"
                                             << "";
        QTest::newRow("another parameter") << show + "/trotwise?sslmode=require&target_session_attrs=any"
                                           << "it asks for \"target_session_attrs\""
                                           << "";
        QTest::newRow("a mode PostgreSQL lacks") << show + "/trotwise?sslmode=always"
                                                 << "\"always\" is no sslmode"
                                                 << "";
        QTest::newRow("a wish twice") << show + "/trotwise?sslmode=require&sslmode=disable"
                                      << "it gives sslmode twice"
                                      << "";
        QTest::newRow("a wish without value") << show + "/trotwise?sslrootcert="
                                              << "it gives sslrootcert no value"
                                              << "";
    }

    // Parsed as the client library reads it, written out again as it parses, anything else refused.
    void address()
    {
        QFETCH(QString, address);
        QFETCH(QString, hosts);
        QFETCH(QString, ports);
        QString why;
        const auto a = MeetAddress::parse(address, &why);
        if (ports.isEmpty()) {
            QVERIFY(!a);
            QVERIFY2(why.startsWith(hosts), qPrintable(why));
            return;
        }
        QVERIFY2(a, qPrintable(why));
        QCOMPARE(a->hostList(), hosts);
        QCOMPARE(a->portList(), ports);
        QCOMPARE(MeetAddress::parse(a->url())->url(), a->url());
        QCOMPARE(MeetAddress::parse(a->url())->options, a->options);
    }

    void frozenServer_actionEndsWithinTheBoundAndTheMeetIsWhole_data()
    {
        QTest::addColumn<bool>("saving");
        QTest::newRow("during a save") << true;
        QTest::newRow("during a read") << false;
    }

    void frozenServer_actionEndsWithinTheBoundAndTheMeetIsWhole()
    {
        QFETCH(bool, saving);
        if (!needServer())
            return;
        MeetFile meet;
        meet.build().addTeam("Blue", "A");
        const QString before = MeetFixture::dump(meet.db());
        DbConnection station;
        station.open(meet.path(), DbConnection::Mode::ReadWrite);
        std::optional<TestEngine::FrozenServer> frozen;
        const Outcome out = timed([&] {
            if (!saving) {
                frozen.emplace();
                Sql::select(station.database(), "Reading the teams", "SELECT * FROM TblTeam");
                return;
            }
            // Half of the save is on the server when it goes silent.
            WriteTransaction::run(station.database(), "Saving the teams", [&] {
                MeetBuilder(station.database()).addTeam("Red", "A");
                frozen.emplace();
                MeetBuilder(station.database()).addTeam("Green", "A");
            });
        });
        QVERIFY(frozen && frozen->frozen());
        frozen.reset();
        QCOMPARE(out.told, (saving ? "Adding a team: " : "Reading the teams: ") + NotAnswering +
                               "Nothing is left half written; try again once the server is back.");
        QVERIFY2(out.ms < Bound + Slack, qPrintable(QString::number(out.ms)));
        QCOMPARE(MeetFixture::dump(meet.db()), before);
        // The station's next action connects again.
        saveTeam(station.database(), "Gold");
        QCOMPARE(MeetQuery::column(meet.db(), "SELECT TeamName FROM TblTeam ORDER BY TeamName"),
                 (QStringList{"Blue", "Gold"}));
    }

    void unansweredCommit_isAskedAfterAndToldAsItWent_data()
    {
        QTest::addColumn<bool>("written"); // the commit is written, then waits for a standby
        QTest::addColumn<bool>("frozen");  // the server is frozen meanwhile, and stays so
        QTest::addColumn<QString>("told"); // after "Saving the team: the meet server is not answering. "
        QTest::addColumn<int>("stored");   // teams stored once the server answers
        QTest::newRow("arrived (written, waiting for a standby that never confirms)")
            << true << false << "" << 1;
        QTest::newRow("not arrived (held at the commit, before it is written)")
            << false << false
            << "Asked again, it says the save did not arrive: nothing of it is stored; try again." << 0;
        QTest::newRow("not known while the server stays away")
            << true << true
            << "Whether the save arrived cannot be told until it answers again: once it is back, look at "
               "what is stored before saving again."
            << -1;
    }

    void unansweredCommit_isAskedAfterAndToldAsItWent()
    {
        QFETCH(bool, written);
        QFETCH(bool, frozen);
        QFETCH(QString, told);
        QFETCH(int, stored);
        if (!needServer())
            return;
        MeetFile meet;
        const QSqlDatabase admin = meet.db();
        DbConnection station;
        station.open(meet.path(), DbConnection::Mode::ReadWrite);
        const auto reset = qScopeGuard([&] {
            Sql::exec(admin, "reset", "ALTER SYSTEM RESET synchronous_standby_names");
            Sql::exec(admin, "reset", "ALTER SYSTEM RESET synchronous_commit");
            Sql::select(admin, "reset", "SELECT pg_reload_conf()");
        });
        if (written) {
            // Every other session commits as ever; the station's waits for a standby after its
            // commit is written.
            Sql::exec(admin, "wait", "ALTER SYSTEM SET synchronous_commit = local");
            Sql::exec(admin, "wait", "ALTER SYSTEM SET synchronous_standby_names = nobody");
            Sql::select(admin, "wait", "SELECT pg_reload_conf()");
            Sql::exec(station.database(), "wait", "SET synchronous_commit = on");
            QTRY_COMPARE(Sql::scalar(station.database(), "wait", "SHOW synchronous_standby_names").toString(),
                         "nobody");
        } else {
            Sql::exec(admin, "hold",
                      QString("CREATE FUNCTION held() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                              "PERFORM pg_sleep(%1); RETURN NULL; END $$")
                          .arg(3 * Bound / 1000.0));
            Sql::exec(admin, "hold",
                      "CREATE CONSTRAINT TRIGGER held AFTER INSERT ON TblTeam DEFERRABLE INITIALLY "
                      "DEFERRED FOR EACH ROW EXECUTE FUNCTION held()");
        }
        // Frozen while the commit waits, so that the station cannot ask after it.
        std::optional<TestEngine::FrozenServer> freeze;
        std::thread freezer([&] {
            if (frozen) {
                QThread::msleep(Bound / 5);
                freeze.emplace();
            }
        });
        const Outcome out = timed([&] { saveTeam(station.database(), "Red"); });
        freezer.join();
        freeze.reset();
        QCOMPARE(out.told, told.isEmpty() ? told : "Saving the team: " + NotAnswering + told);
        // It did wait for the answer that never came (and, the server frozen, for a connection).
        const int connecting = frozen ? 2000 : 0;
        QVERIFY2(out.ms >= Bound && out.ms < Bound + connecting + Slack, qPrintable(QString::number(out.ms)));
        if (stored >= 0)
            QCOMPARE(MeetQuery::count(admin, "TblTeam"), stored);
    }

    // Two stations save on the server, whose every confirmed save waits for its standby; the
    // server is cut and the standby promoted; each station's next save goes on there.
    void standby_takesOverWithEveryConfirmedSave()
    {
        if (!needServer())
            return;
        TestEngine::ServerPair pair(TestEngine::serverFolder() + "/failover");
        QVERIFY(pair.ready());
        {
            DbConnection c;
            c.open(pair.both(), DbConnection::Mode::ReadWrite);
            Sql::exec(c.database(), "meet", "CREATE TABLE saves (n integer)");
        }
        DbConnection stations[2];
        for (DbConnection &s : stations)
            s.open(pair.both(), DbConnection::Mode::ReadWrite);
        const auto save = [&](int n) {
            const QSqlDatabase db = stations[n % 2].database();
            WriteTransaction::run(db, "Saving",
                                  [&] { Sql::exec(db, "save", "INSERT INTO saves VALUES (?)", {n}); });
        };
        for (int n = 1; n <= 4; ++n)
            save(n);
        QVERIFY(pair.failOver());
        save(5);
        save(6);
        DbConnection check;
        check.open(pair.standby(), DbConnection::Mode::ReadWrite);
        QCOMPARE(MeetQuery::column(check.database(), "SELECT n FROM saves ORDER BY n"),
                 (QStringList{"1", "2", "3", "4", "5", "6"}));
    }

    void tls_verifiedServerOnly_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<bool>("rootGiven");
        QTest::addColumn<QString>("refusal"); // empty: the station works there
        QTest::newRow("the name its certificate was made for") << "localhost" << true << "";
        QTest::newRow("another name of the same server") << "127.0.0.1" << true << "does not match host name";
        QTest::newRow("no authority to check it against") << "localhost" << false << "root certificate file";
    }

    void tls_verifiedServerOnly()
    {
        QFETCH(QString, host);
        QFETCH(bool, rootGiven);
        QFETCH(QString, refusal);
        if (!needServer())
            return;
        qputenv("PGPASSWORD", TestEngine::password().toUtf8());
        const QString root = rootGiven ? TestEngine::authority() : TestEngine::serverFolder() + "/none.crt";
        const QString address = TestEngine::tcpAddress(
            "postgres", host, "sslmode=verify-full&sslrootcert=" + QUrl::toPercentEncoding(root));
        DbConnection station;
        try {
            station.open(address, DbConnection::Mode::ReadWrite);
            QVERIFY2(refusal.isEmpty(), "a server that could not prove its name was used");
            QCOMPARE(Sql::scalar(station.database(), "tls",
                                 "SELECT ssl FROM pg_stat_ssl WHERE pid = pg_backend_pid()")
                         .toBool(),
                     true);
        } catch (const DbError &e) {
            QVERIFY2(!refusal.isEmpty() &&
                         e.userText().contains("could not be verified as the meet server") &&
                         e.userText().contains(refusal),
                     qPrintable(e.userText()));
        }
    }
};

QTEST_GUILESS_MAIN(TstMeetServer)
#include "tst_meetserver.moc"
