#include "db/engine.h"

#include "db/dbconnection.h"
#include "db/fileengine.h"
#include "db/serverwords.h"
#include "db/serverwatch.h"
#include "db/sql.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

namespace Engine {
namespace {

// Kept on the connection's driver, which every copy of the connection shares.
constexpr const char *LostProperty = "trotwiseLost";
constexpr const char *DepthProperty = "trotwiseTransactions";

void setLost(const QSqlDatabase &db, bool lost)
{
    if (QSqlDriver *d = db.driver())
        d->setProperty(LostProperty, lost);
}

// A server error carries its SQLSTATE; one the client library raised itself (the connection is
// gone) carries none, and then the connection is tried once more to tell.
bool connectionBroken(const QSqlDatabase &db, const QSqlError &error)
{
    const QString state = error.nativeErrorCode();
    if (state.startsWith(QStringLiteral("08")) || state == QStringLiteral("57P01") ||
        state == QStringLiteral("57P02") || state == QStringLiteral("57P03"))
        return true;
    if (error.type() == QSqlError::ConnectionError || ServerWords::brokenConnection(error.databaseText()))
        return true;
    if (!state.isEmpty() || !db.isOpen())
        return !db.isOpen();
    QSqlQuery probe(db);
    const ServerWatch::Statement watch(db);
    return !probe.exec(QStringLiteral("SELECT 1")) || watch.expired();
}

} // namespace

bool onServer(const QSqlDatabase &db)
{
    return db.driverName() == QStringLiteral("QPSQL");
}

std::optional<quint32> changeStamp(const QSqlDatabase &db)
{
    sqlite3 *engine = FileEngine::handle(db);
    unsigned int version = 0;
    if (!engine || sqlite3_file_control(engine, "main", SQLITE_FCNTL_DATA_VERSION, &version) != SQLITE_OK)
        return std::nullopt;
    return version;
}

QString changeMark(const QSqlDatabase &db)
{
    if (onServer(db))
        return QString::number(rowsWritten(db));
    const ResultRows mark =
        Sql::select(db, QStringLiteral("Looking for changes to the meet"),
                    QStringLiteral("SELECT data_version, total_changes() FROM pragma_data_version"));
    return mark.rows.value(0).value(0).toString() + u'/' + mark.rows.value(0).value(1).toString();
}

std::int64_t rowsWritten(const QSqlDatabase &db)
{
    const QString action = QStringLiteral("Reading the meet's changes");
    // The server counts this connection's writes in once it is idle: they are all in by the next
    // statement. Another station's come in once that station is idle: at once, or ten seconds
    // later when it reported writes less than a second before.
    Sql::select(db, action, QStringLiteral("SELECT pg_stat_force_next_flush()"));
    return Sql::scalar(db, action,
                       QStringLiteral("SELECT coalesce(sum(n_tup_ins + n_tup_upd + n_tup_del), 0) "
                                      "FROM pg_stat_user_tables"))
        .toLongLong();
}

void startSession(const QSqlDatabase &db)
{
    QSqlQuery q(db);
    if (!onServer(db)) {
        // Room for the whole of a large meet's pages (taken only as pages are read): the engine's
        // own 2 MB makes a meet of a few thousand riders read its file again and again.
        q.exec(QStringLiteral("PRAGMA cache_size = -32768"));
        return;
    }
    // Held records are waited for as long as a held meet file is; notices (an extension that is
    // there already) are not the user's business. A server that goes silent here leaves the
    // connection cut, found broken by the first statement.
    const ServerWatch::Statement watch(db);
    q.exec(QStringLiteral("SET lock_timeout = %1").arg(DbConnection::busyTimeout()));
    q.exec(QStringLiteral("SET client_min_messages = warning"));
}

QString beginWrite(const QSqlDatabase &db)
{
    return onServer(db) ? QStringLiteral("START TRANSACTION ISOLATION LEVEL SERIALIZABLE")
                        : QStringLiteral("BEGIN IMMEDIATE");
}

QString takeTurnsOn(const QSqlDatabase &db, const QStringList &tables)
{
    // The lock conflicts with itself and with every other write of the tables, and comes before
    // the transaction's first read, so its reads see everything committed before it.
    if (!onServer(db) || tables.isEmpty())
        return {};
    return QStringLiteral("LOCK TABLE %1 IN SHARE ROW EXCLUSIVE MODE").arg(tables.join(QStringLiteral(", ")));
}

QString beginRead(const QSqlDatabase &db)
{
    // On the file the first read takes the shared lock and holds it to the end: another program's
    // save (a second station on the file, a publishing script's reader) waits for it.
    return onServer(db) ? QStringLiteral("START TRANSACTION ISOLATION LEVEL REPEATABLE READ READ ONLY")
                        : QStringLiteral("BEGIN");
}

DbError::Kind classify(const QSqlDatabase &db, const QSqlError &error)
{
    if (!onServer(db))
        return DbError::Kind::Failed; // a held file is told by its words (DbError)
    const QString state = error.nativeErrorCode();
    if (state == QStringLiteral("40001") || state == QStringLiteral("40P01"))
        return DbError::Kind::Collision;
    if (state == QStringLiteral("55P03"))
        return DbError::Kind::Locked;
    if (connectionBroken(db, error)) {
        setLost(db, true);
        return DbError::Kind::Lost;
    }
    return DbError::Kind::Failed;
}

QString message(const QSqlError &error)
{
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.driverText();
    if (text.isEmpty())
        return QStringLiteral("unknown database error");
    // The server's words: "ERROR:  what happened\nDETAIL: ...(SQLSTATE)"; the first line says it.
    const QString state = error.nativeErrorCode();
    if (!state.isEmpty() && text.endsWith(u'(' + state + u')'))
        text.chop(state.size() + 2);
    text = ServerWords::reason(text.section(u'\n', 0, 0));
    return text.isEmpty() ? error.driverText() : text;
}

QString message(const QSqlDatabase &db, const QSqlError &error, const QString &statement)
{
    // Without rights to add the case-blind text type or to make tables, the meet cannot be built:
    // the database belongs to somebody else.
    if (onServer(db) && error.nativeErrorCode() == QStringLiteral("42501") &&
        QStringView(statement).trimmed().startsWith(u"CREATE", Qt::CaseInsensitive))
        return ServerWords::notOwner(db.databaseName(), db.userName(), message(error));
    return message(error);
}

DbError connectError(const QSqlDatabase &db, const QString &action)
{
    const QSqlError error = db.lastError();
    const QString text = error.databaseText().isEmpty() ? error.driverText() : error.databaseText();
    const ServerWords::Told told =
        ServerWords::connectFailure(text, db.userName(), ServerWords::unusablePasswordFile());
    return DbError(action, {}, told.words, told.kind, true);
}

void enterTransaction(const QSqlDatabase &db)
{
    if (QSqlDriver *d = db.driver())
        d->setProperty(DepthProperty, d->property(DepthProperty).toInt() + 1);
}

void leaveTransaction(const QSqlDatabase &db)
{
    if (QSqlDriver *d = db.driver())
        d->setProperty(DepthProperty, std::max(0, d->property(DepthProperty).toInt() - 1));
}

bool inTransaction(const QSqlDatabase &db)
{
    const QSqlDriver *d = db.driver();
    return d && d->property(DepthProperty).toInt() > 0;
}

bool isLost(const QSqlDatabase &db)
{
    const QSqlDriver *d = db.driver();
    return d && d->property(LostProperty).toBool();
}

void reconnect(const QSqlDatabase &db, const QString &action)
{
    QSqlDatabase again = db;
    again.close();
    if (!again.open())
        throw connectError(again, action);
    setLost(again, false);
    startSession(again);
}

DbError unanswered(const QSqlDatabase &db, const QString &action, const QString &statement)
{
    setLost(db, true);
    return DbError(action, statement,
                   QStringLiteral("Nothing is left half written; try again once the server is back."),
                   DbError::Kind::Unanswered, true);
}

namespace {

enum class Arrival { Arrived, NotArrived, Unknown };

// Whether the transaction xid of the session pid on server committed, asked on a new connection.
Arrival arrival(const QSqlDatabase &db, const QString &action, const QString &xid, int pid,
                const QString &server)
{
    try {
        reconnect(db, action);
        // The old session may still hold the commit (a server that was frozen with it unread, a
        // standby that never confirmed it): ended here, so that the answer below stays true. On
        // another server (a standby promoted meanwhile) that number is someone else's.
        if (pid > 0 && ServerWatch::serverOf(db) == server)
            Sql::select(db, action, QStringLiteral("SELECT pg_terminate_backend(?, ?)"),
                        {pid, std::max(1, ServerWatch::bound() / 2)});
        // A transaction the server never heard of is beyond its next one: it did not arrive.
        const QString status =
            Sql::scalar(db, action,
                        QStringLiteral("SELECT CASE WHEN ?::xid8 < pg_snapshot_xmax(pg_current_snapshot()) "
                                       "THEN pg_xact_status(?::xid8) ELSE 'aborted' END"),
                        {xid, xid})
                .toString();
        if (status == QStringLiteral("committed"))
            return Arrival::Arrived;
        return status == QStringLiteral("in progress") ? Arrival::Unknown : Arrival::NotArrived;
    } catch (const DbError &) {
        return Arrival::Unknown;
    }
}

} // namespace

void commit(const QSqlDatabase &db, const QString &action)
{
    const QString statement = QStringLiteral("COMMIT");
    if (!onServer(db)) {
        Sql::exec(db, action, statement);
        return;
    }
    // Nothing written, nothing to lose: no number is given then.
    const QString xid =
        Sql::scalar(db, action, QStringLiteral("SELECT pg_current_xact_id_if_assigned()::text")).toString();
    const int pid = ServerWatch::backendPid(db);
    const QString server = ServerWatch::serverOf(db);
    try {
        Sql::exec(db, action, statement);
        return;
    } catch (const DbError &e) {
        if (xid.isEmpty() || (e.kind() != DbError::Kind::Lost && e.kind() != DbError::Kind::Unanswered))
            throw;
    }
    // The transaction is over on this side whatever became of it; asked about on a new connection.
    leaveTransaction(db);
    const Arrival arrived = arrival(db, action, xid, pid, server);
    if (arrived == Arrival::Arrived)
        return;
    throw DbError(action, statement,
                  arrived == Arrival::NotArrived
                      ? QStringLiteral("Asked again, it says the save did not arrive: nothing of it is "
                                       "stored; try again.")
                      : QStringLiteral("Whether the save arrived cannot be told until it answers again: "
                                       "once it is back, look at what is stored before saving again."),
                  DbError::Kind::Unanswered, true);
}

QString insertionOrder(const QSqlDatabase &db)
{
    // The server keeps no insertion order; the rows' place in the table follows it as long as
    // nothing between them was deleted, which is as near as it comes.
    return onServer(db) ? QStringLiteral("ctid") : QStringLiteral("rowid");
}

qint64 lastKey(const QSqlDatabase &db, const QString &table, const QString &column)
{
    const QString action = QStringLiteral("Reading the last key of %1").arg(table);
    const QVariant last =
        onServer(db)
            ? Sql::scalar(db, action,
                          QStringLiteral("SELECT pg_sequence_last_value(pg_get_serial_sequence(lower(?), "
                                         "lower(?)))"),
                          {table, column})
            : Sql::scalar(db, action, QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ?"),
                          {table});
    return last.isNull() ? 0 : last.toLongLong();
}

void setLastKey(const QSqlDatabase &db, const QString &table, const QString &column, qint64 key)
{
    const QString action = QStringLiteral("Setting the last key of %1").arg(table);
    if (onServer(db)) {
        if (key > 0)
            Sql::select(db, action,
                        QStringLiteral("SELECT setval(pg_get_serial_sequence(lower(?), lower(?)), ?)"),
                        {table, column, key});
        return;
    }
    Sql::exec(db, action, QStringLiteral("DELETE FROM sqlite_sequence WHERE name = ?"), {table});
    if (key > 0)
        Sql::exec(db, action, QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES (?, ?)"),
                  {table, key});
}

namespace {

// The first column of what the statement for the engine answers.
QStringList names(const QSqlDatabase &db, const QString &action, const QString &onServerSql,
                  const QString &onFileSql)
{
    QStringList names;
    for (const auto &row : Sql::select(db, action, onServer(db) ? onServerSql : onFileSql).rows)
        names << row[0].toString();
    return names;
}

} // namespace

QStringList tables(const QSqlDatabase &db)
{
    return names(db, QStringLiteral("Reading the tables of the database"),
                 QStringLiteral("SELECT c.relname FROM pg_class c JOIN pg_namespace n ON n.oid = "
                                "c.relnamespace WHERE c.relkind IN ('r', 'p', 'v', 'm', 'f') AND "
                                "n.nspname NOT IN ('pg_catalog', 'information_schema') AND "
                                "n.nspname NOT LIKE 'pg\\_%' ORDER BY c.relname"),
                 QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table', 'view') AND "
                                "name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name"));
}

QStringList indexes(const QSqlDatabase &db)
{
    return names(db, QStringLiteral("Reading the indexes of the database"),
                 QStringLiteral("SELECT lower(indexname) FROM pg_indexes WHERE schemaname NOT IN "
                                "('pg_catalog', 'information_schema')"),
                 QStringLiteral("SELECT lower(name) FROM sqlite_master WHERE type = 'index'"));
}

QHash<QString, QStringList> layout(const QSqlDatabase &db)
{
    const ResultRows rows = Sql::select(
        db, QStringLiteral("Reading the layout of the database"),
        onServer(db)
            ? QStringLiteral("SELECT table_name, column_name FROM information_schema.columns WHERE "
                             "table_schema = current_schema() ORDER BY table_name, ordinal_position")
            : QStringLiteral("SELECT m.name, p.name FROM sqlite_master m, pragma_table_info(m.name) p "
                             "WHERE m.type = 'table' ORDER BY m.name, p.cid"));
    QHash<QString, QStringList> tables;
    for (const auto &row : rows.rows)
        tables[row[0].toString().toLower()] << row[1].toString();
    return tables;
}

} // namespace Engine
