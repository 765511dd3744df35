// Benchmark: builds the large meet with the tests' fixture builder and prints one JSON line
// per figure: {"bench": "...", "n": ..., "median_ms": ...}.
#include "benchkit.h"
#include "meetfixture.h"
#include "testengine.h"

#include "app/startup.h"
#include "db/dbconnection.h"
#include "db/meetcopy.h"
#include "db/meetschema.h"
#include "reports/korvconnection.h"
#include "reports/paginator.h"
#include "reports/reportpdf.h"
#include "samplereport.h"
#include "scriptedmessages.h"

#include "common/randomsource.h"
#include "import/regionalimport.h"
#include "registration/numberassigner.h"
#include "registration/riderregistry.h"
#include "registration/rosterreports.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace Bench {

double medianMs(int runs, const std::function<void()> &prepare, const std::function<void()> &measured)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare();
        QElapsedTimer timer;
        timer.start();
        measured();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

namespace {
QString g_suffix; // "_server" while the show-day figures run on the server
} // namespace

QString named(const char *name)
{
    return QString::fromLatin1(name) + g_suffix;
}

void report(const char *name, int n, double ms)
{
    std::printf("{\"bench\": \"%s\", \"n\": %d, \"median_ms\": %.2f}\n", qPrintable(named(name)), n, ms);
    std::fflush(stdout);
}

QString Context::copyOfLarge(const QString &name) const
{
    if (TestEngine::onServer()) {
        const QString address = TestEngine::newDatabase();
        DbConnection from;
        from.open(largeFile, DbConnection::Mode::ReadOnly);
        MeetCopy::toServer(from.database(), address);
        return address;
    }
    const QString folder = work.filePath(name);
    QDir().mkpath(folder);
    const QString path = QDir(folder).filePath(QStringLiteral("KORVState2006.mdb"));
    QFile::copy(largeFile, path);
    return path;
}

// Runs the show-day figures once more on a throwaway server of its own (scripts/pgserver.sh), the
// large meet copied there. Without a server that starts, says so and runs nothing.
bool serverPass(const Context &onFile, const std::vector<Figures> &showDay)
{
    QTemporaryDir folder(QDir::temp().filePath(QStringLiteral("trotwise-bench-XXXXXX")));
    const QString script = QString::fromUtf8(TROTWISE_PGSERVER_SCRIPT);
    QProcess start;
    start.start(script, {QStringLiteral("start"), folder.path()});
    if (!start.waitForFinished(120000) || start.exitCode() != 0) {
        std::fprintf(stderr,
                     "no PostgreSQL server could be started (%s): the _server figures are left out\n%s",
                     qPrintable(script), start.readAllStandardError().constData());
        return true;
    }
    qputenv("TROTWISE_TEST_SERVER", start.readAllStandardOutput().trimmed());
    g_suffix = QStringLiteral("_server");
    bool ok = true;
    {
        Context onServer = onFile;
        onServer.largePath = onFile.copyOfLarge(QStringLiteral("large"));
        for (const Figures figures : showDay)
            ok = ok && figures(onServer);
        ok = ok && stationsFigure(onServer);
    }
    TestEngine::dropAll();
    QProcess::execute(script, {QStringLiteral("clean"), folder.path()});
    qunsetenv("TROTWISE_TEST_SERVER");
    g_suffix.clear();
    return ok;
}

} // namespace Bench

