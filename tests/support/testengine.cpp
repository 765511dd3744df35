#include "testengine.h"

#include "db/cls_db_manager.h"
#include "db/dbconnection.h"
#include "db/meetaddress.h"
#include "db/sql.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace TestEngine {
namespace {

QString adminAddress()
{
    return qEnvironmentVariable("TROTWISE_TEST_SERVER");
}

QString addressOf(const QString &database)
{
    ServerAddress a = *MeetAddress::parse(adminAddress());
    a.database = database;
    return a.url();
}

QStringList &created()
{
    static QStringList names;
    return names;
}

// The meet new meets are copied from, built once.
QString &model()
{
    static QString name;
    return name;
}

// The test program's databases go with it.
void dropCreated()
{
    if (created().isEmpty())
        return;
    DbConnection admin;
    try {
        admin.open(adminAddress(), DbConnection::Mode::ReadWrite);
        for (const QString &name : created())
            Sql::exec(admin.database(), QStringLiteral("Dropping a test database"),
                      QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
    } catch (const DbError &e) {
        std::fprintf(stderr, "test databases left on the server: %s\n", e.what());
    }
    created().clear();
    model().clear();
}

void runOnAdmin(const QString &statement)
{
    DbConnection admin;
    try {
        admin.open(adminAddress(), DbConnection::Mode::ReadWrite);
    } catch (const DbError &e) {
        const bool ci = qEnvironmentVariable("CI") == QStringLiteral("true");
        std::fprintf(stderr, "%s: the PostgreSQL test server cannot be reached (%s)\n",
                     ci ? "FAIL" : "SKIPPED: the server tests were not run", e.what());
        std::exit(ci ? 1 : 77);
    }
    Sql::exec(admin.database(), QStringLiteral("Preparing a test database"), statement);
}

QString create(const QString &templateName = {}, const QString &owner = {})
{
    const QString name =
        QStringLiteral("t%1_%2").arg(QCoreApplication::applicationPid()).arg(created().size());
    static const bool dropped = [] {
        qAddPostRoutine(dropCreated);
        return true;
    }();
    Q_UNUSED(dropped)
    runOnAdmin(QStringLiteral("CREATE DATABASE %1%2%3")
                   .arg(name,
                        templateName.isEmpty()
                            ? QString()
                            : QStringLiteral(" TEMPLATE %1 STRATEGY FILE_COPY").arg(templateName),
                        owner.isEmpty() ? QString() : QStringLiteral(" OWNER ") + owner));
    created() << name;
    return name;
}

} // namespace

void dropAll()
{
    dropCreated();
}

bool onServer()
{
    return !adminAddress().isEmpty();
}

QString newDatabase(const QString &owner)
{
    return addressOf(create({}, owner));
}

QString newMeet()
{
    if (model().isEmpty()) {
        const QString name = create();
        DbConnection c;
        c.open(addressOf(name), DbConnection::Mode::ReadWrite);
        Cls_Db_Manager().Build_Server_Database(c.database());
        model() = name;
    }
    return addressOf(create(model()));
}

QString serverFolder()
{
    return qEnvironmentVariable("TROTWISE_PGSERVER_DIR");
}

std::optional<QString> serverScript(const QString &command, const QString &folder, const QStringList &more)
{
    QProcess script;
    script.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    script.start(qEnvironmentVariable("TROTWISE_PGSERVER_SCRIPT"), QStringList{command, folder} + more);
    if (!script.waitForFinished(120000) || script.exitStatus() != QProcess::NormalExit ||
        script.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(script.readAllStandardOutput()).trimmed();
}

namespace {
QString readLine(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readLine()).trimmed() : QString();
}
} // namespace

QString password(const QString &folder)
{
    return readLine(QDir(folder).filePath(QStringLiteral("password")));
}

QString authority(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("ca.crt"));
}

QString tcpAddress(const QString &database, const QString &host, const QString &query, const QString &folder)
{
    return QStringLiteral("postgresql://%1@%2:%3/%4%5")
        .arg(QLatin1StringView(PasswordUser), host, readLine(QDir(folder).filePath(QStringLiteral("port"))),
             database, query.isEmpty() ? QString() : u'?' + query);
}

ServerPair::ServerPair(QString folder) : m_folder(std::move(folder))
{
    serverScript(QStringLiteral("clean"), m_folder);
    const auto admin = serverScript(QStringLiteral("start"), m_folder);
    if (!admin)
        return;
    ServerAddress both = *MeetAddress::parse(*admin);
    both.database = QStringLiteral("meet");
    try {
        DbConnection c;
        c.open(*admin, DbConnection::Mode::ReadWrite);
        Sql::exec(c.database(), QStringLiteral("Preparing a test database"),
                  QStringLiteral("CREATE DATABASE meet"));
    } catch (const DbError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return;
    }
    const auto standby = serverScript(QStringLiteral("standby"), m_folder);
    if (!standby)
        return;
    ServerAddress alone = *MeetAddress::parse(*standby);
    alone.database = both.database;
    both.hosts += alone.hosts;
    m_both = both.url();
    m_standby = alone.url();
}

ServerPair::~ServerPair()
{
    serverScript(QStringLiteral("clean"), m_folder);
}

bool ServerPair::failOver()
{
    return serverScript(QStringLiteral("cut"), m_folder) && serverScript(QStringLiteral("promote"), m_folder);
}

FrozenServer::FrozenServer(QString folder) : m_folder(std::move(folder))
{
    m_frozen = serverScript(QStringLiteral("pause"), m_folder).has_value();
}

FrozenServer::~FrozenServer()
{
    thaw();
}

void FrozenServer::thaw()
{
    if (std::exchange(m_frozen, false))
        serverScript(QStringLiteral("resume"), m_folder);
}

} // namespace TestEngine
