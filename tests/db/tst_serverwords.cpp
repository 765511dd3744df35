// What the client library and the server say when a station cannot get in, in the program's
// words: a refused or missing password is never told as a server that cannot be reached, and the
// server's reason follows without its "FATAL:" and without saying twice where it was.
#include "db/serverwords.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(DbError::Kind)

class TstServerWords : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void connectFailure_data()
    {
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QString>("passwordFile");
        QTest::addColumn<DbError::Kind>("kind");
        QTest::addColumn<QString>("words");
        const QString pgpass = "the password file ~/.pgpass is passed over because others can read it: "
                               "make it readable by you alone (chmod 600 ~/.pgpass)";
        QTest::newRow("password refused")
            << "connection to server at \"showserver\" (10.0.0.5), port 5432 failed: FATAL:  password "
               "authentication failed for user \"trotwise\"\n"
            << "" << DbError::Kind::SignIn
            << "the server refused the password of trotwise: put it in ~/.pgpass or PGPASSWORD "
               "(password authentication failed for user \"trotwise\")";
        QTest::newRow("no password")
            << "connection to server on socket \"/run/x/.s.PGSQL.5432\" failed: fe_sendauth: no password "
               "supplied\n"
            << "" << DbError::Kind::SignIn
            << "the server asks for the password of trotwise and none was given: put it in ~/.pgpass or "
               "PGPASSWORD (fe_sendauth: no password supplied)";
        QTest::newRow("password file others can read")
            << "fe_sendauth: no password supplied" << pgpass << DbError::Kind::SignIn
            << "the server asks for the password of trotwise, and " + pgpass +
                   " (fe_sendauth: no password supplied)";
        QTest::newRow("no line of pg_hba.conf")
            << "FATAL:  no pg_hba.conf entry for host \"10.0.0.7\", user \"trotwise\", database "
               "\"trotwise\", no encryption"
            << "" << DbError::Kind::SignIn
            << "the server does not let this station in as trotwise (no line of its pg_hba.conf admits it) "
               "(no pg_hba.conf entry for host \"10.0.0.7\", user \"trotwise\", database \"trotwise\", no "
               "encryption)";
        QTest::newRow("unknown user")
            << "FATAL:  role \"trotwise\" does not exist"
            << "" << DbError::Kind::SignIn
            << "the server has no user trotwise (createuser on the server makes one) (role \"trotwise\" "
               "does not exist)";
        QTest::newRow("no database")
            << "FATAL:  database \"show\" does not exist"
            << "" << DbError::Kind::SignIn
            << "the server has no database show (createdb --owner trotwise show on the server makes it) "
               "(database \"show\" does not exist)";
        // A server that cannot be reached: the reason alone, which DbError puts after its words.
        QTest::newRow("refused, with the library's hint")
            << "connection to server at \"showserver\" (10.0.0.5), port 5432 failed: Connection refused\n"
               "\tIs the server running on that host and accepting TCP/IP connections?\n"
            << "" << DbError::Kind::Lost << "the meet server cannot be reached (Connection refused)";
        QTest::newRow("two servers, one reason")
            << "connection to server at \"a\" (10.0.0.5), port 5432 failed: timeout expired\n"
               "connection to server at \"b\" (10.0.0.6), port 5432 failed: timeout expired\n"
            << "" << DbError::Kind::Lost << "the meet server cannot be reached (timeout expired)";
        QTest::newRow("broken mid-sign-in")
            << "SSL SYSCALL error: EOF detected" << pgpass << DbError::Kind::Lost
            << "the meet server cannot be reached (SSL SYSCALL error: EOF detected)";
        QTest::newRow("starting up")
            << "FATAL:  the database system is starting up"
            << "" << DbError::Kind::Lost
            << "the meet server cannot be reached (the database system is starting up)";
    }

    void connectFailure()
    {
        QFETCH(QString, driver);
        QFETCH(QString, passwordFile);
        QFETCH(DbError::Kind, kind);
        QFETCH(QString, words);
        const ServerWords::Told told = ServerWords::connectFailure(driver, "trotwise", passwordFile);
        QCOMPARE(told.kind, kind);
        const DbError error("Connecting", {}, told.words, told.kind, true);
        QCOMPARE(error.why(), words);
        QVERIFY(!error.userText().contains("FATAL"));
    }

    // A broken connection is known by its words whatever code came with it; a refusal is not one.
    void brokenConnection_isKnownByItsWords()
    {
        for (const char *broken : {"SSL SYSCALL error: EOF detected",
                                   "server closed the connection unexpectedly\n\tThis probably means ...",
                                   "FATAL:  terminating connection due to administrator command",
                                   "could not receive data from server: Connection timed out"})
            QVERIFY2(ServerWords::brokenConnection(broken), broken);
        for (const char *other : {"ERROR:  duplicate key value violates unique constraint",
                                  "FATAL:  password authentication failed for user \"trotwise\""})
            QVERIFY2(!ServerWords::brokenConnection(other), other);
    }

    void unusablePasswordFile_isToldWhenOthersCanReadItOrItIsNoFile()
    {
        QTemporaryDir home;
        const QString path = home.filePath("pgpass");
        qputenv("PGPASSFILE", QFile::encodeName(path));
        QCOMPARE(ServerWords::unusablePasswordFile(), QString()); // none: the advice is to make one
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
        QCOMPARE(ServerWords::unusablePasswordFile(), QString());
        QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        QVERIFY(ServerWords::unusablePasswordFile().contains("others can read it"));
        QVERIFY(file.remove() && QDir(home.path()).mkdir("pgpass"));
        QVERIFY(ServerWords::unusablePasswordFile().contains("is not a plain file"));
        qunsetenv("PGPASSFILE");
    }
};

QTEST_GUILESS_MAIN(TstServerWords)
#include "tst_serverwords.moc"
