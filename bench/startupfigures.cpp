// Start-up, each run in a process of its own and timed from the process started to the first
// paint of its window: a plain Qt window (the floor: Qt's own start-up is most of any start), the
// same with one line of text (the floor of a window with words: Qt's font system started), the
// program's main menu on the large meet, and the program building a new meet in an empty folder.
#include "benchkit.h"

#include "app/startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>

namespace Bench {
namespace {

// Milliseconds from starting the program to the line it prints once painted; 0 when it printed
// none.
double firstPaintMs(const char *program, const QStringList &arguments)
{
    QProcess process;
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(program)),
                  arguments);
    const bool said = process.waitForReadyRead(60000);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    process.waitForFinished(60000);
    return said && process.readAllStandardOutput().startsWith("painted") ? ms : 0;
}

} // namespace

bool startupFigures(const Context &context)
{
    constexpr int Runs = 31; // a busy machine swings single starts by a third
    std::vector<double> bare;
    std::vector<double> text;
    std::vector<double> existing;
    std::vector<double> fresh;
    int built = 0;
    // In turns, so that whatever else the machine does falls on the three alike.
    for (int i = 0; i < Runs; ++i) {
        bare.push_back(firstPaintMs("trotwise-bare-window", {}));
        text.push_back(firstPaintMs("trotwise-bare-window", {QStringLiteral("text")}));
        existing.push_back(firstPaintMs("trotwise-startup-probe", {context.largeFolder}));
        const QString folder = context.freshFolder(QStringLiteral("new-meet-%1").arg(i));
        fresh.push_back(firstPaintMs("trotwise-startup-probe", {folder}));
        built += QFileInfo::exists(Startup::meetPath(folder));
    }
    const double floor = median(bare);
    const double textFloor = median(text);
    report("bare_window", 1, {floor});
    report("bare_window_text", 1, {textFloor});
    report("startup_existing_meet", context.size, {median(existing)});
    report("startup_new_meet", 1, {median(fresh)});
    reportValue("startup_existing_over_bare", "ratio", median(existing) / floor);
    reportValue("startup_new_over_bare", "ratio", median(fresh) / floor);
    reportValue("startup_existing_over_text", "ratio", median(existing) / textFloor);
    reportValue("startup_new_over_text", "ratio", median(fresh) / textFloor);
    const auto allPainted = [](const std::vector<double> &times) {
        return std::find(times.begin(), times.end(), 0.0) == times.end();
    };
    return allPainted(bare) && allPainted(text) && allPainted(existing) && allPainted(fresh) && built == Runs;
}

} // namespace Bench
