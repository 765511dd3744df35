#pragma once

#include "common/folderswap.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>

#include <vector>

// The meet's results as a folder of static web pages, posted while the meet goes on: index.html
// lists the divisions, and each division has its team standings (standings-A.html), rider
// results (riders-A.html) and class placings (placings-A.html). Plain tables with headings,
// readable on a phone and printable; no scripts, nothing fetched from elsewhere, every text
// escaped. The numbers come from the computations the printed reports use.
namespace ResultsPages {

// The file that marks a folder as one this program publishes into.
inline const QString Marker = QStringLiteral(".trotwise-results");

// Every page, read from the meet as it is now. Throws DbError.
std::vector<FolderSwap::File> build(const QSqlDatabase &db, const QDateTime &asOf);

// Builds the pages and writes them as the folder, whole. Answers the one line that says what
// was written. Throws DbError, or std::runtime_error saying why the folder could not be written
// (nothing under its name has changed then).
QString publish(const QSqlDatabase &db, const QString &folder);

} // namespace ResultsPages
