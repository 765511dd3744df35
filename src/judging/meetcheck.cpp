#include "judging/meetcheck.h"

#include "db/classcatalogue.h"
#include "db/classtable.h"
#include "db/sql.h"
#include "db/writetransaction.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

namespace MeetCheck {
namespace {

const QString Action = QStringLiteral("Checking the meet");

struct RuleText
{
    const char *heading; // what the problems of the rule are listed under
    const char *where;   // the screen they are mended on
};
// By Rule.
constexpr RuleText Rules[] = {
    {"Classes with entries but fewer than two judges", "Meet Setup > Judge's Class Assignments"},
    {"Entered riders without a number", "Utilities > Assign Rider #s"},
    {"Relay entries without a partner", "Entry Booth > Rider Entries"},
    {"Classes with entries but no placings", "Entry Booth > Placings"},
    {"Judges' cards short of places", "Entry Booth > Placings"},
    {"Placings of riders no longer entered", "Entry Booth > Placings"},
    {"Teams with riders but no coach", "Administration > Coaches"},
    {"Riders of one team with the same name", "Administration > Riders"},
    {"Placings of judges no longer in the meet", "Entry Booth > Placings"},
};

// The rows of the division's teams (every team for "" or no text): the statement's first two
// values are the division, as in "(? = '' OR TblTeam.Division = ?)".
ResultRows scoped(const QSqlDatabase &db, const QString &division, const QString &statement,
                  QVariantList more = {})
{
    more.prepend(Sql::text(division));
    more.prepend(Sql::text(division));
    return Sql::select(db, Action, statement, more);
}

QString rider(const QVector<QVariant> &row, int first)
{
    return (row[first].toString() + u' ' + row[first + 1].toString()).trimmed();
}

// Where the division's classes are, entered, judged and placed.
struct ClassKey
{
    QString division;
    int number;
    bool operator<(const ClassKey &other) const
    {
        return std::tie(division, number) < std::tie(other.division, other.number);
    }
};

class Checker
{
public:
    Checker(const QSqlDatabase &db, const QString &division) : m_db(db), m_division(division)
    {
        for (const StoredClass &cls : ClassTable::read(db))
            m_classNames[cls.number] = cls.name;
    }

    std::vector<Problem> run()
    {
        classes();
        riders();
        placedNotEntered();
        placedByJudgesGone();
        teams();
        std::stable_sort(m_found.begin(), m_found.end(),
                         [](const Problem &a, const Problem &b) { return a.rule < b.rule; });
        return std::move(m_found);
    }

private:
    void add(Rule rule, const QString &what) { m_found.push_back({rule, what, where(rule)}); }
    QString inClass(const QString &division, int number) const
    {
        return QStringLiteral("Division %1, class %2 %3")
            .arg(division)
            .arg(number)
            .arg(m_classNames.value(number));
    }
    ResultRows select(const QString &statement, const QVariantList &more = {}) const
    {
        return scoped(m_db, m_division, statement, more);
    }

