// The statement helper and the write transaction: values bound, failures named, all or nothing.
#include "meetfile.h"

#include "db/writetransaction.h"

class TstSql : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MeetFile> m_meet;
    QSqlDatabase db() const { return m_meet->db(); }
    int teams() { return Sql::scalar(db(), "count", "SELECT count(*) FROM TblTeam").toInt(); }

private Q_SLOTS:
    void init() { m_meet = std::make_unique<MeetFile>(); }
    void cleanup() { m_meet.reset(); }

    void boundValues_withQuotesAndWildcardsAreLiteral()
    {
        MeetBuilder meet(db());
        for (const QString &name :
             {QStringLiteral("O'Brien"), QStringLiteral("100% Horse"), QStringLiteral("Say \"Whoa\""),
              QStringLiteral("Zoë*"), QStringLiteral("x'); DROP TABLE TblTeam; --")})
            meet.addTeam(name, "A");
        QCOMPARE(teams(), 5);
        QCOMPARE(Sql::scalar(db(), "find", "SELECT TeamName FROM TblTeam WHERE TeamName = ?", {"o'brien"})
                     .toString(),
                 "O'Brien");
        QCOMPARE(Sql::select(db(), "find", "SELECT * FROM TblTeam WHERE TeamName = :n",
                             QVariantMap{{"n", "100% Horse"}})
                     .size(),
                 1);
    }

    void failure_namesTheActionAndTheEngineMessage()
    {
        try {
            Sql::exec(db(), "Saving the team", "INSERT INTO TblTeam (TeamName, Division) VALUES (?, ?)",
                      {"Blue", "AB"});
            QFAIL("the insert should have failed");
        } catch (const DbError &e) {
            QCOMPARE(e.action(), "Saving the team");
            QVERIFY(e.userText().startsWith("Saving the team failed."));
            QVERIFY(e.engineMessage().contains("CHECK", Qt::CaseInsensitive));
        }
        QVERIFY_THROWS_EXCEPTION(DbError, Sql::select(db(), "Reading", "SELECT * FROM NoSuchTable"));
    }

    void transaction_rollsBackUnlessCommitted()
    {
        MeetBuilder meet(db());
        {
            WriteTransaction tx(db(), "two teams");
            meet.addTeam("One", "A");
            meet.addTeam("Two", "A");
        }
        QCOMPARE(teams(), 0);
        try {
            WriteTransaction tx(db(), "two teams, second bad");
            meet.addTeam("One", "A");
            meet.addTeam("Two", "too long");
            tx.commit();
        } catch (const DbError &) {
        }
        QCOMPARE(teams(), 0);
        {
            WriteTransaction tx(db(), "two teams");
            meet.addTeam("One", "A");
            meet.addTeam("Two", "A");
            tx.commit();
        }
        QCOMPARE(teams(), 2);
    }

    void transaction_waitsForOrRefusesASecondWriter()
    {
        DbConnection other;
        other.open(m_meet->path(), DbConnection::Mode::ReadWrite);
        WriteTransaction held(db(), "first writer");
        Sql::exec(db(), "pragma", "PRAGMA busy_timeout = 0");
        Sql::exec(other.database(), "pragma", "PRAGMA busy_timeout = 50");
        QVERIFY_THROWS_EXCEPTION(DbError, WriteTransaction(other.database(), "second writer"));
    }

    void readOnlyConnection_refusesWritesAndMissingFilesAreNotCreated()
    {
        DbConnection ro;
        ro.open(m_meet->path(), DbConnection::Mode::ReadOnly);
        QVERIFY_THROWS_EXCEPTION(DbError, MeetBuilder(ro.database()).addTeam("Blue", "B"));
        const QString missing = m_meet->filePath("missing.mdb");
        DbConnection none;
        QVERIFY_THROWS_EXCEPTION(DbError, none.open(missing, DbConnection::Mode::ReadWrite));
        QVERIFY(!QFile::exists(missing));
    }
};

QTEST_GUILESS_MAIN(TstSql)
#include "tst_sql.moc"
