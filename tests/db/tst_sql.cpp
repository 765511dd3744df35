// The write transaction and the connection: nothing kept without a commit, a second writer
// refused, read-only connections, a save that collided run once more, a change since a read seen. Bound
// values and how failures are named are read through the windows that save names with quotes and tell what
// failed.
#include "meetfile.h"

#include "db/engine.h"
#include "db/readmark.h"
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
        MeetBuilder(db()).addTeam("Blue", "B");
        WriteTransaction held(db(), "first writer");
        const QString write = QStringLiteral("UPDATE TblTeam SET District = '9'");
        if (Engine::onServer(db())) {
            // The server lets both begin; the second waits for the rows the first holds.
            Sql::exec(db(), "first write", write);
            Sql::exec(other.database(), "wait", "SET lock_timeout = 50");
            WriteTransaction second(other.database(), "second writer");
            try {
                Sql::exec(other.database(), "second write", write);
                QFAIL("the second writer was let in");
            } catch (const DbError &e) {
                QCOMPARE(e.kind(), DbError::Kind::Locked);
            }
            return;
        }
        Sql::exec(db(), "pragma", "PRAGMA busy_timeout = 0");
        Sql::exec(other.database(), "pragma", "PRAGMA busy_timeout = 50");
        try {
            WriteTransaction second(other.database(), "second writer");
            QFAIL("the second writer was let in");
        } catch (const DbError &e) {
            QCOMPARE(e.kind(), DbError::Kind::Locked);
        }
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

    // A save another station's save got in the way of runs once more, then is told.
    void serverCollision_isRetriedOnceThenTold()
    {
        int runs = 0;
        const auto collide = [&] {
            ++runs;
            throw DbError("save", {}, "could not serialize access", DbError::Kind::Collision, true);
        };
        try {
            WriteTransaction::run(db(), "Saving", collide);
            QFAIL("a collision was swallowed");
        } catch (const DbError &e) {
            QCOMPARE(e.kind(), DbError::Kind::Collision);
        }
        QCOMPARE(runs, 2);
        int tries = 0;
        QCOMPARE(WriteTransaction::run(db(), "Saving",
                                       [&] {
                                           if (tries++ == 0)
                                               throw DbError("save", {}, "", DbError::Kind::Collision, true);
                                           MeetBuilder(db()).addTeam("Once", "A");
                                           return tries;
                                       }),
                 2);
        QCOMPARE(MeetQuery::count(db(), "TblTeam"), 1);
    }

    // Rows sent a hundred to a statement all arrive, in the order added, keys in that order too,
    // whether they fill their last statement or not.
    void inserter_addsEveryRowInOrder_data()
    {
        QTest::addColumn<int>("rows");
        for (const int rows : {0, 1, 100, 101, 250})
            QTest::addRow("%d", rows) << rows;
    }
    void inserter_addsEveryRowInOrder()
    {
        QFETCH(int, rows);
        QStringList names;
        {
            WriteTransaction tx(db(), "teams");
            Sql::Inserter teams(db(), "teams", "TblTeam", {"TeamName", "Division"});
            for (int i = 0; i < rows; ++i) {
                names << QStringLiteral("Team %1").arg(i);
                teams.add({names.back(), QString(QChar(u"ABCD"[i % 4]))});
            }
            teams.finish();
            tx.commit();
        }
        QCOMPARE(MeetQuery::column(db(), "SELECT TeamName FROM TblTeam ORDER BY TeamCode"), names);
    }

    // A row the meet refuses fails its statement, in a full batch or in the last one, named by
    // the action; the engine's words say why.
    void inserter_refusedRowFailsWithTheAction_data()
    {
        QTest::addColumn<int>("rows");
        for (const int rows : {1, 100, 150})
            QTest::addRow("%d", rows) << rows;
    }
    void inserter_refusedRowFailsWithTheAction()
    {
        QFETCH(int, rows);
        WriteTransaction tx(db(), "teams");
        Sql::Inserter teams(db(), "Adding teams", "TblTeam", {"TeamName", "Division"});
        try {
            for (int i = 0; i < rows; ++i)
                teams.add({QStringLiteral("Team %1").arg(i), i + 1 == rows ? QVariant("AB") : QVariant("A")});
            teams.finish();
            QFAIL("a division of two letters was stored");
        } catch (const DbError &e) {
            QVERIFY2(QString::fromUtf8(e.what()).contains("Adding teams"), e.what());
            QVERIFY2(e.engineMessage().contains("CHECK", Qt::CaseInsensitive) ||
                         e.engineMessage().contains("check constraint"),
                     qPrintable(e.engineMessage()));
        }
    }

    // What a window read and what is stored now: a change of case is a change, a row gone is told
    // as gone.
    void readMark_seesAnotherStationsChange()
    {
        MeetBuilder meet(db());
        const auto team = meet.addTeam("Blue", "B");
        meet.addTeam("Red", "B");
        const auto told = [&](const ReadMark &mark) -> QString {
            try {
                mark.check(db(), "check");
                return {};
            } catch (const DbError &e) {
                const bool told =
                    e.kind() == (e.engineMessage() == "gone" ? DbError::Kind::Gone : DbError::Kind::Conflict);
                return told ? e.engineMessage() : QString::fromUtf8(e.what());
            }
        };
        ReadMark division("changed", "gone");
        division.select(db(), "read", "SELECT TeamName FROM TblTeam WHERE Division = ?", {"B"});
        ReadMark one("changed", "gone");
        one.select(db(), "read", "SELECT * FROM TblTeam WHERE TeamCode = ?", {team});
        QCOMPARE(told(division), QString());
        Sql::exec(db(), "rename", "UPDATE TblTeam SET TeamName = 'blue' WHERE TeamCode = ?", {team});
        QCOMPARE(told(division), "changed");
        Sql::exec(db(), "delete", "DELETE FROM TblTeam WHERE TeamCode = ?", {team});
        QCOMPARE(told(one), "gone");
    }
};

QTEST_GUILESS_MAIN(TstSql)
#include "tst_sql.moc"
