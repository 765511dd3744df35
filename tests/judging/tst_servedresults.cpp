// The results folder as a web server serves it while it is published again and again: Debian's
// nginx on a loopback port, its document root a link to the folder, fetched without a pause
// through 200 publishes of a changing meet. Every answer is a whole page of one publish; none is
// missing.
#include "meetfile.h"

#include "db/writetransaction.h"
#include "judging/resultspages.h"

#include <QMutex>
#include <QProcess>
#include <QStandardPaths>

#include <atomic>
#include <map>
#include <set>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A port of the loopback address nothing listens on just now.
int freePort()
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof a;
    const bool ok = ::bind(s, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0 &&
                    ::getsockname(s, reinterpret_cast<sockaddr *>(&a), &size) == 0;
    ::close(s);
    return ok ? ntohs(a.sin_port) : 0;
}

// One HTTP/1.1 connection kept open for request after request.
class Client
{
public:
    explicit Client(int port) : m_port(port) {}
    ~Client() { drop(); }

    // The status and body of the page, or status 0 when the connection failed.
    std::pair<int, QByteArray> get(const QString &page)
    {
        if (m_socket < 0 && !connectNow())
            return {0, {}};
        const QByteArray request = "GET /" + page.toUtf8() + " HTTP/1.1\r\nHost: localhost\r\n\r\n";
        if (::send(m_socket, request.constData(), size_t(request.size()), MSG_NOSIGNAL) != request.size())
            return drop(), std::pair<int, QByteArray>{0, {}};
        qsizetype headEnd;
        while ((headEnd = m_buffer.indexOf("\r\n\r\n")) < 0)
            if (!receive())
                return {0, {}};
        const QByteArray head = m_buffer.left(headEnd);
        const int status = head.mid(9, 3).toInt();
        qsizetype length = 0;
        for (const QByteArray &line : head.split('\n'))
            if (line.toLower().startsWith("content-length:"))
                length = line.mid(15).trimmed().toLongLong();
        while (m_buffer.size() < headEnd + 4 + length)
            if (!receive())
                return {0, {}};
        const QByteArray body = m_buffer.mid(headEnd + 4, length);
        m_buffer.remove(0, headEnd + 4 + length);
        if (head.toLower().contains("connection: close"))
            drop();
        return {status, body};
    }

private:
    bool connectNow()
    {
        m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(quint16(m_port));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(m_socket, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0)
            return true;
        drop();
        return false;
    }
    bool receive()
    {
        char chunk[65536];
        const ssize_t n = ::recv(m_socket, chunk, sizeof chunk, 0);
        if (n <= 0)
            return drop(), false;
        m_buffer.append(chunk, n);
        return true;
    }
    void drop()
    {
        if (m_socket >= 0)
            ::close(m_socket);
        m_socket = -1;
        m_buffer.clear();
    }

    int m_port;
    int m_socket = -1;
    QByteArray m_buffer;
};

// Debian's nginx serving a folder on a loopback port: its configuration, pid, logs and
// temporary files in a folder of its own; one process, as root or as a plain user.
class WebServer
{
public:
    WebServer(const QString &root, const QString &home) : m_home(home)
    {
        const QString nginx = QStandardPaths::findExecutable("nginx", {"/usr/sbin", "/usr/bin"});
        for (int attempt = 0; attempt < 3 && m_port == 0; ++attempt) {
            const int port = freePort();
            MeetQuery::writeFile(
                home + "/nginx.conf",
                QStringLiteral(
                    "daemon off; master_process off; worker_processes 1;\n"
                    "pid %1/nginx.pid; error_log %1/error.log;\n"
                    "events { worker_connections 64; }\n"
                    "http { access_log off; types { text/html html; application/pdf pdf; }\n"
                    "  client_body_temp_path %1/body; proxy_temp_path %1/proxy;\n"
                    "  fastcgi_temp_path %1/fastcgi; uwsgi_temp_path %1/uwsgi; scgi_temp_path %1/scgi;\n"
                    "  server { listen 127.0.0.1:%2; root %3; } }\n")
                    .arg(home)
                    .arg(port)
                    .arg(root)
                    .toUtf8());
            m_process.start(nginx, {"-p", home, "-c", home + "/nginx.conf", "-e", home + "/error.log"});
            for (int wait = 0; wait < 100 && m_process.state() != QProcess::NotRunning; ++wait) {
                if (Client(port).get("index.html").first != 0) {
                    m_port = port;
                    break;
                }
                QThread::msleep(50);
            }
            if (m_port == 0)
                stop();
        }
    }
    ~WebServer() { stop(); }

