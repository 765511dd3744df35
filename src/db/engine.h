#pragma once

#include "db/dberror.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

class QSqlError;

// What differs between the meet file (SQLite) and a meet on a PostgreSQL server, in one place:
// how a session starts, how a write waits and retries, how a failure is recognised (a file held by
// another program, another station's save in the way, a broken connection), and the few
// statements that cannot be written the same way for both. Everything above db/ writes the same
// bound, plain SQL for both.
namespace Engine {

bool onServer(const QSqlDatabase &db);

// On the meet file, a stamp that differs after anything at all was written to it, by this
// connection or another (the engine's data version); to be read inside a transaction, where it is
// the stamp of what the transaction reads. Nothing on a server.
std::optional<quint32> changeStamp(const QSqlDatabase &db);

// A mark that differs once anything was written to the meet since it was taken: by this
// connection, another program on the meet file, or another station. On the file the engine's data
// version with this connection's own changes; on a server the rows written to the meet's tables as
// the server counts them, which may come in up to ten seconds after another station's save but
// never leave one out. Taken before a read transaction, it never passes for a state the read missed: a
// save it does not show yet is one the read already sees, or one that changes the mark later.
QString changeMark(const QSqlDatabase &db);
// On a server, the rows written to the meet's tables by every station, as the server counts them.
std::int64_t rowsWritten(const QSqlDatabase &db);

// Readies a connection the moment it opens (the server's waiting time for held records).
void startSession(const QSqlDatabase &db);

// The statement that starts a write transaction: on the file one that takes the write lock up
// front (waiting for another program), on the server a serializable one.
QString beginWrite(const QSqlDatabase &db);
// The statement that makes a write transaction wait for the others writing those tables before it
// reads anything (empty when there is no need: the file's write lock holds them all already).
QString takeTurnsOn(const QSqlDatabase &db, const QStringList &tables);
// The statement that starts a read of several statements that must see one state of the meet
// while other programs or stations may write it.
QString beginRead(const QSqlDatabase &db);

// What kind of failure the engine reported. A broken server connection is remembered, so that
// the next action outside a transaction connects again.
DbError::Kind classify(const QSqlDatabase &db, const QSqlError &error);
// The engine's words without its codes and prefixes.
QString message(const QSqlError &error);
// The words for a failed statement: the engine's, or the program's with the engine's after them
// where the program knows better (the meet built in a database that is not the meet user's own).
QString message(const QSqlDatabase &db, const QSqlError &error, const QString &statement);
// A server connection that could not be opened, in the program's words: a refused or missing
// password or an unknown user told as such (SignIn), never as a server that cannot be reached.
DbError connectError(const QSqlDatabase &db, const QString &action);

// Transactions open on the connection, kept so that a broken connection is never replaced in the
// middle of one (the statements after would run outside it).
void enterTransaction(const QSqlDatabase &db);
void leaveTransaction(const QSqlDatabase &db);
bool inTransaction(const QSqlDatabase &db);

// Whether the connection broke and has not been opened again.
bool isLost(const QSqlDatabase &db);
// Opens a broken server connection again. Throws DbError (Lost) when the server is still away.
void reconnect(const QSqlDatabase &db, const QString &action);

// The failure of a statement the server did not answer within the bound (ServerWatch): its
// connection is cut, and remembered as broken so that the next action connects again.
DbError unanswered(const QSqlDatabase &db, const QString &action, const QString &statement);

// Commits the write transaction open on the connection. On a server, a COMMIT that went out and
// got no answer (the server went silent or away) is neither told as failed nor taken as done: the
// station connects again, ends the old session should it linger, and asks the server whether the
// transaction committed. Returns when it did; throws DbError (Unanswered) saying it did not, or
// that it cannot be told while the server is away; the connection is out of the transaction
// then (nothing is left to roll back). Any other failure is thrown as it is.
void commit(const QSqlDatabase &db, const QString &action);

// An ORDER BY term for tables without a key: the order in which the rows were added.
QString insertionOrder(const QSqlDatabase &db);

// The last key an AutoNumber column gave (0 when none yet): the next row gets a higher one, even
// when the rows that held the last ones are gone. setLastKey() makes a copy go on from there.
qint64 lastKey(const QSqlDatabase &db, const QString &table, const QString &column);
void setLastKey(const QSqlDatabase &db, const QString &table, const QString &column, qint64 key);

// Every table the database holds (on the server: in every schema but the system's), by name.
QStringList tables(const QSqlDatabase &db);
// Every index the database holds on its own tables (on the server: outside the system's schemas),
// by name, in lower case.
QStringList indexes(const QSqlDatabase &db);
// The columns of every table in their order, by the table's name in lower case: read at once, as
// the meet is checked on every start.
QHash<QString, QStringList> layout(const QSqlDatabase &db);

} // namespace Engine
