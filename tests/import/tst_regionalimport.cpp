// Regional import: the file checks, the tree's order, and the copy under new keys, all or nothing.
#include "meetfixture.h"

#include "db/dbconnection.h"
#include "db/sql.h"
#include "import/regionalimport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray fileHash(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
}

} // namespace

class TstRegionalImport : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    DbConnection m_meet;
    QSqlDatabase meet() const { return m_meet.database(); }

    // A regional file built like any meet, then named as the regions name them.
    QString regionalFile(const QString &name, const std::function<void(MeetBuilder &)> &fill)
    {
        QTemporaryDir *build = new QTemporaryDir(m_dir.filePath("region-XXXXXX"));
        const QString built = MeetFixture::createMeet(build->path());
        {
            DbConnection c;
            c.open(built, DbConnection::Mode::ReadWrite);
            MeetBuilder b(c.database());
            fill(b);
        }
        const QString path = QDir(build->path()).filePath(name);
        QFile::rename(built, path);
        build->setAutoRemove(false);
        delete build;
        return path;
    }

    static void regionFour(MeetBuilder &b)
    {
        const auto blue = b.addTeam("Blue", "B", "12", "9");
        const auto acorn = b.addTeam("Acorn", "A", "3", "9");
        const auto lonely = b.addTeam("Lonely", "C", "", "");
        Q_UNUSED(lonely)
        Sql::exec(b.db(), "coach with address",
                  "INSERT INTO TblCoach (FirstName, LastName, Address, City, Zip, Position, TeamCode) "
                  "VALUES ('Hal', 'Hart', '1 Main St', 'Elm', '12345', 'Head Coach', ?)",
                  {blue});
        b.addCoach(blue, "Amy", "Adams", "Assistant Coach");
        b.addCoach(blue, "Zed", "Zorn", "Head Coach");
        b.addRider(blue, "Bo", "Brown", "12");
        b.addRider(blue, "Al", "Brown", "12"); // the same number twice
        b.addRider(acorn, "Cy", "Cole", "");
        b.addRider(acorn, "Di", "Cole", "");
    }

    QStringList treeLines(const RegionalImport &import)
    {
        QStringList lines{RegionalImport::rootText(import.region())};
        for (const auto &t : import.teams()) {
            lines << RegionalImport::teamText(t);
            for (const auto &c : t.coaches)
                lines << "  " + RegionalImport::coachText(c);
            for (const auto &r : t.riders)
                lines << "    " + RegionalImport::riderText(r);
        }
        return lines;
    }

