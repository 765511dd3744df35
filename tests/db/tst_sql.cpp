// The statement helper and the write transaction: values bound, nothing kept without a commit, a
// second writer refused, read-only files. How failures are named is read from the windows that tell them.
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
        for (const char *name : {"O'Brien", "100% Horse", "Say \"Whoa\"", "x'); DROP TABLE TblTeam; --"})
            MeetBuilder(db()).addTeam(name, "A");
        QCOMPARE(MeetQuery::column(db(), "SELECT TeamName FROM TblTeam WHERE TeamName = ?", {"o'brien"}),
                 QStringList{"O'Brien"});
        QCOMPARE(Sql::select(db(), "find", "SELECT * FROM TblTeam WHERE TeamName = :n",
                             QVariantMap{{"n", "100% Horse"}})
                     .size(),
                 1);
        QCOMPARE(teams(), 4);
    }

    // A save that fails part-way is tested under a forced failure wherever the program saves.
    void transaction_rollsBackUnlessCommitted()
    {
        {
            WriteTransaction tx(db(), "two teams");
            MeetBuilder(db()).addTeam("One", "A");
        }
        QCOMPARE(teams(), 0);
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