    // Judges and placings of every class with entries.
    void classes()
    {
        std::map<ClassKey, int> entered;
        for (const auto &row :
             select(QStringLiteral("SELECT TblTeam.Division, TblEntry.ClassNumber, "
                                   "count(DISTINCT TblEntry.RiderIndex) FROM TblEntry "
                                   "INNER JOIN TblPerson ON TblPerson.RiderIndex = TblEntry.RiderIndex "
                                   "INNER JOIN TblTeam ON TblTeam.TeamCode = TblPerson.TeamCode "
                                   "WHERE (? = '' OR TblTeam.Division = ?) "
                                   "GROUP BY TblTeam.Division, TblEntry.ClassNumber"))
                 .rows)
            entered[{row[0].toString().toUpper(), row[1].toInt()}] = row[2].toInt();

        std::map<ClassKey, std::set<qint64>> judges;
        for (const auto &row :
             select(QStringLiteral("SELECT Division, ClassNumber, JudgeID FROM TblClassJudges "
                                   "WHERE (? = '' OR Division = ?)"))
                 .rows)
            judges[{row[0].toString().toUpper(), row[1].toInt()}].insert(row[2].toLongLong());

        // A judge's places of riders entered in the class (a place of one who left does not fill the
        // card); a class whose cards hold only such places still has placings.
        std::map<ClassKey, std::map<qint64, int>> places;
        for (const auto &row :
             select(
                 QStringLiteral("SELECT TblPlacing.Division, TblPlacing.ClassNumber, TblPlacing.JudgeID, "
                                "sum(CASE WHEN EXISTS (SELECT 1 FROM TblEntry "
                                "INNER JOIN TblPerson ON TblPerson.RiderIndex = TblEntry.RiderIndex "
                                "INNER JOIN TblTeam ON TblTeam.TeamCode = TblPerson.TeamCode "
                                "WHERE TblEntry.RiderIndex = TblPlacing.RiderIndex "
                                "AND TblEntry.ClassNumber = TblPlacing.ClassNumber "
                                "AND TblTeam.Division = TblPlacing.Division) THEN 1 ELSE 0 END) "
                                "FROM TblPlacing WHERE (? = '' OR TblPlacing.Division = ?) "
                                "GROUP BY TblPlacing.Division, TblPlacing.ClassNumber, TblPlacing.JudgeID"))
                 .rows)
            places[{row[0].toString().toUpper(), row[1].toInt()}][row[2].toLongLong()] = row[3].toInt();

        std::map<qint64, QString> judgeNames;
        for (const auto &row :
             Sql::select(m_db, Action, QStringLiteral("SELECT JudgeID, FirstName, LastName FROM TblJudge"))
                 .rows)
            judgeNames[row[0].toLongLong()] = rider(row, 1);

        for (const auto &[key, entries] : entered) {
            const QString cls = inClass(key.division, key.number);
            const std::set<qint64> &assigned = judges[key];
            if (assigned.size() < 2)
                add(Rule::FewJudges,
                    QStringLiteral("%1: %2 entered, %3")
                        .arg(cls)
                        .arg(entries)
                        .arg(assigned.empty() ? QStringLiteral("no judge") : QStringLiteral("one judge")));
            std::map<qint64, int> &cards = places[key];
            if (cards.empty()) {
                add(Rule::NoPlacings, QStringLiteral("%1: %2 entered, no placings").arg(cls).arg(entries));
                continue;
            }
            // Every judge of the class owes a full card, and so does one who placed without being assigned.
            for (qint64 judge : assigned)
                cards.try_emplace(judge, 0);
            const int owed = std::min(10, entries);
            for (const auto &[judge, given] : cards)
                if (given < owed)
                    add(Rule::ShortCard, QStringLiteral("%1: the card of %2 has %3 of %4 places")
                                             .arg(cls, judgeNames.count(judge)
                                                           ? judgeNames[judge]
                                                           : QStringLiteral("a judge no longer in the meet"))
                                             .arg(given)
                                             .arg(owed));
        }
    }

    void riders()
    {
        for (const auto &row :
             select(QStringLiteral("SELECT TblTeam.Division, TblTeam.TeamName, TblPerson.FirstName, "
                                   "TblPerson.LastName, count(DISTINCT TblEntry.ClassNumber) FROM TblPerson "
                                   "INNER JOIN TblTeam ON TblTeam.TeamCode = TblPerson.TeamCode "
                                   "INNER JOIN TblEntry ON TblEntry.RiderIndex = TblPerson.RiderIndex "
                                   "WHERE (? = '' OR TblTeam.Division = ?) "
                                   "AND (TblPerson.RiderNumber IS NULL OR TblPerson.RiderNumber = '') "
                                   "GROUP BY TblPerson.RiderIndex, TblTeam.TeamCode "
                                   "ORDER BY TblTeam.Division, TblTeam.TeamName, TblPerson.LastName, "
                                   "TblPerson.FirstName"))
                 .rows)
            add(Rule::NoNumber,
                QStringLiteral("Division %1, %2: %3 is entered in %4 without a rider number")
                    .arg(row[0].toString(), row[1].toString(), rider(row, 2),
                         row[4].toInt() == 1 ? QStringLiteral("one class")
                                             : QStringLiteral("%1 classes").arg(row[4].toInt())));

        // A partner who has left the meet is no partner.
        for (const auto &row :
             select(QStringLiteral("SELECT TblTeam.Division, TblTeam.TeamName, TblPerson.FirstName, "
                                   "TblPerson.LastName FROM TblEntry "
                                   "INNER JOIN TblPerson ON TblPerson.RiderIndex = TblEntry.RiderIndex "
                                   "INNER JOIN TblTeam ON TblTeam.TeamCode = TblPerson.TeamCode "
                                   "WHERE (? = '' OR TblTeam.Division = ?) AND TblEntry.ClassNumber = ? "
                                   "AND NOT EXISTS (SELECT 1 FROM TblPairing INNER JOIN TblPerson AS Partner "
                                   "ON Partner.RiderIndex = TblPairing.PartnerIndex "
                                   "WHERE TblPairing.RiderIndex = TblEntry.RiderIndex) "
                                   "GROUP BY TblPerson.RiderIndex, TblTeam.TeamCode "
                                   "ORDER BY TblTeam.Division, TblTeam.TeamName, TblPerson.LastName, "
                                   "TblPerson.FirstName"),
                    {ClassCatalogue::RelayClass})
                 .rows)
            add(Rule::NoPartner, QStringLiteral("Division %1, %2: the relay entry of %3 has no partner")
                                     .arg(row[0].toString(), row[1].toString(), rider(row, 2)));
    }

