#include "db/serverwatch.h"

#include "db/dbconnection.h"

#include <QSqlDriver>
#include <QVariant>

#include <libpq-fe.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace ServerWatch {
namespace {

using Clock = std::chrono::steady_clock;

constexpr const char *WholeMeetProperty = "trotwiseWholeMeet";

std::atomic<int> g_boundMs{10000};

PGconn *connectionOf(const QSqlDatabase &db)
{
    if (!db.isOpen())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    // Qt names the type as the client library's header declares it.
    if (!handle.isValid() ||
        (qstrcmp(handle.typeName(), "PGconn*") != 0 && qstrcmp(handle.typeName(), "pg_conn*") != 0))
        return nullptr;
    return *static_cast<PGconn *const *>(handle.constData());
}

// The statements under way on every connection, and the thread that cuts those past their
// deadline. The cut happens under the lock, so a statement that has ended (and whose socket may
// be closed and its number reused) is never cut.
class Watch
{
public:
    ~Watch()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_wake.notify_one();
        if (m_thread.joinable())
            m_thread.join();
    }

    int arm(int socket, Clock::time_point deadline)
    {
        std::lock_guard lock(m_mutex);
        if (!m_thread.joinable())
            m_thread = std::thread([this] { run(); });
        const int id = ++m_lastId;
        m_pending.emplace(id, Entry{socket, deadline, false});
        // The thread is woken only for a deadline before its next look: statements one after the
        // other cost it nothing.
        if (deadline < m_nextLook)
            m_wake.notify_one();
        return id;
    }

    // Whether it was cut.
    bool disarm(int id)
    {
        std::lock_guard lock(m_mutex);
        const auto found = m_pending.find(id);
        if (found == m_pending.end())
            return false;
        const bool cut = found->second.cut;
        m_pending.erase(found);
        return cut;
    }

    void renew(int id, Clock::time_point deadline)
    {
        std::lock_guard lock(m_mutex);
        const auto found = m_pending.find(id);
        if (found != m_pending.end() && !found->second.cut)
            found->second.deadline = deadline;
    }

    bool isCut(int id)
    {
        std::lock_guard lock(m_mutex);
        const auto found = m_pending.find(id);
        return found != m_pending.end() && found->second.cut;
    }

private:
    struct Entry
    {
        int socket;
        Clock::time_point deadline;
        bool cut;
    };

    void run()
    {
        std::unique_lock lock(m_mutex);
        while (!m_stopping) {
            auto next = Clock::time_point::max();
            const auto now = Clock::now();
            for (auto &[id, entry] : m_pending) {
                if (entry.cut)
                    continue;
                if (entry.deadline <= now) {
                    // Both ways: the waiting read ends at once, and the server, should it come
                    // back, finds the connection closed.
                    ::shutdown(entry.socket, SHUT_RDWR);
                    entry.cut = true;
                } else if (entry.deadline < next) {
                    next = entry.deadline;
                }
            }
            // With nothing under way it looks again after a while all the same, so that a
            // statement starting meanwhile needs no wake-up.
            m_nextLook = next == Clock::time_point::max() ? now + IdleLook : next;
            m_wake.wait_until(lock, m_nextLook);
        }
    }

    std::mutex m_mutex;
    static constexpr std::chrono::seconds IdleLook{1};

    std::condition_variable m_wake;
    Clock::time_point m_nextLook = Clock::time_point::min();
    std::map<int, Entry> m_pending;
    int m_lastId = 0;
    bool m_stopping = false;
    std::thread m_thread;
};

Watch &watch()
{
    static Watch w;
    return w;
}

} // namespace

void setBound(int milliseconds)
{
    g_boundMs = milliseconds;
}

int bound()
{
    return g_boundMs;
}

Statement::Statement(const QSqlDatabase &db)
{
    PGconn *conn = connectionOf(db);
    if (g_boundMs <= 0 || !conn || PQsocket(conn) < 0)
        return;
    // Records another station holds are waited for as long as the server is told to (and then told
    // as held): the bound never ends such a wait first.
    m_ms =
        std::max(g_boundMs * (db.driver()->property(WholeMeetProperty).toInt() > 0 ? WholeMeet::Bounds : 1),
                 DbConnection::busyTimeout() + 1000);
    m_id = watch().arm(PQsocket(conn), Clock::now() + std::chrono::milliseconds(m_ms));
}

Statement::~Statement()
{
    if (m_id)
        watch().disarm(m_id);
}

bool Statement::expired() const
{
    return m_id && watch().isCut(m_id);
}

void Statement::renew()
{
    if (m_id)
        watch().renew(m_id, Clock::now() + std::chrono::milliseconds(m_ms));
}

WholeMeet::WholeMeet(const QSqlDatabase &db) : m_db(db)
{
    if (QSqlDriver *d = m_db.driver())
        d->setProperty(WholeMeetProperty, d->property(WholeMeetProperty).toInt() + 1);
}

WholeMeet::~WholeMeet()
{
    if (QSqlDriver *d = m_db.driver())
        d->setProperty(WholeMeetProperty, d->property(WholeMeetProperty).toInt() - 1);
}

int backendPid(const QSqlDatabase &db)
{
    PGconn *conn = connectionOf(db);
    return conn ? PQbackendPID(conn) : 0;
}

QString serverOf(const QSqlDatabase &db)
{
    PGconn *conn = connectionOf(db);
    if (!conn)
        return {};
    return QString::fromUtf8(PQhost(conn)) + u':' + QString::fromUtf8(PQport(conn));
}

} // namespace ServerWatch
