#pragma once

#include "entries/runningorder.h"
#include "reports/reportpage.h"

#include <QSqlDatabase>
#include <QString>

#include <map>

// The print packs of a division: the reports the show office prints in one go, as one document
// for one preview, one PDF and one print job. Each report of a pack starts on a new page, and
// the pages are numbered through the pack. A pack brings together the reports of the entries and
// of the judging, so it is put together here, above both.
namespace PrintPack {

inline const QString NoEntries = QStringLiteral("There are currently no riders entered in this division.");

// The class sheets of every class with entries, class by class, each class dealt into its
// number of splits (1 where none is given) and each split put in order; a sheet per split.
// Without pages when no class has entries. Throws DbError.
Report::Document classSheets(const QSqlDatabase &db, const QString &division,
                             const std::map<int, int> &splits, RunningOrder::Order order);

// The placings report of every class of the division that has placings, by class number; no
// pages when none has. Throws DbError.
Report::Document placings(const QSqlDatabase &db, const QString &division);

// The division's judges' cards, then the slot sheets of its teams with riders, under the label
// images of the folder. Throws DbError.
Report::Document cardsAndSlotSheets(const QSqlDatabase &db, const QString &division,
                                    const QString &appFolder);

} // namespace PrintPack