    // Placed in a class of the division without an entry in it there (or gone from the meet).
    void placedNotEntered()
    {
        for (const auto &row :
             select(QStringLiteral(
                        "SELECT TblPlacing.Division, TblPlacing.ClassNumber, TblPerson.FirstName, "
                        "TblPerson.LastName, TblTeam.TeamName, TblPerson.RiderIndex IS NOT NULL "
                        "FROM TblPlacing "
                        "LEFT JOIN TblPerson ON TblPerson.RiderIndex = TblPlacing.RiderIndex "
                        "LEFT JOIN TblTeam ON TblTeam.TeamCode = TblPerson.TeamCode "
                        "WHERE (? = '' OR TblPlacing.Division = ?) AND NOT EXISTS (SELECT 1 FROM "
                        "TblEntry WHERE TblEntry.RiderIndex = TblPlacing.RiderIndex "
                        "AND TblEntry.ClassNumber = TblPlacing.ClassNumber "
                        "AND TblTeam.Division = TblPlacing.Division) "
                        "GROUP BY TblPlacing.Division, TblPlacing.ClassNumber, TblPlacing.RiderIndex, "
                        "TblPerson.RiderIndex, TblTeam.TeamCode "
                        "ORDER BY TblPlacing.Division, TblPlacing.ClassNumber, TblPerson.LastName, "
                        "TblPerson.FirstName"))
                 .rows)
            add(Rule::PlacedNotEntered,
                QStringLiteral("%1: %2 is placed but not entered")
                    .arg(inClass(row[0].toString(), row[1].toInt()),
                         row[5].toBool() ? QStringLiteral("%1 (%2)").arg(rider(row, 2), row[4].toString())
                                         : QStringLiteral("a rider no longer in the meet")));
    }

    // A card whose judge was deleted: the standings count it, the rider results and the placings
    // reports, which name the judge, leave it out. Keying the class's placings again replaces it.
    void placedByJudgesGone()
    {
        for (const auto &row :
             select(QStringLiteral("SELECT Division, ClassNumber, count(*) FROM TblPlacing "
                                   "WHERE (? = '' OR Division = ?) AND NOT EXISTS (SELECT 1 FROM "
                                   "TblJudge WHERE TblJudge.JudgeID = TblPlacing.JudgeID) "
                                   "GROUP BY Division, ClassNumber, JudgeID ORDER BY Division, ClassNumber"))
                 .rows)
            add(Rule::JudgeGone,
                QStringLiteral("%1: a card of %2 by a judge no longer in the meet")
                    .arg(inClass(row[0].toString(), row[1].toInt()),
                         row[2].toInt() == 1 ? QStringLiteral("1 place")
                                             : QStringLiteral("%1 places").arg(row[2].toInt())));
    }

    void teams()
    {
        for (const auto &row :
             select(QStringLiteral(
                        "SELECT Division, TeamName FROM TblTeam WHERE (? = '' OR Division = ?) "
                        "AND EXISTS (SELECT 1 FROM TblPerson WHERE TblPerson.TeamCode = TblTeam.TeamCode) "
                        "AND NOT EXISTS (SELECT 1 FROM TblCoach WHERE TblCoach.TeamCode = "
                        "TblTeam.TeamCode) ORDER BY Division, TeamName"))
                 .rows)
            add(Rule::NoCoach, QStringLiteral("Division %1, %2: riders but no coach")
                                   .arg(row[0].toString(), row[1].toString()));

        for (const auto &row :
             select(QStringLiteral(
                        "SELECT TblTeam.Division, TblTeam.TeamName, TblPerson.FirstName, "
                        "TblPerson.LastName, Alike.Riders FROM (SELECT min(RiderIndex) AS First, "
                        "count(*) AS Riders FROM TblPerson GROUP BY TeamCode, lower(trim(FirstName)), "
                        "lower(trim(LastName)) HAVING count(*) > 1) AS Alike "
                        "INNER JOIN TblPerson ON TblPerson.RiderIndex = Alike.First "
                        "INNER JOIN TblTeam ON TblTeam.TeamCode = TblPerson.TeamCode "
                        "WHERE (? = '' OR TblTeam.Division = ?) "
                        "ORDER BY TblTeam.Division, TblTeam.TeamName, TblPerson.LastName, "
                        "TblPerson.FirstName"))
                 .rows)
            add(Rule::SameName, QStringLiteral("Division %1, %2: %3 riders named %4")
                                    .arg(row[0].toString(), row[1].toString())
                                    .arg(row[4].toInt())
                                    .arg(rider(row, 2)));
    }

