// The write transaction and the connection: nothing kept without a commit, a second writer
// refused, read-only files. Bound values and how failures are named are read through the windows
// that save names with quotes and tell what failed.
#include "meetfile.h"

#include "db/writetransaction.h"

class TstSql : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MeetFile> m_meet;
    QSqlDatabase db() const { return m_meet->db(); }

private Q_SLOTS:
    void init() { m_meet = std::make_unique<MeetFile>(); }
    void cleanup() { m_meet.reset(); }

    // A save that fails part-way is tested under a forced failure wherever the program saves.
    void transaction_rollsBackUnlessCommitted()
    {
        {
            WriteTransaction tx(db(), "two teams");
            MeetBuilder(db()).addTeam("One", "A");
        }
        QCOMPARE(MeetQuery::count(db(), "TblTeam"), 0);
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
