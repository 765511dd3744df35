// "trotwise --publish FOLDER", run as a script runs it: a copy of the real program in a folder of
// its own, with or without a meet beside it; once, with a poster, or every so often until stopped.
#include "meetfile.h"
#include "testengine.h"

#include "db/meetaddress.h"
#include "db/sql.h"

#include <QProcess>
#include <QThread>

namespace {

struct Run
{
    int status;
    QString out;
    QString err;
};

// The folder's files with their sizes and times: whatever touches them shows.
QStringList listing(const QString &folder)
{
    QStringList out;
    for (const QFileInfo &f :
         QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name))
        out << f.fileName() + u' ' + QString::number(f.size()) + u' ' +
                   f.lastModified().toString(Qt::ISODateWithMs);
    return out;
}

// Reads what a running program prints until a line holds the text or the time is up.
bool awaitLine(QProcess &process, QString &read, QProcess::ProcessChannel channel, const QString &text,
               int count = 1)
{
    QDeadlineTimer deadline(20000);
    process.setReadChannel(channel);
    while (read.count(text) < count && !deadline.hasExpired()) {
        process.waitForReadyRead(100);
        read += QString::fromLocal8Bit(process.readAll());
    }
    return read.count(text) >= count;
}

} // namespace

class TstPublishCommand : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_folder; // a fresh one for each test
    QString m_program;

    const QTemporaryDir &dir() const { return *m_folder; }

    Run publish(const QStringList &arguments)
    {
        QProcess process;
        process.start(m_program, QStringList{"--publish"} + arguments);
        if (!process.waitForFinished(60000))
            return {-1, {}, {}};
        return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
                QString::fromLocal8Bit(process.readAllStandardError())};
    }

    // The meet named to the program as a station names a meet on the server.
    static QStringList meetOption(const QString &location)
    {
        return MeetAddress::isServer(location) ? QStringList{"--meet", location} : QStringList();
    }

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        m_program = dir().filePath("trotwise");
        QVERIFY(QFile::copy(TROTWISE_PROGRAM, m_program));
    }

    void meetBesideTheProgram_isPublished()
    {
        const QString meet = MeetFixture::createMeet(dir().path());
        {
            DbConnection c;
            c.open(meet, DbConnection::Mode::ReadWrite);
            MeetBuilder(c.database()).addTeam("Blue", "A");
        }
        const QString folder = dir().filePath("site");
        const Run run = publish(QStringList{folder} + meetOption(meet));
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out,
                 QStringLiteral("Published 4 pages of results (1 division) to \"%1\".\n").arg(folder));
        QVERIFY(run.err.isEmpty());
        QVERIFY(QFileInfo::exists(folder + "/riders-A.html"));
    }

    // "--every": a publish at once, nothing written while the meet rests, a publish when it
    // changed; a failure printed once and tried again until it goes through; stopped by TERM.
    void every_publishesWhenTheMeetChangedAndRetriesAFailure()
    {
        const QString meet = MeetFixture::createMeet(dir().path());
        DbConnection c;
        c.open(meet, DbConnection::Mode::ReadWrite);
        MeetBuilder b(c.database());
        const auto rider = b.addRider(b.addTeam("Blue", "A"), "Ann", "Lee", "1");
        const auto judge = b.addJudge("Al", "Judge");
        const auto save = [&](int place) {
            b.addPlacing(1, place, rider, "A", judge);
            if (Engine::onServer(c.database())) // this station's writes counted in at once
                Sql::select(c.database(), "test", "SELECT pg_stat_force_next_flush()");
        };
        const QString folder = dir().filePath("site");
        QProcess process;
        process.start(m_program, QStringList{"--publish", folder, "--every", "0.2"} + meetOption(meet));
        QString out, err;
        QVERIFY2(awaitLine(process, out, QProcess::StandardOutput, "Published"), qPrintable(out));
        const quint64 first = MeetQuery::identity(folder);
        QThread::msleep(1000); // five looks at a meet at rest
        out += QString::fromLocal8Bit(process.readAllStandardOutput());
        QCOMPARE(out.count("Published"), 1);
        QCOMPARE(MeetQuery::identity(folder), first);

        save(1);
        QVERIFY2(awaitLine(process, out, QProcess::StandardOutput, "Published", 2), qPrintable(out));
        QVERIFY(MeetQuery::identity(folder) != first);
        QVERIFY(QFile(folder + "/riders-A.html").open(QIODevice::ReadOnly));

        MeetQuery::writeFile(folder + "/letter.txt", "the user's"); // the folder is not the program's now
        save(2);
        QVERIFY2(awaitLine(process, err, QProcess::StandardError, "not written there by"), qPrintable(err));
        QThread::msleep(600);
        QVERIFY(QFile::remove(folder + "/letter.txt"));
        QVERIFY2(awaitLine(process, out, QProcess::StandardOutput, "Published", 3), qPrintable(out));
        err += QString::fromLocal8Bit(process.readAllStandardError());
        QCOMPARE(err.count("not written there by"), 1);

        if (!Engine::onServer(c.database())) {
            // The meet file gone: told; back: published; another one put in its place at one
            // stroke: published.
            c.close();
            QVERIFY(QFile::rename(meet, meet + ".away"));
            QVERIFY2(awaitLine(process, err, QProcess::StandardError, "is not there"), qPrintable(err));
            QVERIFY(QFile::rename(meet + ".away", meet));
            QVERIFY2(awaitLine(process, out, QProcess::StandardOutput, "Published", 4), qPrintable(out));
            QTemporaryDir other;
            const QString replacement = MeetFixture::createMeet(other.path());
            {
                DbConnection r;
                r.open(replacement, DbConnection::Mode::ReadWrite);
                MeetBuilder(r.database()).addTeam("Gold", "A");
            }
            QVERIFY(::rename(QFile::encodeName(replacement).constData(),
                             QFile::encodeName(meet).constData()) == 0);
            QVERIFY2(awaitLine(process, out, QProcess::StandardOutput, "Published", 5), qPrintable(out));
            QFile riders(folder + "/riders-A.html");
            QVERIFY(riders.open(QIODevice::ReadOnly) && riders.readAll().contains("Gold"));
        }

        process.terminate();
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
    }

    // "--url": the poster in the folder, its QR code read back to the address; an address that is
    // no web address refused before anything is written.
    void url_posterWithTheAddressAsACode()
    {
        const QString meet = MeetFixture::createMeet(dir().path());
        const QString folder = dir().filePath("site"),
                      address = "https://results.example.org/korv/?day=2&ring=A";
        QCOMPARE(publish(QStringList{folder, "--url", "results.example.org"} + meetOption(meet)).status, 2);
        QVERIFY(!QFileInfo::exists(folder));

        const Run run = publish(QStringList{folder, "--url", address} + meetOption(meet));
        QCOMPARE(run.status, 0);
        QVERIFY(run.out.contains("with poster.pdf"));
        QCOMPARE(QProcess::execute("pdftoppm", {"-png", "-r", "50", "-singlefile", folder + "/poster.pdf",
                                                dir().filePath("poster")}),
                 0);
        QProcess zbar;
        zbar.start("zbarimg", {"--raw", "-q", dir().filePath("poster.png")});
        QVERIFY(zbar.waitForFinished(20000));
        QCOMPARE(QString::fromUtf8(zbar.readAllStandardOutput()).trimmed(), address);
    }

    // A refused password is told as such, never as a server that cannot be reached.
    void signInRefused_isToldAsSuch()
    {
        if (!TestEngine::onServer())
            QSKIP("a meet file asks for no password");
        const QString database = MeetAddress::parse(TestEngine::newMeet())->database;
        qputenv("PGPASSWORD", "wrong");
        const Run run = publish({dir().filePath("site"), "--meet", TestEngine::tcpAddress(database)});
        qunsetenv("PGPASSWORD");
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains("the server refused the password of trotwise: put it in ~/.pgpass or "
                                  "PGPASSWORD") &&
                     !run.err.contains("cannot be reached"),
                 qPrintable(run.err));
        QVERIFY(!QFileInfo::exists(dir().filePath("site")));
    }

    void noOrForeignMeet_refusedAndNothingTouched_data()
    {
        QTest::addColumn<QString>("meet");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no meet file") << "none"
                                      << "is not there";
        QTest::newRow("a text file") << "text"
                                     << "cannot be used";
        QTest::newRow("another program's database") << "database"
                                                    << "cannot be used";
    }
    void noOrForeignMeet_refusedAndNothingTouched()
    {
        QFETCH(QString, meet);
        QFETCH(QString, reason);
        const QString path = dir().filePath("KORVState2006.mdb");
        if (meet == "text") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("minutes of the last meeting\n");
        }
        QString location = path;
        if (meet == "database") {
            location = TestEngine::onServer() ? TestEngine::newDatabase() : path;
            DbConnection c;
            c.open(location, DbConnection::Mode::Create);
            Sql::exec(c.database(), "test", "CREATE TABLE Recipes (Name TEXT)");
        }
        const QStringList before = listing(dir().path());
        const Run run = publish(QStringList{dir().filePath("site")} + meetOption(location));
        QCOMPARE(run.status, 1);
        QVERIFY(run.out.isEmpty());
        QCOMPARE(run.err.count(u'\n'), 1);
        QVERIFY2(run.err.contains(reason) && run.err.contains("nothing was published"), qPrintable(run.err));
        QCOMPARE(listing(dir().path()), before);
    }
};

QTEST_GUILESS_MAIN(TstPublishCommand)
#include "tst_publishcommand.moc"
