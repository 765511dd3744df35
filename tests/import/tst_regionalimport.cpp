// Regional import: the file checks, the tree's order, and the copy under new keys, all or nothing.
#include "meetfile.h"

#include "import/regionalimport.h"

#include <QCryptographicHash>

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
    std::unique_ptr<MeetFile> m;
    QSqlDatabase meet() const { return m->db(); }

    QString regionalFile(const QString &name, const std::function<void(MeetBuilder &)> &fill)
    {
        return MeetQuery::regionalFile(m->filePath(""), name, fill);
    }

    static void regionFour(MeetBuilder &b)
    {
        const auto blue = b.addTeam("Blue", "B", "12", "9");
        const auto acorn = b.addTeam("Acorn", "A", "3", "9");
        b.addTeam("Lonely", "C", "", "");
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
    void init() { m = std::make_unique<MeetFile>(); }
    void cleanup() { m.reset(); }

    void regionCode_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("code"); // "-" for a refused name
        for (const auto &[name, path, code] :
             {std::tuple{"letter case", "/x/REGION7-2006.MDB", "7"},
              std::tuple{"prefix before Region", "/x/KORVRegionB-2006.mdb", "B"},
              std::tuple{"Region in the folder only", "/Region1/other-2006.mdb", "-"},
              std::tuple{"two-character code", "/x/Region12-2006.mdb", "-"},
              std::tuple{"no code", "/x/Region-2006.mdb", "-"},
              std::tuple{"other year", "/x/Region4-2007.mdb", "-"}})
            QTest::newRow(name) << QString::fromLatin1(path) << QString::fromLatin1(code);
    }
    void regionCode()
    {
        QFETCH(QString, path);
        QFETCH(QString, code);
        QCOMPARE(RegionalImport::regionCode(path).value_or("-"), code);
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
        const auto old = existing.addTeam("Old", "A"); // key 1
        existing.addCoach(old, "Old", "Coach");
        existing.addRider(old, "Old", "Rider", "1");

        RegionalImport import;
        QCOMPARE(import.load(regionalFile("Region4-2006.mdb", regionFour)), std::nullopt);
        const auto outcome = import.importInto(meet());
        QCOMPARE(outcome.coaches, 3);
        QCOMPARE(outcome.riders, 4);
        QCOMPARE(outcome.message(), RegionalImport::Success);

        // Keys follow the meet's own; the region is the file name's, not the file's 9.
        QCOMPARE(MeetQuery::column(meet(),
                                   "SELECT TeamCode || ' ' || TeamName || ' ' || District || ' ' || Region "
                                   "FROM TblTeam ORDER BY TeamCode"),
                 (QStringList{"1 Old 1 1", "2 Acorn 3 4", "3 Blue 12 4", "4 Lonely  4"}));
        // Only a coach's names, position and team are copied; the rest is empty, not missing.
        QCOMPARE(MeetQuery::column(meet(),
                                   "SELECT TeamCode || ' ' || Position FROM TblCoach WHERE LastName = "
                                   "'Hart' AND Address = '' AND City = '' AND Zip = '' AND \"Primary\" = '' "
                                   "AND Secondary = '' AND Email = ''"),
                 QStringList{"3 Head Coach"});
        // New riders have no number; each keeps its team under the team's new key.
        QCOMPARE(MeetQuery::column(meet(), "SELECT TeamCode || ':' || RiderNumber FROM TblPerson ORDER BY 1"),
                 (QStringList{"1:1", "2:", "2:", "3:", "3:"}));

        // A second import of the same file adds everything again.
        import.importInto(meet());
        QCOMPARE(MeetQuery::count(meet(), "TblTeam"), 7);
    }

    void orphans_areToldNotDropped()
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
    }

    void refusals_nameTheFileAndChangeNothing_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        for (const auto &[name, kind, reason] :
             {std::tuple{"random bytes", "random", "it is not a database file"},
              std::tuple{"zero bytes", "empty", "the file is empty"},
              std::tuple{"missing table", "no-coach-table", "it has no table TblCoach"},
              std::tuple{"missing field", "no-district", "its table TblTeam has no field District"},
              std::tuple{"two-character code", "Region12", "one-character region code"},
              std::tuple{"name without Region", "Teams", "its name must be"}})
            QTest::newRow(name) << QString::fromLatin1(kind) << QString::fromLatin1(reason);
    }
    void refusals_nameTheFileAndChangeNothing()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        MeetBuilder(meet()).addTeam("Existing", "A");
        const QString before = MeetFixture::dump(meet());

        QString file;
        if (kind == "random" || kind == "empty") {
            file = m->filePath("Region5-2006.mdb");
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
        MeetQuery::forceFailure(meet(), "INSERT ON TblPerson WHEN NEW.FirstName = 'Di'");
        QVERIFY_THROWS_EXCEPTION(DbError, import.importInto(meet()));
        QCOMPARE(MeetFixture::dump(meet()), before);
    }
};

QTEST_GUILESS_MAIN(TstRegionalImport)
#include "tst_regionalimport.moc"