namespace {

using Bench::medianMs;
using Bench::report;

bool ready(Startup::Outcome o)
{
    return o == Startup::Outcome::Ready;
}

// Searching, numbering and listing the riders of the large meet.
bool rosterFigures(const QTemporaryDir &work, const QString &largePath)
{
    constexpr int Runs = 7;
    DbConnection connection;
    connection.open(largePath, DbConnection::Mode::ReadWrite);
    const QSqlDatabase db = connection.database();

    int found = 0;
    report("rider_search", 1000, medianMs(Runs, {}, [&] {
               found =
                   RiderRegistry(db).search(RiderRegistry::SearchBy::LastName, QStringLiteral("ar")).size();
           }));

    const NumberAssigner assigner(db);
    const int riders = assigner.riderCount();
    // Three characters a box: -99 to 999 holds a number for each of the 1,000 riders.
    report("assign_random", riders, medianMs(Runs, {}, [&] {
               assigner.applyNumbers(
                   NumberAssigner::randomRange(-99, 999, riders, RandomSource::generator()));
           }));
    report("assign_sequential", riders, medianMs(Runs, {}, [&] {
               assigner.applyNumbers(NumberAssigner::sequentialRange(-99, 999, riders));
           }));

    int teams = 0;
    report("number_tree", riders, medianMs(Runs, {}, [&] { teams = assigner.tree().size(); }));

    const QString pdf = work.filePath(QStringLiteral("bynumber.pdf"));
    bool written = true;
    report("rider_list_by_number", riders, medianMs(Runs, {}, [&] {
               const MemoryTable table = RosterReports::riderListByNumber(db);
               const Report::Document doc =
                   Report::paginate(RosterReports::RptRiderListbyNumber(), table.shaped());
               written = written && !Report::writePdf(doc, pdf).has_value();
           }));
    return found > 0 && teams == 100 && written;
}

// A regional file of 40 teams, 120 coaches and 600 riders: read into its tree and imported into
// an empty meet, together.
bool importFigure(const QTemporaryDir &work)
{
    const QString folder = work.filePath(QStringLiteral("region"));
    QDir().mkpath(folder);
    const QString built = MeetFixture::createMeet(folder);
    {
        DbConnection c;
        c.open(built, DbConnection::Mode::ReadWrite);
        MeetBuilder(c.database()).buildLargeMeet({40, 15, 3, 0, false});
    }
    const QString regional = QDir(folder).filePath(QStringLiteral("Region4-2006.mdb"));
    QFile::rename(built, regional);

    const QString meetFolder = work.filePath(QStringLiteral("import-meet"));
    QDir().mkpath(meetFolder);
    const QString emptyMeet = MeetFixture::createMeet(meetFolder);
    const QString target = QDir(meetFolder).filePath(QStringLiteral("target.mdb"));
    int imported = 0;
    const double ms = medianMs(
        7,
        [&] {
            QFile::remove(target);
            QFile::copy(emptyMeet, target);
        },
        [&] {
            DbConnection meet;
            meet.open(target, DbConnection::Mode::ReadWrite);
            RegionalImport import;
            if (import.load(regional))
                return;
            imported = import.importInto(meet.database()).riders;
        });
    report("import_region", imported, ms);
    return imported == 600;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");
    QApplication app(argc, argv);
    QTemporaryDir work;
    ScriptedMessages messages;
    constexpr int Runs = 7;

    // A new meet: tables, classes and the 36 label images, in an empty folder each run.
    {
        int built = 0;
        std::unique_ptr<QTemporaryDir> folder;
        const double ms = medianMs(
            Runs,
            [&] { folder = std::make_unique<QTemporaryDir>(work.filePath(QStringLiteral("new-XXXXXX"))); },
            [&] {
                AppState state;
                state.messages = &messages;
                built += ready(Startup::run(state, {12000, 9000}, folder->path()));
            });
        if (built != Runs)
            return 1;
        report("startup_new_meet", 1, ms);
    }

    // The large meet, opened and checked as start-up does with an existing file.
    const QString largeFolder = work.filePath(QStringLiteral("large"));
    QDir().mkpath(largeFolder);
    const QString largePath = MeetFixture::createMeet(largeFolder, true);
    {
        DbConnection connection;
        connection.open(largePath, DbConnection::Mode::ReadWrite);
        MeetBuilder(connection.database()).buildLargeMeet();
    }
    {
        int opened = 0;
        const double ms = medianMs(Runs, {}, [&] {
            AppState state;
            state.messages = &messages;
            opened += ready(Startup::run(state, {12000, 9000}, largeFolder));
        });
        if (opened != Runs)
            return 1;
        report("startup_existing_meet", 1000, ms);
    }

    // A grouped report of the large meet: 1,000 riders in 100 teams, read through the report data
    // source, laid out with page footers and written to PDF.
    {
        KORVConnection korv;
        korv.setDataSource(largePath);
        korv.setCommand(SampleReport::riderQuery());
        const QString pdf = work.filePath(QStringLiteral("riders.pdf"));
        int pages = 0;
        int rows = 0;
        const double ms = medianMs(Runs, {}, [&] {
            korv.open(QStringLiteral("RiderListbyTeam"));
            const ShapedRows &teams = korv.rows(QStringLiteral("RiderListbyTeam"));
            const Report::Document doc = Report::paginate(SampleReport::riderList(), teams);
            if (!Report::writePdf(doc, pdf).has_value())
                pages = int(doc.pages.size());
            rows = 0;
            for (const ShapedRows &team : teams.children)
                rows += team.size();
            korv.close(QStringLiteral("RiderListbyTeam"));
        });
        if (pages == 0 || rows != 1000)
            return 1;
        report("report_1000_rows", rows, ms);
        std::fprintf(stderr, "report_1000_rows: %d pages, %.1f KB of PDF a page\n", pages,
                     double(QFileInfo(pdf).size()) / 1024.0 / pages);
    }

    if (!rosterFigures(work, largePath) || !importFigure(work))
        return 1;

    // The show day's figures, each group in its own file: on the meet file, then on a server.
    const Bench::Context context{work, largeFolder, largePath, largePath, messages};
    const std::vector<Bench::Figures> showDay = {
        // one line per group of figures, declared in benchkit.h
        Bench::entryGridFigures, Bench::sheetsFigures,     Bench::judgeAssignmentFigures,
        Bench::placingsFigures,  Bench::resultsFigures,    Bench::spreadsheetFigures,
        Bench::safetyFigures,    Bench::resultsOutFigures,
    };
    for (const Bench::Figures figures : showDay)
        if (!figures(context))
            return 1;
    if (!Bench::stationsFigure(context))
        return 1;
    return Bench::serverPass(context, showDay) ? 0 : 1;
}