    QSqlDatabase m_db;
    QString m_division;
    QMap<int, QString> m_classNames;
    std::vector<Problem> m_found;
};

} // namespace

std::vector<Problem> run(const QSqlDatabase &db, const QString &division)
{
    const ReadTransaction oneState(db, Action);
    return Checker(db, division).run();
}

QString heading(Rule rule)
{
    return QString::fromLatin1(Rules[int(rule)].heading);
}

QString where(Rule rule)
{
    return QString::fromLatin1(Rules[int(rule)].where);
}

QString verdict(const std::vector<Problem> &problems)
{
    if (problems.empty())
        return Ready;
    return problems.size() == 1 ? QStringLiteral("One problem to mend")
                                : QStringLiteral("%1 problems to mend").arg(problems.size());
}

ShapedRows rows(const std::vector<Problem> &problems)
{
    ResultRows flat;
    flat.columns = {QStringLiteral("Heading"), QStringLiteral("What"), QStringLiteral("Where")};
    for (const Problem &p : problems)
        flat.rows.push_back({heading(p.rule), p.what, p.where});
    return Shaping::groupBy(ShapedRows::flat(std::move(flat), QStringLiteral("Problems")),
                            {QStringLiteral("Heading")}, QStringLiteral("Rules"));
}

Report::Layout RptMeetCheck(const QString &division, const std::vector<Problem> &problems)
{
    const Report::Font title{QStringLiteral("Arial"), 16, true};
    const Report::Font heading{QStringLiteral("Arial"), 11, true};
    const Report::Font body{QStringLiteral("Arial"), 10};
    const Report::Font small{QStringLiteral("Arial"), 8, false, true};
    constexpr int WhereLeft = 6840;

    Report::Layout rpt;
    rpt.caption = QStringLiteral("Meet Check");
    rpt.title = division.isEmpty() ? QStringLiteral("Meet Check") : QStringLiteral("Meet Check ") + division;
    const int width = rpt.printableWidth();
    const auto centred = Qt::AlignHCenter | Qt::AlignTop;

    rpt.reportHeader.height = 1560;
    rpt.reportHeader
        .label(QStringLiteral("LblTitle"), QStringLiteral("Meet Check"), {0, 0, width, 480}, title)
        .alignment = centred;
    rpt.reportHeader
        .label(QStringLiteral("LblShow"),
               QStringLiteral("KORV State Championship, ") +
                   (division.isEmpty() ? WholeMeet.toLower() : QStringLiteral("Division: ") + division),
               {0, 540, width, 345}, heading)
        .alignment = centred;
    rpt.reportHeader.label(QStringLiteral("LblVerdict"), verdict(problems), {0, 1020, width, 420}, title)
        .alignment = centred;

    if (!problems.empty()) {
        rpt.pageHeader.height = 300;
        rpt.pageHeader.label(QStringLiteral("LblWhat"), QStringLiteral("What is wrong"), {240, 0, 6000, 285},
                             small);
        rpt.pageHeader.label(QStringLiteral("LblWhere"), QStringLiteral("Where to mend it"),
                             {WhereLeft, 0, width - WhereLeft, 285}, small);
    }

    Report::Section &rule = rpt.addGroup(QStringLiteral("GroupHeader"), QStringLiteral("GroupFooter")).header;
    rule.height = 480;
    rule.field(QStringLiteral("txtHeading"), QStringLiteral("Heading"), {0, 120, width, 300}, heading);
    rule.line(QStringLiteral("LinRule"), {0, 450, width, 0});

    rpt.detail.height = 300;
    rpt.detail.field(QStringLiteral("txtWhat"), QStringLiteral("What"), {240, 15, WhereLeft - 360, 285}, body)
        .canGrow = true;
    rpt.detail
        .field(QStringLiteral("txtWhere"), QStringLiteral("Where"), {WhereLeft, 15, width - WhereLeft, 285},
               body)
        .canGrow = true;

    rpt.pageFooter.height = 300;
    rpt.pageFooter.label(QStringLiteral("LblPage"), QStringLiteral("Page %p of %P"), {0, 0, width, 285}, body)
        .alignment = centred;
    return rpt;
}

} // namespace MeetCheck
