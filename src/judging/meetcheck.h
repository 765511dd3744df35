#pragma once

#include "reports/reportlayout.h"
#include "reports/shapedrows.h"

#include <QSqlDatabase>
#include <QString>

#include <vector>

// Whether the meet is ready for the show: every fault that would spoil a sheet, a card or the
// standings, each as a line saying what is wrong and on which screen to mend it.
namespace MeetCheck {

// In the order the problems are listed.
enum class Rule {
    FewJudges,        // a class with entries but fewer than two judges
    NoNumber,         // an entered rider without a rider number
    NoPartner,        // a relay entry without a partner in the meet
    NoPlacings,       // a class with entries but no placings
    ShortCard,        // a judge's card with fewer places than min(10, entries)
    PlacedNotEntered, // a placing of a rider no longer entered in the class
    NoCoach,          // a team with riders but no coach
    SameName,         // two riders of one team with the same name
    JudgeGone,        // placings of a judge no longer in the meet
};

struct Problem
{
    Rule rule;
    QString what;  // "Division A, class 3 Trail: 4 entered, 1 judge"
    QString where; // "Meet Setup, Judge's Class Assignments"
};

inline const QString Ready = QStringLiteral("Ready");
inline const QString WholeMeet = QStringLiteral("The whole meet");

// Every problem of the division's teams, classes and cards; the whole meet for "". Throws DbError.
std::vector<Problem> run(const QSqlDatabase &db, const QString &division);

// The heading the problems of a rule are listed under, and the screen they are mended on.
QString heading(Rule rule);
QString where(Rule rule);
// Ready, or how many problems there are to mend.
QString verdict(const std::vector<Problem> &problems);

// The problems grouped by rule: Heading, then What and Where for each.
ShapedRows rows(const std::vector<Problem> &problems);
// The printed check: the scope ("Division: A", or the whole meet), the verdict, the problems.
Report::Layout RptMeetCheck(const QString &division, const std::vector<Problem> &problems);

} // namespace MeetCheck
