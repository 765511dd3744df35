// Benchmark: builds the large meet at each size with the tests' fixture builder, runs every figure
// at each size in rounds, and prints one JSON line per figure and size, {"bench": "...", "size":
// ..., "n": ..., "median_ms": ...}, then one line per figure with its times by size and the ratio
// of each doubling.
#include "benchkit.h"
#include "meetfixture.h"
#include "scriptedmessages.h"
#include "testengine.h"

#include "db/dbconnection.h"
#include "db/meetcopy.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Bench {
namespace {

int g_size = 0;
QString g_suffix; // "_server" while the show-day figures run on the server

// What one figure gave at one size, in every round: timings, or another measure's values.
struct Row
{
    std::string name;
    int size = 0;
    int n = 0;
    std::vector<Timing> times;
    QString extra;
    std::string key; // a measure's name; empty for a timing
    std::vector<double> values;
};
// In the order first reported.
std::vector<Row> g_rows;

Row &row(const std::string &name)
{
    const auto found = std::find_if(g_rows.begin(), g_rows.end(),
                                    [&](const Row &r) { return r.name == name && r.size == g_size; });
    if (found != g_rows.end())
        return *found;
    g_rows.push_back(Row{name, g_size, 0, {}, {}, {}, {}});
    return g_rows.back();
}

double processCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}
} // namespace

Timing medianMs(int runs, const std::function<void()> &prepare, const std::function<void()> &measured)
{
    constexpr double MinSampleMs = 25.0;
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int i = 0; i < runs; ++i) {
        double total = 0;
        double cpuTotal = 0;
        int repeats = 0;
        do {
            if (prepare)
                prepare();
            const double cpuStart = processCpuMs();
            QElapsedTimer timer;
            timer.start();
            measured();
            total += double(timer.nsecsElapsed()) / 1e6;
            cpuTotal += processCpuMs() - cpuStart;
            ++repeats;
        } while (total < MinSampleMs);
        wall.push_back(total / repeats);
        cpu.push_back(cpuTotal / repeats);
    }
    return {median(std::move(wall)), median(std::move(cpu))};
}

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void setSize(int riders)
{
    g_size = riders;
}

QString named(const char *name)
{
    return QString::fromLatin1(name) + g_suffix;
}

void report(const char *name, int n, Timing time, const QString &extra)
{
    Row &r = row(named(name).toStdString());
    r.n = n;
    r.times.push_back(time);
    r.extra = extra;
}

void reportValue(const char *name, const char *key, double value)
{
    Row &r = row(named(name).toStdString());
    r.key = key;
    r.values.push_back(value);
}

void printFigures()
{
    const auto joined = [](const std::vector<double> &values) {
        std::string out;
        for (const double v : values) {
            char text[32];
            std::snprintf(text, sizeof text, "%s%.2f", out.empty() ? "" : ", ", v);
            out += text;
        }
        return out;
    };
    // One of the timings' measures, in the order of the rounds.
    const auto each = [](const Row &r, double Timing::*measure) {
        std::vector<double> v;
        for (const Timing &t : r.times)
            v.push_back(t.*measure);
        return v;
    };
    const auto wall = [&](const Row &r) { return each(r, &Timing::ms); };
    const auto cpu = [&](const Row &r) { return each(r, &Timing::cpuMs); };
    for (const Row &r : g_rows) {
        if (!r.key.empty())
            std::printf("{\"bench\": \"%s\", \"size\": %d, \"%s\": %.2f}\n", r.name.c_str(), r.size,
                        r.key.c_str(), median(r.values));
        else
            std::printf(
                "{\"bench\": \"%s\", \"size\": %d, \"n\": %d, \"median_ms\": %.2f, \"cpu_ms\": %.2f%s%s}\n",
                r.name.c_str(), r.size, r.n, median(wall(r)), median(cpu(r)), r.extra.isEmpty() ? "" : ", ",
                qPrintable(r.extra));
    }
    // Per figure, its sizes in order; a doubling's ratio is the median of the ratios within each
    // round, whose sizes ran one after the other.
    std::vector<std::string> names;
    for (const Row &r : g_rows)
        if (r.key.empty() && std::find(names.begin(), names.end(), r.name) == names.end())
            names.push_back(r.name);
    for (const std::string &name : names) {
        std::vector<const Row *> sizes;
        for (const Row &r : g_rows)
            if (r.name == name)
                sizes.push_back(&r);
        std::sort(sizes.begin(), sizes.end(), [](const Row *a, const Row *b) { return a->size < b->size; });
        if (sizes.size() < 2)
            continue;
        const auto ratio = [](const std::vector<double> &before, const std::vector<double> &after) {
            std::vector<double> each;
            for (std::size_t i = 0; i < std::min(before.size(), after.size()); ++i)
                if (before[i] > 0)
                    each.push_back(after[i] / before[i]);
            return each.empty() ? 0.0 : median(each);
        };
        std::vector<double> times;
        std::vector<double> ratios;
        std::vector<double> cpuRatios;
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            times.push_back(median(wall(*sizes[i])));
            if (i > 0) {
                ratios.push_back(ratio(wall(*sizes[i - 1]), wall(*sizes[i])));
                cpuRatios.push_back(ratio(cpu(*sizes[i - 1]), cpu(*sizes[i])));
            }
        }
        std::printf("{\"bench\": \"%s\", \"scaling\": [%s], \"ratios\": [%s]", name.c_str(),
                    joined(times).c_str(), joined(ratios).c_str());
        if (std::all_of(cpuRatios.begin(), cpuRatios.end(), [](double r) { return r > 0; }))
            std::printf(", \"cpu_ratios\": [%s]", joined(cpuRatios).c_str());
        std::printf("}\n");
    }
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
    const QString path = QDir(freshFolder(name)).filePath(QStringLiteral("KORVState2006.mdb"));
    QFile::copy(largeFile, path);
    return path;
}

