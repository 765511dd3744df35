#include "app/publishcommand.h"

#include "app/datafolder.h"
#include "app/startup.h"
#include "db/dbconnection.h"
#include "db/meetaddress.h"
#include "db/meetschema.h"
#include "judging/resultspages.h"
#include "judging/resultsposter.h"
#include "judging/resultspublisher.h"
#include "reports/reportpdf.h"
#include "shell/boundary.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QThread>
#include <QTime>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>

#include <sys/stat.h>

namespace PublishCommand {
namespace {

const QString Publishing = QStringLiteral("Publishing the results");

// The meet the command reads, opened and checked; the meet file opened again once another file
// has taken its place (a new meet put there, a restored copy).
class Meet
{
public:
    Meet(const QString &appFolder, const QString &serverAddress)
        : m_onServer(!serverAddress.isEmpty()),
          m_location(m_onServer ? serverAddress : Startup::meetPath(appFolder))
    {
    }

    // Opens the meet unless the one open is still the one to read; *opened tells whether it did.
    // Answers why the meet cannot be read, or nothing.
    std::optional<QString> ready(bool *opened)
    {
        *opened = false;
        struct stat file = {};
        if (!m_onServer) {
            if (::stat(QFile::encodeName(m_location).constData(), &file) != 0 || !S_ISREG(file.st_mode)) {
                m_connection.close();
                return refused(QStringLiteral("is not there"));
            }
            if (m_connection.isOpen() && file.st_dev == m_file.st_dev && file.st_ino == m_file.st_ino)
                return std::nullopt;
            m_connection.close();
            QString reason;
            if (!looksLikeSqliteFile(m_location, &reason))
                return refused(QStringLiteral("cannot be used: ") + reason);
        } else if (m_connection.isOpen()) {
            return std::nullopt; // a broken connection is opened again by its next statement
        }
        try {
            m_connection.open(m_location, DbConnection::Mode::ReadOnly, QStringLiteral("Publish"));
            if (const auto mismatch = MeetSchema::mismatch(m_connection.database())) {
                m_connection.close();
                return refused(QStringLiteral("cannot be used: ") + *mismatch);
            }
        } catch (...) {
            m_connection.close();
            return Boundary::describe(Publishing, std::current_exception()).simplified();
        }
        m_file = file;
        *opened = true;
        return std::nullopt;
    }

    QSqlDatabase db() const { return m_connection.database(); }

private:
    QString refused(const QString &why) const
    {
        return (m_onServer ? QStringLiteral("The meet %1 %2; nothing was published.")
                           : QStringLiteral("The meet file \"%1\" %2; nothing was published."))
            .arg(MeetAddress::describe(m_location), why);
    }

    bool m_onServer;
    QString m_location;
    DbConnection m_connection;
    struct stat m_file = {};
};

// The poster, when the request asks for one, as a file of the folder.
std::optional<std::vector<FolderSwap::File>> extraFiles(const Request &request)
{
    if (request.url.isEmpty())
        return std::vector<FolderSwap::File>{};
    const QByteArray poster = Report::pdf(ResultsPoster::document(request.url));
    if (poster.isEmpty())
        return std::nullopt;
    return std::vector<FolderSwap::File>{{ResultsPoster::FileName, poster}};
}

const QString NoPoster = QStringLiteral("The poster could not be made; nothing was published.");

std::optional<QString> value(int argc, char *argv[], int i)
{
    if (i + 1 >= argc || std::strncmp(argv[i + 1], "--", 2) == 0)
        return std::nullopt;
    return QString::fromLocal8Bit(argv[i + 1]);
}

std::atomic<bool> stopRequested = false;

extern "C" void requestStop(int)
{
    stopRequested = true;
}

} // namespace

std::optional<Request> requested(int argc, char *argv[])
{
    std::optional<Request> request;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--publish") == 0)
            request = Request{value(argc, argv, i).value_or(QString()), 0, {}, {}};
    if (!request)
        return std::nullopt;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--every") == 0) {
            bool ok = false;
            const double seconds = value(argc, argv, i).value_or(QString()).toDouble(&ok);
            if (ok && seconds > 0 && seconds <= 24 * 3600)
                request->every = seconds;
            else
                request->problem = QStringLiteral(
                    "--every needs the seconds between looks at the meet, such as --every 60.");
        } else if (std::strcmp(argv[i], "--url") == 0) {
            const QString url = value(argc, argv, i).value_or(QString());
            if (const auto why = ResultsPoster::addressProblem(url))
                request->problem = QStringLiteral("--url: ") + *why;
            else
                request->url = url.trimmed();
        }
    }
    return request;
}

