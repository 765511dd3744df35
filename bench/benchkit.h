#pragma once

// What every figure of the benchmark shares: timing, printing, and the large meet.
#include <QString>
#include <QTemporaryDir>

#include <functional>

class ScriptedMessages;

namespace Bench {

// The median of runs timings of measured, each after prepare (not timed) when given.
double medianMs(int runs, const std::function<void()> &prepare, const std::function<void()> &measured);

// One JSON line: {"bench": name, "n": n, "median_ms": ms}. The figures of the server's pass
// are named with "_server" after the name.
void report(const char *name, int n, double ms);
// The name with the pass's suffix ("" or "_server").
QString named(const char *name);

// The large meet (1,000 riders, 100 teams, 60 judges, every class entered and placed) with its
// label images in largeFolder: in the file largeFile, and where this pass of the show-day
// figures works (largePath: that file, or a copy of it on the server). work is a scratch folder
// for files the figures write.
struct Context
{
    const QTemporaryDir &work;
    QString largeFolder;
    QString largePath;
    QString largeFile;
    ScriptedMessages &messages;

    // A copy of the large meet that a figure may change, where this pass works.
    QString copyOfLarge(const QString &name) const;
};

// A group of figures; false when one of them did not produce what it should.
using Figures = bool (*)(const Context &);

// The show day's groups of figures, one file each.
bool entryGridFigures(const Context &context);       // the entry grid: opening and saving
bool sheetsFigures(const Context &context);          // class sheets and slot sheets
bool judgeAssignmentFigures(const Context &context); // the judge grid and the agenda
bool placingsFigures(const Context &context);        // the placing form and the placings report
bool resultsFigures(const Context &context);         // standings, rider results, judges' cards
bool spreadsheetFigures(const Context &context);     // the roster from a spreadsheet: preview, import
bool safetyFigures(const Context &context);          // snapshots and the meet check
bool resultsOutFigures(const Context &context);      // the class sheet pack, the published results
bool stationsFigure(const Context &context);         // three stations saving placings at once

} // namespace Bench