QString Context::freshFolder(const QString &name) const
{
    const QString folder = work.filePath(name);
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    return folder;
}

namespace {

// Each group of figures at each size in turn, so that whatever else the machine does while a
// group runs weighs on its sizes alike; in rounds, so that a doubling is judged by sizes measured
// one after the other.
bool runGroups(const std::vector<Figures> &groups, const std::vector<Context> &contexts, int rounds = Rounds)
{
    for (const Figures group : groups)
        for (int round = 0; round < rounds; ++round)
            for (const Context &context : contexts) {
                setSize(context.size);
                if (!group(context)) {
                    std::fprintf(stderr,
                                 "A figure%s of the meet of %d riders did not produce what it should.\n",
                                 qPrintable(g_suffix), context.size);
                    return false;
                }
            }
    return true;
}

} // namespace

// Runs the show-day figures once more on a throwaway server of its own (scripts/pgserver.sh), each
// large meet copied there. Without a server that starts, says so and runs nothing.
bool serverPass(const std::vector<Context> &onFile, const std::vector<Figures> &showDay)
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
        std::vector<Context> onServer;
        for (const Context &context : onFile) {
            onServer.push_back(context);
            onServer.back().largePath = context.copyOfLarge(QStringLiteral("large"));
        }
        ok = runGroups(showDay, onServer);
    }
    TestEngine::dropAll();
    QProcess::execute(script, {QStringLiteral("clean"), folder.path()});
    qunsetenv("TROTWISE_TEST_SERVER");
    g_suffix.clear();
    return ok;
}

} // namespace Bench

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");
    QApplication app(argc, argv);
    // In a process of its own, the peak memory figure opens every report of the meet in FOLDER.
    if (app.arguments().value(1) == QLatin1StringView(Bench::EveryReportOption))
        return Bench::openEveryReport(app.arguments().value(2));

    QTemporaryDir work;
    ScriptedMessages messages;
    // One line per group of figures, declared in benchkit.h: those of the meet file only (start-up,
    // snapshots and the meet check among them), and the show day's, which run on the meet file and
    // then on a server. Groups named on the command line
    // (e.g. "spreadsheet safety") run alone, on the meet file only unless "server" is named too.
    const QStringList chosen = app.arguments().mid(1);
    const auto pick = [&chosen](std::vector<std::pair<const char *, Bench::Figures>> named) {
        std::vector<Bench::Figures> out;
        for (const auto &[name, figures] : named)
            if (chosen.isEmpty() || chosen.contains(QLatin1StringView(name)))
                out.push_back(figures);
        return out;
    };
    const std::vector<Bench::Figures> fileOnly = pick({{"startup", Bench::startupFigures},
                                                       {"roster", Bench::rosterFigures},
                                                       {"safety", Bench::safetyFigures}});
    const std::vector<Bench::Figures> showDay = pick({
        {"entrygrid", Bench::entryGridFigures},
        {"sheets", Bench::sheetsFigures},
        {"judgeassignment", Bench::judgeAssignmentFigures},
        {"placings", Bench::placingsFigures},
        {"results", Bench::resultsFigures},
        {"spreadsheet", Bench::spreadsheetFigures},
        {"resultsout", Bench::resultsOutFigures},
        {"journal", Bench::journalFigures},
        {"stations", Bench::stationsFigure},
        {"failover", Bench::failoverFigure},
    });
    const std::vector<Bench::Figures> last = pick({{"memory", Bench::memoryFigures}});
    const bool onServer = chosen.isEmpty() || chosen.contains(QLatin1StringView("server"));
    // The three meets first, then the figures.
    std::vector<std::unique_ptr<QTemporaryDir>> sizeWork;
    std::vector<Bench::Context> contexts;
    for (const int size : Bench::Sizes) {
        sizeWork.push_back(
            std::make_unique<QTemporaryDir>(work.filePath(QStringLiteral("size-%1-XXXXXX").arg(size))));
        const QString largeFolder = sizeWork.back()->filePath(QStringLiteral("large"));
        QDir().mkpath(largeFolder);
        const QString largePath = MeetFixture::createMeet(largeFolder, true);
        DbConnection connection;
        connection.open(largePath, DbConnection::Mode::ReadWrite);
        MeetBuilder(connection.database()).buildLargeMeet(MeetBuilder::LargeMeet::ofRiders(size));
        contexts.push_back({*sizeWork.back(), largeFolder, largePath, largePath, messages, size});
    }
    // The memory figure last, when the other figures have had their say on the machine.
    if (!Bench::runGroups(fileOnly, contexts) || !Bench::runGroups(showDay, contexts) ||
        !Bench::runGroups(last, contexts, 1) || (onServer && !Bench::serverPass(contexts, showDay)))
        return 1;
    Bench::printFigures();
    return 0;
}
