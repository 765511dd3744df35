#pragma once

// A fresh meet file for logic tests, and short ways to read a meet and to make a write fail.
#include "meetfixture.h"

#include "db/dbconnection.h"
#include "db/engine.h"
#include "db/sql.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

#include <sys/stat.h>

namespace MeetQuery {

// The first column of every row the query selects, as text.
inline QStringList column(const QSqlDatabase &db, const QString &sql, const QVariantList &values = {})
{
    QStringList out;
    for (const auto &row : Sql::select(db, QStringLiteral("test read"), sql, values).rows)
        out << row[0].toString();
    return out;
}

// Every rider's number, in the order the riders were added.
inline QStringList riderNumbers(const QSqlDatabase &db)
{
    return column(db, QStringLiteral("SELECT RiderNumber FROM TblPerson ORDER BY RiderIndex"));
}

inline int count(const QSqlDatabase &db, const QString &table)
{
    return Sql::scalar(db, QStringLiteral("test count"), QStringLiteral("SELECT count(*) FROM ") + table)
        .toInt();
}

// The writes the condition names fail from now on as a full disk would, e.g. "INSERT ON TblPairing"
// or "UPDATE ON TblPerson WHEN NEW.RiderIndex = 3". On the file only this connection's writes
// fail; on a server every station's. Answers the statement that lets the writes go through again.
inline QString forceFailure(const QSqlDatabase &db, const QString &when,
                            const QString &message = "disk is full")
{
    if (!Engine::onServer(db)) {
        Sql::exec(db, QStringLiteral("trap"),
                  QStringLiteral("CREATE TEMP TRIGGER forced BEFORE %1 BEGIN SELECT RAISE(ABORT, '%2'); END")
                      .arg(when, message));
        return QStringLiteral("DROP TRIGGER temp.forced");
    }
    static int n = 0;
    const QString name = QStringLiteral("forced%1").arg(++n);
    const QString event = when.section(QStringLiteral(" WHEN "), 0, 0);
    const QString condition = when.section(QStringLiteral(" WHEN "), 1);
    Sql::exec(db, QStringLiteral("trap"),
              QStringLiteral("CREATE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql AS "
                             "$$ BEGIN RAISE EXCEPTION '%2'; END $$")
                  .arg(name, message));
    Sql::exec(
        db, QStringLiteral("trap"),
        QStringLiteral("CREATE TRIGGER %1 BEFORE %2 FOR EACH ROW %3 EXECUTE FUNCTION %1()")
            .arg(name, event, condition.isEmpty() ? QString() : QStringLiteral("WHEN (%1)").arg(condition)));
    return QStringLiteral("DROP TRIGGER %1 ON %2").arg(name, event.section(u' ', -1));
}

// The identity of a file or folder (its inode): a folder written anew is another one.
inline quint64 identity(const QString &path)
{
    struct stat st = {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? quint64(st.st_ino) : 0;
}

// A file of those bytes at path, as a spreadsheet saves one; answers the path.
inline QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// A regional export file: a meet built in a folder of its own below `parent`, filled, then named
// as the regions name theirs ("Region4-2006.mdb").
inline QString regionalFile(const QString &parent, const QString &name,
                            const std::function<void(MeetBuilder &)> &fill)
{
    const QString folder = QDir(parent).filePath(QStringLiteral("from ") + name);
    QDir().mkpath(folder);
    const QString built = MeetFixture::createMeetFile(folder);
    {
        DbConnection c;
        c.open(built, DbConnection::Mode::ReadWrite);
        MeetBuilder b(c.database());
        fill(b);
    }
    const QString path = QDir(folder).filePath(name);
    QFile::rename(built, path);
    return path;
}

} // namespace MeetQuery

class MeetFile
{
public:
    MeetFile() { m_conn.open(MeetFixture::createMeet(m_dir.path()), DbConnection::Mode::ReadWrite); }

    QSqlDatabase db() const { return m_conn.database(); }
    MeetBuilder build() const { return MeetBuilder(db()); }
    // The meet file's path, or the server database's address.
    QString path() const { return m_conn.location(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    DbConnection m_conn; // closed before the folder goes
};
