#pragma once

#include <QSqlDatabase>

// Keeps a station from waiting on a meet server for ever. A server that is frozen, or a network
// that drops without a word, answers nothing and resets nothing: the client library would wait
// on its socket for as long as that lasts. While a statement runs on a server, a watch thread
// holds its deadline; once it passes, the connection's socket is shut, the wait ends with the
// connection broken, and the statement's watch tells that the bound ran out.
namespace ServerWatch {

// How long one statement may wait for the server's answer (10 s; tests shorten it), and never less
// than a second beyond the wait for records another station holds (DbConnection::busyTimeout).
// 0: no bound.
void setBound(int milliseconds);
int bound();

// The bound over one statement (or one read of its rows) on a server connection; nothing on a
// meet file, or while the connection's work is unbounded.
class Statement
{
public:
    explicit Statement(const QSqlDatabase &db);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    // Whether the bound ran out (and the connection was cut).
    bool expired() const;
    // The server answered something (rows of a long read): the bound starts again.
    void renew();

private:
    int m_id = 0;
    int m_ms = 0;
};

// Whole-meet work on a connection (a copy, a restore), whose statements may each take longer than
// the bound on a large meet: while this lives, a statement there waits up to a minute (six
// bounds) for the server. Still bounded: a server that went silent is not waited for for ever.
class WholeMeet
{
public:
    static constexpr int Bounds = 6;
    explicit WholeMeet(const QSqlDatabase &db);
    ~WholeMeet();
    WholeMeet(const WholeMeet &) = delete;
    WholeMeet &operator=(const WholeMeet &) = delete;

private:
    QSqlDatabase m_db;
};

// The server process serving the connection, and the server it is on ("host:port"), from the
// client library; 0 and empty for anything but an open server connection.
int backendPid(const QSqlDatabase &db);
QString serverOf(const QSqlDatabase &db);

} // namespace ServerWatch
