#pragma once

#include "common/folderswap.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>

#include <vector>

// The meet's results as a folder of static web pages, posted while the meet goes on: index.html
// lists the divisions and how far each has gone, and each division has its team standings
// (standings-A.html, with places, ties marked "="), rider results (riders-A.html, a link to each
// team) and class placings (placings-A.html, a link to each class, both judges' cards with their
// points), linked to each other. Plain tables that read on a phone and print with their time on
// every page; no scripts, nothing fetched from elsewhere, every text escaped; each page refreshes
// itself every minute. The numbers come from the computations the printed reports use, all read
// in one read of the meet, so the pages agree with each other.
namespace ResultsPages {

// The file that marks a folder as one this program publishes into.
inline const QString Marker = QStringLiteral(".trotwise-results");

// Every page, read from the meet as it is now. Throws DbError.
std::vector<FolderSwap::File> build(const QSqlDatabase &db, const QDateTime &asOf);

// Builds the pages and writes them, with the extra files (the poster), as the folder, whole.
// Answers the one line that says what was written. Throws DbError, or std::runtime_error saying
// why the folder could not be written (nothing under its name has changed then).
QString publish(const QSqlDatabase &db, const QString &folder,
                const std::vector<FolderSwap::File> &extra = {});

} // namespace ResultsPages
