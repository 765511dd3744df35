#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Where a test's meets live. The tests that run on both engines are registered twice: once plain
// (each meet a file in a temporary folder) and once with TROTWISE_TEST_SERVER naming the
// administrative database of the throwaway test server (scripts/pgserver.sh), where each meet is
// a database of its own, dropped when the test program ends.
namespace TestEngine {

bool onServer();

// The address of a new, empty database on the test server, owned by the given role (the
// administrator when none is given). When the server cannot be reached the
// program ends: failed under CI=true, skipped (exit code 77) elsewhere, saying so.
QString newDatabase(const QString &owner = {});

// The address of a new database holding a new meet (tables and classes), as a station's first
// start on an empty database builds it.
QString newMeet();

// Drops the databases made so far (they would go when the program ends).
void dropAll();

// The throwaway server itself (scripts/pgserver.sh): its folder, and a cluster of a test's own in
// a folder below it (removed with the server's whatever happens to the test).
QString serverFolder();
// Runs the script's command on a cluster's folder: what it printed, or nothing when it failed
// (its error output is passed on).
std::optional<QString> serverScript(const QString &command, const QString &folder = serverFolder(),
                                    const QStringList &more = {});
// The role that signs in with a password over TCP, its password, and the certificate of the
// authority that signed the server's ("localhost").
inline constexpr const char *PasswordUser = "trotwise";
QString password(const QString &folder = serverFolder());
QString authority(const QString &folder = serverFolder());
// The address of a database through the cluster's loopback port, as the password role; the
// query (e.g. "sslmode=verify-full&sslrootcert=...") is appended when given.
QString tcpAddress(const QString &database, const QString &host = QStringLiteral("localhost"),
                   const QString &query = {}, const QString &folder = serverFolder());

// A server of its own with a synchronous streaming standby, in a folder (removed when this goes),
// holding an empty database "meet": its address naming both servers (the server first), as a
// station's address names them, and naming the standby alone.
class ServerPair
{
public:
    explicit ServerPair(QString folder);
    ~ServerPair();
    ServerPair(const ServerPair &) = delete;
    ServerPair &operator=(const ServerPair &) = delete;

    // Whether both servers run.
    bool ready() const { return !m_standby.isEmpty(); }
    const QString &both() const { return m_both; }
    const QString &standby() const { return m_standby; }
    // The server cut as a power cut would, and the standby promoted to take its place.
    bool failOver();

private:
    QString m_folder;
    QString m_both;
    QString m_standby;
};

// The server frozen (SIGSTOP) while this lives, as a network that drops silently looks to a
// station. It goes on when this goes, however the test ends; should the test program die, the
// script lets it go by itself after a while.
class FrozenServer
{
public:
    explicit FrozenServer(QString folder = serverFolder());
    ~FrozenServer();
    FrozenServer(const FrozenServer &) = delete;
    FrozenServer &operator=(const FrozenServer &) = delete;
    bool frozen() const { return m_frozen; }
    void thaw();

private:
    QString m_folder;
    bool m_frozen = false;
};

} // namespace TestEngine
