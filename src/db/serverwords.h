#pragma once

#include "db/dberror.h"

#include <QString>

// The driver's and the server's words for a failure on a meet server, put into the program's own,
// with the server's reason after them. The one place that reads what PostgreSQL's client library
// says: a refused sign-in is never told as a server that cannot be reached.
namespace ServerWords {

// The server's reason as the user reads it after the program's words: each line of the driver's
// text without the "FATAL:" or "ERROR:" in front, nor the "connection to server ... failed:" that
// the program says in its own words, lines that say the same once, joined by "; ".
QString reason(const QString &driverText);

// Whether the driver's text says the connection itself broke (the server gone mid-statement, the
// network cut under an encrypted connection), whatever code came with it.
bool brokenConnection(const QString &driverText);

// The password file the client library reads (PGPASSFILE, else ~/.pgpass) when it exists but is
// passed over because others can read it or it is no plain file: the words for that, else empty.
QString unusablePasswordFile();

struct Told
{
    DbError::Kind kind;
    QString words; // the program's words, then the server's reason in brackets; for Lost the
                   // reason alone, which DbError puts after its own words
};

// Why a connection to the server could not be opened, for the user `user` (empty: the login
// name): a refused or missing password (SignIn), a server that turns the station away (Refused
// is told as Failed: the server answered), or a server that cannot be reached (Lost).
// passwordFileProblem is unusablePasswordFile(), given apart so that tests can name it.
Told connectFailure(const QString &driverText, const QString &user, const QString &passwordFileProblem);

// The words for a statement the server refused for want of rights while the meet was being
// built in a database the meet's user does not own.
QString notOwner(const QString &database, const QString &user, const QString &serverText);

// The login name, the user the client library signs in as when the address names none.
QString loginName();

} // namespace ServerWords
