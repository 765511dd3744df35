#include "db/dbconnection.h"

#include "db/dberror.h"
#include "db/engine.h"
#include "db/meetaddress.h"
#include "db/serverwatch.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <algorithm>

namespace {
QAtomicInteger<int> g_counter;

int g_busyTimeoutMs = 5000;
} // namespace

void DbConnection::setBusyTimeout(int milliseconds)
{
    g_busyTimeoutMs = milliseconds;
}

int DbConnection::busyTimeout()
{
    return g_busyTimeoutMs;
}

DbConnection::~DbConnection()
{
    close();
}

DbConnection::DbConnection(DbConnection &&other) noexcept
    : m_name(std::exchange(other.m_name, {})), m_path(std::exchange(other.m_path, {}))
{
}

DbConnection &DbConnection::operator=(DbConnection &&other) noexcept
{
    if (this != &other) {
        close();
        m_name = std::exchange(other.m_name, {});
        m_path = std::exchange(other.m_path, {});
    }
    return *this;
}

namespace {

// A value for the client library's connection options, quoted as it reads them.
QString quoted(const QString &value)
{
    QString v = value;
    v.replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("\\'"));
    return u'\'' + v + u'\'';
}

// The client library's words when it refused a server as not the one the address names (TLS),
// from its report of every server and address it tried; empty when that was not why.
QString certificateRefusal(const QSqlError &error)
{
    static const QStringList signs{"certificate", "SSL error", "does not support SSL"};
    const QStringList lines = (error.databaseText() + u'\n' + error.driverText()).split(u'\n');
    for (const QString &line : lines)
        for (const QString &sign : signs)
            if (line.contains(sign, Qt::CaseInsensitive))
                return line.section(QStringLiteral("failed: "), -1).trimmed();
    return {};
}

void openServer(QSqlDatabase &db, const QString &address, DbConnection::Mode mode)
{
    QString why;
    const auto a = MeetAddress::parse(address, &why);
    const QString action =
        QStringLiteral("Connecting to the meet server %1").arg(MeetAddress::describe(address));
    if (!a)
        throw DbError(
            action, {},
            QStringLiteral("the address \"%1\" cannot be used: %2").arg(MeetAddress::masked(address), why));
    if (!db.isValid())
        throw DbError(
            action, {},
            QStringLiteral("Qt's PostgreSQL driver is not installed (Debian package libqt6sql6-psql)"));
    db.setHostName(a->hostList());
    db.setUserName(a->user);
    db.setDatabaseName(a->database);
    // Every wait on the server is bounded: the connection (per server tried), data the server
    // never acknowledges (tcp_user_timeout), and a silent server while the connection is idle
    // (keepalives). The station works on the server that accepts writes, whichever of the
    // address's that is now.
    const int bound = ServerWatch::bound() > 0 ? ServerWatch::bound() : 10000;
    QStringList options{
        QStringLiteral("port=") + quoted(a->portList()),
        QStringLiteral("connect_timeout=%1").arg(std::clamp(bound / 1000, 2, 5)),
        QStringLiteral("application_name=trotwise"),
        QStringLiteral("target_session_attrs=read-write"),
        QStringLiteral("keepalives=1"),
        QStringLiteral("keepalives_idle=%1").arg(std::max(1, bound / 1000)),
        QStringLiteral("keepalives_interval=%1").arg(std::max(1, bound / 3000)),
        QStringLiteral("keepalives_count=3"),
        QStringLiteral("tcp_user_timeout=%1").arg(bound),
    };
    for (const auto &[name, value] : a->options)
        options << name + u'=' + quoted(value);
    db.setConnectOptions(options.join(u';'));
    if (!db.open()) {
        const QString refusal = certificateRefusal(db.lastError());
        if (!refusal.isEmpty())
            throw DbError(action, {},
                          QStringLiteral("the server could not be verified as the meet server the "
                                         "address names, so the station did not use it (%1)")
                              .arg(refusal),
                          DbError::Kind::Failed, true);
        throw Engine::connectError(db, action);
    }
    Engine::startSession(db);
    if (mode == DbConnection::Mode::ReadOnly)
        QSqlQuery(db).exec(QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY"));
}

} // namespace

void DbConnection::open(const QString &path, Mode mode, const QString &connectionName)
{
    close();
    const QString name = connectionName.isEmpty()
                             ? QStringLiteral("trotwise-%1").arg(g_counter.fetchAndAddRelaxed(1))
                             : connectionName;
    if (MeetAddress::isServer(path)) {
        try {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
            openServer(db, path, mode);
        } catch (...) {
            QSqlDatabase::removeDatabase(name);
            throw;
        }
        m_name = name;
        m_path = path;
        return;
    }

    const QString action =
        QStringLiteral("Opening the database file \"%1\"").arg(QDir::toNativeSeparators(path));
    if (mode != Mode::Create && !QFileInfo(path).isFile())
        throw DbError(action, {}, QStringLiteral("the file does not exist"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(g_busyTimeoutMs);
        if (mode == Mode::ReadOnly)
            options += QStringLiteral(";QSQLITE_OPEN_READONLY");
        db.setConnectOptions(options);
        if (!db.open()) {
            const QString message = db.lastError().text();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            throw DbError(action, {}, message);
        }
    }
    m_name = name;
    m_path = path;
}

void DbConnection::close()
{
    if (m_name.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
    m_name.clear();
    m_path.clear();
}

QSqlDatabase DbConnection::database() const
{
    return m_name.isEmpty() ? QSqlDatabase() : QSqlDatabase::database(m_name, false);
}

bool looksLikeSqliteFile(const QString &path, QString *reason)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (reason)
            *reason = QStringLiteral("it cannot be read (%1)").arg(file.errorString());
        return false;
    }
    static const QByteArray header("SQLite format 3\0", 16);
    const QByteArray head = file.read(header.size());
    if (head != header) {
        if (reason)
            *reason = head.isEmpty() ? QStringLiteral("the file is empty")
                                     : QStringLiteral("it is not a database file");
        return false;
    }
    return true;
}