private Q_SLOTS:
    void init()
    {
        QDir(m_dir.path()).mkpath("meet");
        QFile::remove(m_dir.filePath("meet/KORVState2006.mdb"));
        m_meet.open(MeetFixture::createMeet(m_dir.filePath("meet")), DbConnection::Mode::ReadWrite);
    }
    void cleanup() { m_meet.close(); }

    void regionCode_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("code"); // "-" for a refused name
        QTest::newRow("plain") << "/x/Region4-2006.mdb"
                               << "4";
        QTest::newRow("letter case of the name") << "/x/REGION7-2006.MDB"
                                                 << "7";
        QTest::newRow("prefix before Region") << "/x/KORVRegionB-2006.mdb"
                                              << "B";
        QTest::newRow("Region in the folder only") << "/Region1/other-2006.mdb"
                                                   << "-";
        QTest::newRow("two-character code") << "/x/Region12-2006.mdb"
                                            << "-";
        QTest::newRow("no code") << "/x/Region-2006.mdb"
                                 << "-";
        QTest::newRow("other year") << "/x/Region4-2007.mdb"
                                    << "-";
    }
    void regionCode()
    {
        QFETCH(QString, path);
        QFETCH(QString, code);
        const auto got = RegionalImport::regionCode(path);
        QCOMPARE(got.value_or("-"), code);
    }

    void load_showsTeamsByDivisionAndNameWithCoachesAndRiders()
    {
        const QString file = regionalFile("Region4-2006.mdb", regionFour);
        const QByteArray before = fileHash(file);
        RegionalImport import;
        QCOMPARE(import.load(file), std::nullopt);
        QCOMPARE(treeLines(import), (QStringList{"Region 4", "A - Acorn", "    Cy Cole", "    Di Cole",
                                                 "B - Blue", "  Hal Hart - Head Coach",
                                                 "  Zed Zorn - Head Coach", "  Amy Adams - Assistant Coach",
                                                 "    Al Brown", "    Bo Brown", "C - Lonely"}));
        import.close();
        QCOMPARE(fileHash(file), before);
    }

    void import_copiesUnderNewKeysWithRegionFromTheName()
    {
        MeetBuilder existing(meet());
        const auto old = existing.addTeam("Old", "A");
        existing.addCoach(old, "Old", "Coach");
        existing.addRider(old, "Old", "Rider", "1");

        RegionalImport import;
        QCOMPARE(import.load(regionalFile("Region4-2006.mdb", regionFour)), std::nullopt);
        const auto outcome = import.importInto(meet());
        QCOMPARE(outcome.teams, 3);
        QCOMPARE(outcome.coaches, 3);
        QCOMPARE(outcome.riders, 4);
        QCOMPARE(outcome.message(), RegionalImport::Success);

        const ResultRows teams = Sql::select(meet(), "teams", "SELECT * FROM TblTeam ORDER BY TeamCode");
        QCOMPARE(teams.size(), 4);
        QCOMPARE(teams.text(1, u"TeamName"), QStringLiteral("Acorn"));
        QCOMPARE(teams.text(1, u"District"), QStringLiteral("3"));
        QCOMPARE(teams.text(1, u"Region"), QStringLiteral("4")); // from the name, not the file's 9
        QCOMPARE(teams.text(2, u"TeamName"), QStringLiteral("Blue"));
        QCOMPARE(teams.text(3, u"District"), QStringLiteral(""));

        const ResultRows hal = Sql::select(meet(), "coach", "SELECT * FROM TblCoach WHERE LastName = 'Hart'");
        QCOMPARE(hal.integer(0, u"TeamCode"), teams.integer(2, u"TeamCode"));
        QCOMPARE(hal.text(0, u"Position"), QStringLiteral("Head Coach"));
        for (const char *field : {"Address", "City", "Zip", "Primary", "Secondary", "Email"}) {
            QVERIFY(!hal.value(0, QString::fromLatin1(field)).isNull());
            QCOMPARE(hal.text(0, QString::fromLatin1(field)), QStringLiteral(""));
        }
        QCOMPARE(
            Sql::scalar(meet(), "numbers", "SELECT count(*) FROM TblPerson WHERE RiderNumber = ''").toInt(),
            4);
        QCOMPARE(Sql::scalar(meet(), "acorn riders", "SELECT count(*) FROM TblPerson WHERE TeamCode = ?",
                             {teams.value(1, u"TeamCode")})
                     .toInt(),
                 2);
        QCOMPARE(Sql::scalar(meet(), "old rider", "SELECT TeamCode FROM TblPerson WHERE LastName = 'Rider'")
                     .toInt(),
                 old);

        // A second import of the same file adds everything again.
        import.importInto(meet());
        QCOMPARE(Sql::scalar(meet(), "teams", "SELECT count(*) FROM TblTeam").toInt(), 7);
    }

    void orphansAndEmptyTables_areToldNotDropped()
    {
        RegionalImport import;
        QCOMPARE(import.load(regionalFile("Region2-2006.mdb",
                                          [](MeetBuilder &b) {
                                              const auto t = b.addTeam("Solo", "D");
                                              b.addRider(t, "In", "Team");
                                              b.addCoach(99, "No", "Team");
                                              b.addRider(98, "Lost", "One");
                                              b.addRider(98, "Lost", "Two");
                                          })),
                 std::nullopt);
        const auto outcome = import.importInto(meet());
        QCOMPARE(outcome.riders, 1);
        QCOMPARE(outcome.message(),
                 QStringLiteral("Data Import Successful\n\n1 coach and 2 riders of the file were not "
                                "imported: their team is not in the file."));

        RegionalImport empty;
        QCOMPARE(empty.load(regionalFile("Region3-2006.mdb", [](MeetBuilder &) {})), std::nullopt);
        QCOMPARE(empty.importInto(meet()).teams, 0);
    }

    void refusals_nameTheFileAndChangeNothing_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("random bytes") << "random"
                                      << "it is not a database file";
        QTest::newRow("zero bytes") << "empty"
                                    << "the file is empty";
        QTest::newRow("missing table") << "no-coach-table"
                                       << "it has no table TblCoach";
        QTest::newRow("missing field") << "no-district"
                                       << "its table TblTeam has no field District";
        QTest::newRow("two-character code") << "Region12"
                                            << "one-character region code";
        QTest::newRow("name without Region") << "Teams"
                                             << "its name must be";
    }
    void refusals_nameTheFileAndChangeNothing()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        MeetBuilder(meet()).addTeam("Existing", "A");
        const QString before = MeetFixture::dump(meet());

        QString file;
        if (kind == "random" || kind == "empty") {
            file = m_dir.filePath("Region5-2006.mdb");
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            if (kind == "random")
                f.write(QByteArray("\x13\x37 random bytes, not a database \x00\xff", 40));
        } else if (kind == "no-coach-table") {
            file = regionalFile("Region5-2006.mdb",
                                [](MeetBuilder &b) { Sql::exec(b.db(), "drop", "DROP TABLE TblCoach"); });
        } else if (kind == "no-district") {
            file = regionalFile("Region5-2006.mdb", [](MeetBuilder &b) {
                Sql::exec(b.db(), "drop", "ALTER TABLE TblTeam DROP COLUMN District");
            });
        } else {
            file = regionalFile(kind + "-2006.mdb", regionFour);
        }
        const QByteArray fileBefore = fileHash(file);

        RegionalImport import;
        const auto refusal = import.load(file);
        QVERIFY(refusal.has_value());
        QVERIFY2(refusal->contains(QDir::toNativeSeparators(file)), qPrintable(*refusal));
        QVERIFY2(refusal->contains(reason), qPrintable(*refusal));
        QCOMPARE(MeetFixture::dump(meet()), before);
        QCOMPARE(fileHash(file), fileBefore);
    }

    void failurePartWay_leavesTheMeetUnchanged()
    {
        MeetBuilder(meet()).addTeam("Existing", "A");
        const QString before = MeetFixture::dump(meet());
        RegionalImport import;
        QCOMPARE(import.load(regionalFile("Region4-2006.mdb", regionFour)), std::nullopt);
        Sql::exec(meet(), "trap",
                  "CREATE TEMP TRIGGER forced_failure BEFORE INSERT ON TblPerson WHEN NEW.FirstName = 'Di' "
                  "BEGIN SELECT RAISE(ABORT, 'forced failure'); END");
        QVERIFY_THROWS_EXCEPTION(DbError, import.importInto(meet()));
        QCOMPARE(MeetFixture::dump(meet()), before);
    }
};

QTEST_GUILESS_MAIN(TstRegionalImport)
#include "tst_regionalimport.moc"
