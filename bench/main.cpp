// Benchmark: builds the large meet with the tests' fixture builder and prints one JSON line
// per figure: {"bench": "...", "n": ..., "median_ms": ...}.
#include "meetfixture.h"

#include "app/startup.h"
#include "db/dbconnection.h"
#include "db/meetschema.h"
#include "scriptedmessages.h"

#include <QDir>
#include <QElapsedTimer>
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
    return 0;
}
