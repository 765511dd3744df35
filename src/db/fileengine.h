#pragma once

#include <QSqlDatabase>

struct sqlite3;

// The meet file's engine under Qt's SQLite driver (the same system library the program links).
namespace FileEngine {

// The engine's own handle of an open connection to a meet file; null for any other connection.
sqlite3 *handle(const QSqlDatabase &db);

} // namespace FileEngine