    int port() const { return m_port; }
    QString log() const
    {
        QFile f(m_home + "/error.log");
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

private:
    void stop()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill(), m_process.waitForFinished(5000);
    }

    QString m_home;
    QProcess m_process;
    int m_port = 0;
};

} // namespace

class TstServedResults : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void publishWhileServed_everyAnswerAWholePage()
    {
        const MeetFile meet;
        auto b = meet.build();
        const auto team = b.addTeam("Team 0", "A");
        b.addTeam("Other", "B");
        const auto rider = b.addRider(team, "Ann", "Lee", "1");
        const auto judge = b.addJudge("Al", "Judge");
        Sql::exec(meet.db(), "test",
                  "PRAGMA synchronous = OFF"); // the meet's saves are not what is tried here

        // The web server's root is a link to the results folder, as a document root often is.
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("store/results") && QDir(dir.path()).mkpath("www") &&
                QDir(dir.path()).mkpath("nginx"));
        const QString root = dir.filePath("www/results");
        QVERIFY(QFile::link(dir.filePath("store/results"), root));
        std::map<QString, std::set<QByteArray>> versions; // every page of every publish so far
        QMutex versionsLock;
        const auto publish = [&] {
            const auto pages = ResultsPages::build(meet.db(), QDateTime::currentDateTime());
            {
                const QMutexLocker locked(&versionsLock);
                for (const FolderSwap::File &page : pages)
                    versions[page.name].insert(page.bytes);
            }
            return FolderSwap::replace(root, pages, ResultsPages::Marker);
        };
        QCOMPARE(publish(), std::nullopt);
        const QStringList names = QDir(root).entryList(QDir::Files);

        const WebServer server(dir.filePath("www/results"), dir.filePath("nginx"));
        QVERIFY2(server.port() != 0, qPrintable(server.log()));

        std::atomic<bool> done = false;
        std::atomic<int> fetched = 0;
        QString failure;
        std::thread poller([&] {
            Client client(server.port());
            for (int n = 0; !done && failure.isEmpty(); ++n) {
                const QString page = names[n % names.size()];
                const auto [status, body] = client.get(page);
                const QMutexLocker locked(&versionsLock);
                if (status != 200 || !versions[page].count(body))
                    failure = QStringLiteral("%1: status %2, %3 bytes, not a page published")
                                  .arg(page)
                                  .arg(status)
                                  .arg(body.size());
                ++fetched;
                QThread::usleep(
                    300); // a few thousand a second, leaving the publishing its share of the cores
            }
        });
        int published = 0;
        for (int n = 1; n <= 200; ++n) {
            WriteTransaction::run(meet.db(), "saving", [&] {
                Sql::exec(meet.db(), "rename", "UPDATE TblTeam SET TeamName = ? WHERE TeamCode = ?",
                          {QStringLiteral("Team %1").arg(n), team});
                b.addPlacing(1 + n % 17, 1, rider, "A", judge);
            });
            published += !publish().has_value();
        }
        done = true;
        poller.join();
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QCOMPARE(published, 200);
        QVERIFY2(fetched >= 200, qPrintable(QString::number(fetched)));
        QVERIFY(QFileInfo(root).isSymLink());
        QCOMPARE(
            QDir(dir.filePath("store")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{"results"});
    }
};

QTEST_GUILESS_MAIN(TstServedResults)
#include "tst_servedresults.moc"