Outcome run(const QString &appFolder, const Request &request, const QString &serverAddress)
{
    if (request.folder.isEmpty())
        return {2, QStringLiteral("--publish needs the folder to write the results to.")};
    if (!request.problem.isEmpty())
        return {2, request.problem};
    Meet meet(appFolder, serverAddress);
    bool opened = false;
    if (const auto why = meet.ready(&opened))
        return {1, *why};
    const auto extra = extraFiles(request);
    if (!extra)
        return {1, NoPoster};
    try {
        return {0, ResultsPages::publish(meet.db(), request.folder, *extra)};
    } catch (...) {
        return {1, Boundary::describe(Publishing, std::current_exception()).simplified()};
    }
}

int keepPublishing(const QString &appFolder, const Request &request, const QString &serverAddress,
                   const std::atomic<bool> &stop, const std::function<void(const QString &, bool)> &print)
{
    if (request.folder.isEmpty() || !request.problem.isEmpty()) {
        print(run(appFolder, request, serverAddress).line, true);
        return 2;
    }
    const auto extra = extraFiles(request);
    if (!extra) {
        print(NoPoster, true);
        return 1;
    }
    Meet meet(appFolder, serverAddress);
    ResultsPublisher publisher(request.folder, *extra);
    QString told; // the failure printed last, until a publish goes through
    while (!stop) {
        const QDeadlineTimer next(qint64(request.every * 1000));
        bool opened = false;
        QString failure;
        if (const auto why = meet.ready(&opened)) {
            failure = *why;
        } else {
            if (opened)
                publisher.forget();
            const ResultsPublisher::Outcome outcome = publisher.publishIfChanged(meet.db());
            if (outcome.kind == ResultsPublisher::Outcome::Kind::Published) {
                print(outcome.line, false);
                told.clear();
            } else if (outcome.kind == ResultsPublisher::Outcome::Kind::Failed) {
                failure = outcome.line;
            }
        }
        if (!failure.isEmpty() && failure != told) {
            print(failure + QStringLiteral(" Trying again every %1 s.").arg(request.every), true);
            told = failure;
        }
        while (!stop && !next.hasExpired())
            QThread::msleep(std::min<qint64>(100, std::max<qint64>(1, next.remainingTime())));
    }
    return 0;
}

int exec(int argc, char *argv[], const Request &request)
{
    // The poster is drawn with the fonts it is printed in; no window is ever shown, so no screen
    // is needed.
    std::unique_ptr<QCoreApplication> application;
    if (!request.url.isEmpty()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    const QString appFolder = DataFolder::choose(QCoreApplication::applicationDirPath());
    QString badAddress;
    const QString server = Startup::settings(appFolder, QCoreApplication::arguments(), &badAddress).meet;
    const auto print = [](const QString &line, bool failed) {
        std::FILE *to = failed ? stderr : stdout;
        std::fprintf(to, "%s\n", qPrintable(line));
        std::fflush(to);
    };
    if (appFolder.isEmpty()) {
        print(DataFolder::make(appFolder), true);
        return 1;
    }
    if (!badAddress.isEmpty()) {
        print(badAddress, true);
        return 1;
    }
    if (request.every > 0) {
        std::signal(SIGINT, requestStop);
        std::signal(SIGTERM, requestStop);
        return keepPublishing(
            appFolder, request, server, stopRequested, [&](const QString &line, bool failed) {
                print(QTime::currentTime().toString(QStringLiteral("HH:mm:ss ")) + line, failed);
            });
    }
    const Outcome outcome = run(appFolder, request, server);
    print(outcome.line, outcome.status != 0);
    return outcome.status;
}

} // namespace PublishCommand
