#include "db/snapshotsource.h"

#include "db/dbconnection.h"
#include "db/dberror.h"
#include "db/engine.h"
#include "db/fileengine.h"
#include "db/journal.h"
#include "db/meetcopy.h"
#include "db/meetschema.h"
#include "db/sql.h"
#include "db/writetransaction.h"

#include <QDir>

#include <sqlite3.h>

namespace {

const QString Taking = QStringLiteral("Taking a snapshot of the meet");
const QString Restoring = QStringLiteral("Restoring the snapshot");

sqlite3 *handleOf(const DbConnection &meet, const QString &action)
{
    sqlite3 *engine = FileEngine::handle(meet.database());
    if (!engine)
        throw DbError(action, {}, QStringLiteral("the meet file is not open"));
    return engine;
}

// A database file opened by the engine directly, closed when this goes.
class EngineFile
{
public:
    EngineFile(const QString &path, int flags, const QString &action)
    {
        const int rc =
            sqlite3_open_v2(QDir::toNativeSeparators(path).toUtf8().constData(), &m_db, flags, nullptr);
        if (rc != SQLITE_OK) {
            const QString reason =
                m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(rc));
            sqlite3_close(m_db);
            throw DbError(action, {}, reason);
        }
        sqlite3_busy_timeout(m_db, DbConnection::busyTimeout());
    }
    ~EngineFile() { sqlite3_close(m_db); }
    EngineFile(const EngineFile &) = delete;
    EngineFile &operator=(const EngineFile &) = delete;

    sqlite3 *handle() const { return m_db; }

private:
    sqlite3 *m_db = nullptr;
};

// Copies every page of from into to in one step: the destination's write transaction commits
// only when the whole copy is done, and is rolled back otherwise.
void backup(sqlite3 *from, sqlite3 *to, const QString &action)
{
    sqlite3_backup *copy = sqlite3_backup_init(to, "main", from, "main");
    if (!copy)
        throw DbError(action, {}, QString::fromUtf8(sqlite3_errmsg(to)));
    const int stepped = sqlite3_backup_step(copy, -1);
    const int finished = sqlite3_backup_finish(copy);
    if (stepped != SQLITE_DONE || finished != SQLITE_OK)
        throw DbError(action, {},
                      QString::fromUtf8(sqlite3_errstr(stepped != SQLITE_DONE ? stepped : finished)));
}

} // namespace

void MeetFileSource::copyTo(const QString &path)
{
    sqlite3 *meet = handleOf(m_meet, Taking);
    // The backup would copy what a save has written so far.
    if (!sqlite3_get_autocommit(meet))
        throw DbError(Taking, {}, QStringLiteral("a save is under way"));
    const EngineFile file(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, Taking);
    // A new file that is thrown away if the copy fails: no journal, and no waiting for the disk
    // before the copy is whole (the caller waits once, before naming it).
    sqlite3_exec(file.handle(), "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF", nullptr, nullptr,
                 nullptr);
    backup(meet, file.handle(), Taking);
}

void MeetFileSource::replaceFrom(const QString &path, const QString &journalLine)
{
    sqlite3 *meet = handleOf(m_meet, Restoring);
    {
        const EngineFile file(path, SQLITE_OPEN_READONLY, Restoring);
        backup(file.handle(), meet, Restoring);
    }
    // The engine's backup is a step of its own: the line follows it in a transaction of its own.
    // A snapshot of an earlier version brings no journal, and gets one.
    MeetSchema::addMissing(m_meet.database());
    if (Journal::checkPresent(m_meet.database()) && !journalLine.isEmpty())
        WriteTransaction::run(m_meet.database(), Restoring, [&] {
            Journal::writeLine(m_meet.database(), Restoring, Journal::Kind::Restore, journalLine);
        });
}

std::int64_t MeetFileSource::changeCount()
{
    return Sql::scalar(m_meet.database(), QStringLiteral("Reading the meet's changes"),
                       QStringLiteral("SELECT total_changes()"))
        .toLongLong();
}

void ServerMeetSource::copyTo(const QString &path)
{
    MeetCopy::toFile(m_meet.database(), path, false);
}

void ServerMeetSource::replaceFrom(const QString &path, const QString &journalLine)
{
    MeetCopy::replaceOnServer(m_meet.database(), path, journalLine);
}

std::int64_t ServerMeetSource::changeCount()
{
    return Engine::rowsWritten(m_meet.database());
}
