// "trotwise --publish FOLDER", run as a script runs it: a copy of the real program in a folder of
// its own, with or without a meet beside it.
#include "meetfile.h"
#include "testengine.h"

#include "db/meetaddress.h"
#include "db/sql.h"

#include <QProcess>

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
