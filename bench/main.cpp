// Benchmark: builds the large meet with the tests' fixture builder and prints one JSON line
// per figure: {"bench": "...", "n": ..., "median_ms": ...}.
#include "meetfixture.h"

#include "app/startup.h"
#include "db/dbconnection.h"
#include "db/meetschema.h"
#include "reports/korvconnection.h"
#include "reports/paginator.h"
#include "reports/reportpdf.h"
#include "samplereport.h"
#include "scriptedmessages.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

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

void report(const char *name, int n, double ms)
{
    std::printf("{\"bench\": \"%s\", \"n\": %d, \"median_ms\": %.2f}\n", name, n, ms);
    std::fflush(stdout);
}

bool ready(Startup::Outcome o) { return o == Startup::Outcome::Ready; }

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir work;
    ScriptedMessages messages;
    constexpr int Runs = 7;

    // A new meet: tables, classes and the 36 label images, in an empty folder each run.
    {
        int built = 0;
        std::unique_ptr<QTemporaryDir> folder;
        const double ms = medianMs(
            Runs, [&] { folder = std::make_unique<QTemporaryDir>(work.filePath(QStringLiteral("new-XXXXXX"))); },
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
    return 0;
}
