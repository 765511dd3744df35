// Benchmark: builds the large meet at each size with the tests' fixture builder and prints one
// JSON line per figure and size, {"bench": "...", "size": ..., "n": ..., "median_ms": ...}, then
// one line per figure with its times by size and the ratio of each doubling.
#include "benchkit.h"
#include "meetfixture.h"
#include "scriptedmessages.h"

#include "db/dbconnection.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Bench {
namespace {

int g_size = 0;
// Per figure, in the order first reported: its time at each size.
std::vector<std::pair<std::string, std::map<int, Timing>>> g_times;

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

void report(const char *name, int n, Timing time)
{
    std::printf("{\"bench\": \"%s\", \"size\": %d, \"n\": %d, \"median_ms\": %.2f, \"cpu_ms\": %.2f}\n", name,
                g_size, n, time.ms, time.cpuMs);
    std::fflush(stdout);
    auto figure =
        std::find_if(g_times.begin(), g_times.end(), [&](const auto &f) { return f.first == name; });
    if (figure == g_times.end())
        figure = g_times.insert(g_times.end(), {name, {}});
    figure->second[g_size] = time;
}

void reportValue(const char *name, const char *key, double value)
{
    std::printf("{\"bench\": \"%s\", \"size\": %d, \"%s\": %.2f}\n", name, g_size, key, value);
    std::fflush(stdout);
}

void reportScaling()
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
    for (const auto &[name, bySize] : g_times) {
        std::vector<double> times;
        std::vector<double> ratios;
        std::vector<double> cpuRatios;
        double previousCpu = 0;
        for (const auto &[size, time] : bySize) {
            if (!times.empty()) {
                ratios.push_back(time.ms / times.back());
                if (previousCpu > 0)
                    cpuRatios.push_back(time.cpuMs / previousCpu);
            }
            times.push_back(time.ms);
            previousCpu = time.cpuMs;
        }
        if (ratios.empty())
            continue;
        std::printf("{\"bench\": \"%s\", \"scaling\": [%s], \"ratios\": [%s]", name.c_str(),
                    joined(times).c_str(), joined(ratios).c_str());
        if (!cpuRatios.empty())
            std::printf(", \"cpu_ratios\": [%s]", joined(cpuRatios).c_str());
        std::printf("}\n");
    }
    std::fflush(stdout);
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
    const std::vector<Bench::Figures> figures = {
        // one line per group of figures, declared in benchkit.h
        Bench::startupFigures,    Bench::rosterFigures,          Bench::entryGridFigures,
        Bench::sheetsFigures,     Bench::judgeAssignmentFigures, Bench::placingsFigures,
        Bench::resultsFigures,    Bench::spreadsheetFigures,     Bench::safetyFigures,
        Bench::resultsOutFigures, Bench::memoryFigures,
    };
    // The three meets first; then each group of figures at each size in turn, so that whatever
    // else the machine does while a group runs weighs on its sizes alike.
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
        contexts.push_back({*sizeWork.back(), largeFolder, largePath, messages, size});
    }
    for (const Bench::Figures group : figures)
        for (const Bench::Context &context : contexts) {
            Bench::setSize(context.size);
            if (!group(context)) {
                std::fprintf(stderr, "A figure of the meet of %d riders did not produce what it should.\n",
                             context.size);
                return 1;
            }
        }
    Bench::reportScaling();
    return 0;
}
