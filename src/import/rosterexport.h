#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <array>

// The meet's roster out as four spreadsheet files (Teams.csv, Coaches.csv, Riders.csv,
// Judges.csv) in the columns the spreadsheet import matches, so that a roster goes out and comes
// back unchanged.
namespace RosterExport {

struct Outcome
{
    QString failure;              // the file and why it could not be written; empty when all were
    std::array<int, 4> records{}; // for each kind, teams first
    QString message(const QString &folder) const; // what the user is told when all were written
};

// The names of the four files that the folder already holds.
QStringList present(const QString &folder);

// Writes the four files. Each is written beside its place, and all four are put in place only
// once every one has been written: a failure leaves the folder as it was. Throws DbError when the
// meet cannot be read.
Outcome write(const QSqlDatabase &db, const QString &folder);

} // namespace RosterExport
