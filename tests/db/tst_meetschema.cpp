// The meet's tables, in the file and on a server: the engine itself must refuse what the layout
// forbids, and text compares and sorts without regard to letter case on both.
#include "meetfile.h"

#include "testengine.h"

#include "db/classcatalogue.h"
#include "db/dbconnection.h"
#include "db/engine.h"
#include "db/meetcopy.h"
#include "db/journal.h"
#include "db/meetschema.h"

class TstMeetSchema : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MeetFile> m;
    QSqlDatabase db() const { return m->db(); }

    bool accepted(const QString &statement, const QVariantList &values = {})
    {
        try {
            Sql::exec(db(), QStringLiteral("test insert"), statement, values);
            return true;
        } catch (const DbError &) {
            return false;
        }
    }

    // The meet's own indexes the database holds, by name in lower case.
    static QStringList meetIndexes(const QSqlDatabase &db)
    {
        QStringList names = Engine::indexes(db).filter(QRegularExpression("^idx"));
        names.sort();
        return names;
    }

    void dropIndexes()
    {
        for (const MeetSchema::Index &index : MeetSchema::indexes())
            Sql::exec(db(), "drop", QStringLiteral("DROP INDEX %1").arg(QLatin1StringView(index.name)));
    }

private Q_SLOTS:
    void init() { m = std::make_unique<MeetFile>(); }
    void cleanup() { m.reset(); }

    // And the journal beside them, keyed by its line.
    void newMeet_hasNineTablesInOrderAndFiveKeysOnly()
    {
        const bool server = Engine::onServer(db());
        // No view or trigger besides (the indexes are checked below).
        const QString objects =
            server
                ? QStringLiteral("SELECT relname FROM pg_class WHERE relnamespace = 'public'::regnamespace "
                                 "AND relkind NOT IN ('S', 'i') ORDER BY relname")
                : QStringLiteral(
                      "SELECT name FROM sqlite_master WHERE name NOT LIKE 'sqlite_%' AND type <> 'index' "
                      "ORDER BY name");
        QCOMPARE(
            MeetQuery::column(db(), objects).join(u',').toLower(),
            "tblclass,tblclassjudges,tblcoach,tblentry,tbljournal,tbljudge,tblpairing,tblperson,tblplacing,tblteam");
        QCOMPARE(Sql::select(db(), "columns", "SELECT * FROM TblCoach").columns.join(u',').toLower(),
                 "firstname,lastname,address,city,zip,primary,secondary,email,position,teamcode,coachcode");

        const QString keyOf =
            server ? QStringLiteral("SELECT a.attname FROM pg_index i JOIN pg_attribute a ON a.attrelid = "
                                    "i.indrelid AND a.attnum = ANY(i.indkey) WHERE i.indisprimary AND "
                                    "i.indrelid = lower(?)::regclass")
                   : QStringLiteral("SELECT name FROM pragma_table_info(?) WHERE pk > 0");
        QStringList keys;
        std::vector<MeetSchema::Table> all(MeetSchema::tables().begin(), MeetSchema::tables().end());
        all.push_back(MeetSchema::journal());
        for (const MeetSchema::Table &t : all)
            for (const QString &key : MeetQuery::column(db(), keyOf, {QString::fromLatin1(t.name)}))
                keys << QLatin1StringView(t.name) + u'.' + key.toLower();
        QCOMPARE(keys, (QStringList{"TblClass.classnumber", "TblCoach.coachcode", "TblJudge.judgeid",
                                    "TblPerson.riderindex", "TblTeam.teamcode", "TblJournal.journalid"}));
    }

    void indexes_madeWithEveryMeetAndAddedToAnOldOne_data()
    {
        QTest::addColumn<QString>("meet");
        QTest::addColumn<bool>("indexed");
        QTest::newRow("new meet") << "new" << true;
        QTest::newRow("copy of the meet") << "copy" << true;
        QTest::newRow("old meet, added") << "old" << true;
        QTest::newRow("old meet opened read-only, goes on without") << "read-only" << false;
    }

    void indexes_madeWithEveryMeetAndAddedToAnOldOne()
    {
        QFETCH(QString, meet);
        QFETCH(bool, indexed);
        QStringList all;
        for (const MeetSchema::Index &index : MeetSchema::indexes())
            all << QString::fromLatin1(index.name).toLower();
        all.sort();

        DbConnection other;
        QSqlDatabase checked = db();
        if (meet == "copy") {
            const QString target =
                TestEngine::onServer() ? TestEngine::newDatabase() : m->filePath("copy.mdb");
            TestEngine::onServer() ? MeetCopy::toServer(db(), target) : MeetCopy::toFile(db(), target);
            other.open(target, DbConnection::Mode::ReadWrite);
            checked = other.database();
        } else if (meet == "old") {
            dropIndexes();
            Sql::exec(db(), "test", "DROP TABLE TblJournal");
            QVERIFY(!MeetSchema::mismatch(db()));
            QVERIFY(!MeetSchema::addMissing(db()));
        } else if (meet == "read-only") {
            if (TestEngine::onServer())
                QSKIP("a server meet is never opened read-only");
            dropIndexes();
            Sql::exec(db(), "test", "DROP TABLE TblJournal");
            other.open(m->path(), DbConnection::Mode::ReadOnly);
            checked = other.database();
            QVERIFY(MeetSchema::addMissing(checked));
            QCOMPARE(MeetQuery::count(checked, "TblClass"), 17);
        }
        QCOMPARE(meetIndexes(checked), indexed ? all : QStringList());
        // The journal comes with the indexes, and a meet without it is still a meet.
        QCOMPARE(Journal::checkPresent(checked), indexed);
        QVERIFY(!MeetSchema::mismatch(checked));
        QVERIFY(!MeetSchema::foreignTable(checked));
    }

    void text_comparesAndSortsWithoutLetterCase()
    {
        MeetBuilder meet(db());
        for (const char *name : {"beta", "Alpha", "ALPHA", "Zed", "o'brien", "_under", "Émile"})
            meet.addTeam(name, "a");
        QCOMPARE(MeetQuery::column(db(),
                                   "SELECT TeamName FROM TblTeam WHERE Division = 'A' AND TeamName = ? "
                                   "ORDER BY TeamCode",
                                   {"alpha"}),
                 (QStringList{"Alpha", "ALPHA"}));
        QCOMPARE(MeetQuery::column(db(), "SELECT TeamName FROM TblTeam WHERE TeamName LIKE 'O''B%'"),
                 QStringList{"o'brien"});
        // The 26 letters fold to small ones; everything else sorts by its code ("_" before "a").
        QCOMPARE(MeetQuery::column(db(),
                                   "SELECT TeamName FROM TblTeam WHERE TeamName <> 'ALPHA' OR TeamCode = 2 "
                                   "ORDER BY TeamName"),
                 (QStringList{"_under", "Alpha", "beta", "o'brien", "Zed", "Émile"}));
        QCOMPARE(MeetQuery::column(db(), "SELECT count(DISTINCT TeamName) FROM TblTeam"), QStringList{"6"});
    }

    void classCatalogue_isTheSeventeenRowsExactly()
    {
        QStringList catalogue;
        for (const ClassCatalogue::ClassRow &c : ClassCatalogue::rows())
            catalogue
                << QStringLiteral("%1|%2|%3|%4").arg(c.number).arg(c.name).arg(c.maxEntries).arg(c.imagePath);
        QCOMPARE(MeetQuery::column(db(),
                                   "SELECT ClassNumber || '|' || ClassName || '|' || CAST(MaxEntries AS "
                                   "INTEGER) || '|' || ImagePath FROM TblClass ORDER BY ClassNumber"),
                 catalogue);
        QCOMPARE(catalogue.size(), 17);
        QCOMPARE(catalogue[11], "12|Western Riding / Reining|3|WR.bmp");
        QCOMPARE(MeetQuery::column(db(), "SELECT ClassNumber FROM TblClass WHERE MaxEntries = 3 ORDER BY 1"),
                 (QStringList{"5", "9", "12", "13", "17"}));
    }

    void insert_enforcesFieldRules_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QVariantList>("values");
        QTest::addColumn<bool>("accepted");
        const QString coach = QStringLiteral(
            "INSERT INTO TblCoach (FirstName, LastName, Address, Position) VALUES (?, ?, ?, ?)");
        QTest::newRow("coach empty address") << coach << QVariantList{"A", "B", "", "Head Coach"} << true;
        QTest::newRow("coach empty position") << coach << QVariantList{"A", "B", "x", ""} << false;
        QTest::newRow("coach null position") << coach << QVariantList{"A", "B", "x", QVariant()} << true;
        QTest::newRow("coach empty first name") << coach << QVariantList{"", "B", "x", "Head Coach"} << false;
        const QString rider = QStringLiteral(
            "INSERT INTO TblPerson (FirstName, LastName, RiderNumber, Zip) VALUES (?, ?, ?, ?)");
        QTest::newRow("rider empty number") << rider << QVariantList{"A", "B", "", ""} << true;
        QTest::newRow("rider number of 3") << rider << QVariantList{"A", "B", "999", ""} << true;
        QTest::newRow("rider number of 4") << rider << QVariantList{"A", "B", "1000", ""} << false;
        QTest::newRow("rider zip of 10") << rider << QVariantList{"A", "B", "1", "1234567890"} << true;
        QTest::newRow("rider zip of 11") << rider << QVariantList{"A", "B", "1", "12345678901"} << false;
        QTest::newRow("name of 50 letters with umlauts")
            << rider << QVariantList{QString(50, u'ö'), "B", "1", ""} << true;
        QTest::newRow("name of 51 characters")
            << rider << QVariantList{QString(51, u'a'), "B", "1", ""} << false;
        const QString team =
            QStringLiteral("INSERT INTO TblTeam (TeamName, Division, District, Region) VALUES (?, ?, ?, ?)");
        QTest::newRow("team two-letter division") << team << QVariantList{"T", "AB", "1", "1"} << false;
        QTest::newRow("team empty division") << team << QVariantList{"T", "", "1", "1"} << false;
        QTest::newRow("team district of 4") << team << QVariantList{"T", "A", "1234", "1"} << false;
        QTest::newRow("team empty region") << team << QVariantList{"T", "A", "1", ""} << true;
        const QString entry = QStringLiteral("INSERT INTO TblEntry (ClassNumber, RiderIndex) VALUES (?, ?)");
        QTest::newRow("class number 32767") << entry << QVariantList{32767, 1} << true;
        QTest::newRow("class number 32768") << entry << QVariantList{32768, 1} << false;
        QTest::newRow("rider index 2^31-1") << entry << QVariantList{1, qint64(2147483647)} << true;
        QTest::newRow("rider index 2^31") << entry << QVariantList{1, qint64(2147483648)} << false;
        QTest::newRow("class number as text") << entry << QVariantList{"abc", 1} << false;
        const QString cls = QStringLiteral(
            "INSERT INTO TblClass (ClassNumber, ClassName, MaxEntries, ImagePath) VALUES (?, ?, ?, ?)");
        QTest::newRow("class without number") << cls << QVariantList{QVariant(), "X", 3.0, "x.bmp"} << false;
        QTest::newRow("class number taken") << cls << QVariantList{5, "X", 3.0, "x.bmp"} << false;
        QTest::newRow("class 18") << cls << QVariantList{18, "X", 3.5, "x.bmp"} << true;
        QTest::newRow("judge memo empty")
            << QStringLiteral("INSERT INTO TblJudge (FirstName, LastName, Memo) VALUES ('A', 'B', ?)")
            << QVariantList{""} << true;
    }
    void insert_enforcesFieldRules()
    {
        QFETCH(QString, statement);
        QFETCH(QVariantList, values);
        QFETCH(bool, accepted);
        QCOMPARE(this->accepted(statement, values), accepted);
    }

    void autoNumbers_startAtOneAndAreNeverReused()
    {
        MeetBuilder meet(db());
        QCOMPARE(meet.addTeam("Blue", "B"), 1);
        QCOMPARE(meet.addCoach(1, "Ann", "Lee"), 1);
        QCOMPARE(meet.addRider(1, "Bo", "Lee"), 1);
        QCOMPARE(meet.addJudge("Jo", "Ray"), 1);
        QCOMPARE(meet.addTeam("Red", "A"), 2);
        Sql::exec(db(), "delete", "DELETE FROM TblTeam WHERE TeamCode = ?", {2});
        QCOMPARE(meet.addTeam("Green", "A"), 3);
        QVERIFY(!accepted("INSERT INTO TblTeam (TeamCode, TeamName) VALUES (1, 'Copy')"));
    }
};

QTEST_GUILESS_MAIN(TstMeetSchema)
#include "tst_meetschema.moc"
