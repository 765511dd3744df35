#pragma once

// What every figure of the benchmark shares: timing, printing, and the large meet.
#include <QString>
#include <QTemporaryDir>

#include <array>
#include <functional>
#include <vector>

class ScriptedMessages;

namespace Bench {

// The meets every figure runs at, in riders: each twice the one before.
inline constexpr std::array<int, 3> Sizes{1000, 2000, 4000};
// Every group of figures runs this many times at the three sizes in turn; a figure's time is the
// median of its rounds'.
inline constexpr int Rounds = 3;

// A figure's time: the wall clock's, and the processor time the process spent meanwhile (which
// other work on the machine hardly changes, so its ratios between sizes are the steadier ones;
// 0 where the work runs in other processes).
struct Timing
{
    double ms = 0;
    double cpuMs = 0;
};

// The medians of runs timings of measured, each after prepare (not timed) when given. A timing
// of a few milliseconds is mostly the machine's noise, so each one repeats measured (with its
// prepare) until it holds at least 25 ms of measured work, and counts the average.
Timing medianMs(int runs, const std::function<void()> &prepare, const std::function<void()> &measured);

// The size of the meet measured from now on, in riders.
void setSize(int riders);

// A figure's timing at the size measured, in this round, printed by printFigures() as
// {"bench": name, "size": riders, "n": n, "median_ms": ms, "cpu_ms": cpu} and extra when given
// (more "key": value pairs). The figures of the server's pass are named with "_server" after the
// name.
void report(const char *name, int n, Timing time, const QString &extra = {});
// The name with the pass's suffix ("" or "_server").
QString named(const char *name);

// Another measure at the size measured, in this round, printed as {"bench": name, "size": riders,
// key: value} (the median of the rounds).
void reportValue(const char *name, const char *key, double value);

// Every figure reported, a line per figure and size (the medians of its rounds), then per figure
// measured at more than one size a line with its times by size and the ratio of each doubling,
// of the wall clock and of the processor time, each the median of the ratios within a round:
// {"bench": name, "scaling": [t1000, t2000, t4000], "ratios": [r1, r2], "cpu_ratios": [c1, c2]}.
void printFigures();

// The middle one of the times.
double median(std::vector<double> times);

// The argument that makes the benchmark a process of its own which opens every report of the
// meet in the folder after it and prints its peak resident memory in MB; answers its exit status.
inline constexpr char EveryReportOption[] = "--every-report";
int openEveryReport(const QString &folder);

// The large meet (size riders in size / 10 teams, size * 6 / 100 judges, every class of every
// division entered up to its limits, judged and placed) with its label images in largeFolder: in
// the file largeFile, and where this pass of the show-day figures works (largePath: that file, or
// a copy of it on the server). work is a scratch folder of this size for files the figures write.
struct Context
{
    const QTemporaryDir &work;
    QString largeFolder;
    QString largePath;
    QString largeFile;
    ScriptedMessages &messages;
    int size = 1000;

    // A count of the meet of 1,000 riders, in proportion to this one.
    int scaled(int atThousand) const { return atThousand * size / 1000; }

    // A copy of the large meet that a figure may change, where this pass works.
    QString copyOfLarge(const QString &name) const;
    // An empty folder of the name in work (what an earlier round left there removed).
    QString freshFolder(const QString &name) const;
};

// A group of figures; false when one of them did not produce what it should.
using Figures = bool (*)(const Context &);

// The show day's groups of figures, one file each.
bool startupFigures(const Context &context);         // start-up against a bare window, in processes
bool rosterFigures(const Context &context);          // searching, numbering, listing, importing
bool entryGridFigures(const Context &context);       // the entry grid: opening and saving
bool sheetsFigures(const Context &context);          // class sheets and slot sheets
bool judgeAssignmentFigures(const Context &context); // the judge grid and the agenda
bool placingsFigures(const Context &context);        // the placing form and the placings report
bool resultsFigures(const Context &context);         // standings, rider results, judges' cards
bool spreadsheetFigures(const Context &context);     // the roster from a spreadsheet: preview, import
bool safetyFigures(const Context &context);          // snapshots and the meet check
bool resultsOutFigures(const Context &context);      // the class sheet pack, the published results
bool journalFigures(const Context &context);         // the journal's cost on saves, History, growth
bool memoryFigures(const Context &context);          // peak memory with every report open
bool stationsFigure(const Context &context);         // three stations saving placings at once
bool failoverFigure(const Context &context);         // the standby taking over from a cut server

} // namespace Bench
