#pragma once

#include "reports/memorytable.h"
#include "reports/reportlayout.h"

#include <QSqlDatabase>
#include <QString>

// The blank judges' cards of a division, printed before the show: two cards for every class
// (a class has two judges), three cards to a printed line, each carrying the show title, the
// class and the division, with a box for each place, the honourable mention and the judge's
// initials.
namespace JudgesCards {

inline constexpr int CardsPerLine = 3;

QString noCards(const QString &division);

// One row per line of cards, columns C1Division, C1ClassNumber, C1ClassName, C2..., C3...;
// a position with no class left holds " " in its three columns. Throws DbError.
MemoryTable Build_Cards(const QSqlDatabase &db, const QString &division);

// Landscape, bound to the card table; the division names the saved file.
Report::Layout RptJudgesCards(const QString &division);

} // namespace JudgesCards
