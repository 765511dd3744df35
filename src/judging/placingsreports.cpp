#include "judging/placingsreports.h"

#include "db/classcatalogue.h"

namespace PlacingsReports {
namespace {

const Report::Font Show{QStringLiteral("Arial"), 16, true};
const Report::Font Title{QStringLiteral("Arial"), 12, true};
const Report::Font Heading{QStringLiteral("Arial"), 10, true};
const Report::Font Body{QStringLiteral("Arial"), 10};

struct Column
{
    const char *label;
    const char *field;
    const char *column;
    int left;
    int width;
    bool wraps = false; // names wrap; places and numbers never need to
};

QString text(const char *s)
{
    return QString::fromLatin1(s);
}

// Both reports: the titles, a header per judge with the column labels and a rule, and one
// detail line per placing.
Report::Layout cardLayout(const QString &caption, std::initializer_list<Column> columns)
{
    Report::Layout rpt;
    rpt.caption = caption;
    rpt.title = caption;
    const int width = rpt.printableWidth();
    rpt.reportHeader.height = 960;
    rpt.reportHeader.label(QStringLiteral("LblShow"), {}, {0, 0, width, 420}, Show).alignment =
        Qt::AlignHCenter | Qt::AlignTop;
    rpt.reportHeader.label(QStringLiteral("LblTitle"), {}, {0, 480, width, 345}, Title).alignment =
        Qt::AlignHCenter | Qt::AlignTop;

    Report::Group &judge = rpt.addGroup(QStringLiteral("GroupHeader"), QStringLiteral("GroupFooter"));
    judge.header.height = 900;
    judge.header.label(QStringLiteral("LblJudge"), QStringLiteral("Judge:"), {0, 120, 900, 285}, Heading);
    judge.header.field(QStringLiteral("txtJudge"), QStringLiteral("Judge"), {960, 120, 6000, 285}, Heading)
        .canGrow = true;
    int c = 0;
    for (const Column &col : columns)
        judge.header.label(QStringLiteral("LblColumn%1").arg(++c), text(col.label),
                           {col.left, 480, col.width, 285}, Heading);
    judge.header.line(QStringLiteral("LinHeader"), {0, 825, width, 0});
    judge.footer.height = 240;

    rpt.detail.height = 330;
    for (const Column &col : columns)
        rpt.detail.field(text(col.field), text(col.column), {col.left, 30, col.width, 285}, Body).canGrow =
            col.wraps;
    return rpt;
}

const QString Selected = QStringLiteral(
    "SELECT TblPerson.FirstName || ' ' || TblPerson.LastName AS Rider, TblPerson.RiderNumber, "
    "TblTeam.TeamName, TblPlacing.Place, TblPlacing.Points, TblJudge.FirstName || ' ' || TblJudge.LastName AS Judge, "
    "TblJudge.JudgeID");
const QString Joined =
    QStringLiteral(" FROM TblJudge INNER JOIN TblPlacing ON TblJudge.JudgeID = TblPlacing.JudgeID "
                   "INNER JOIN TblPerson ON TblPerson.RiderIndex = TblPlacing.RiderIndex "
                   "INNER JOIN TblTeam ON TblPerson.TeamCode = TblTeam.TeamCode");
const QString Chosen = QStringLiteral(" WHERE TblPlacing.ClassNumber = ? AND TblPlacing.Division = ? "
                                      "ORDER BY TblJudge.LastName NULLS FIRST, "
                                      "TblJudge.FirstName NULLS FIRST, TblJudge.JudgeID, TblPlacing.Place");

} // namespace

ShapeQuery placingsQuery(int classNumber, const QString &division)
{
    if (classNumber == ClassCatalogue::RelayClass)
        return ShapeQuery(
                   RelayPlacingsCommand,
                   Selected +
                       QStringLiteral(", TblPairing.PartnerNumber, "
                                      "TblPairing.PartnerFirst || ' ' || TblPairing.PartnerLast AS Partner") +
                       Joined +
                       QStringLiteral(
                           " INNER JOIN TblPairing ON TblPairing.RiderIndex = TblPlacing.RiderIndex") +
                       Chosen,
                   {classNumber, division})
            .computeBy({QStringLiteral("Judge"), QStringLiteral("JudgeID")});
    return ShapeQuery(PlacingsCommand, Selected + Joined + Chosen, {classNumber, division})
        .computeBy({QStringLiteral("JudgeID"), QStringLiteral("Judge")});
}

Report::Layout RptClassPlacings()
{
    return cardLayout(QStringLiteral("Class Placings Report"),
                      {{"Place:", "txtPlace", "Place", 0, 900},
                       {"Rider #:", "txtRiderNumber", "RiderNumber", 1080, 1080},
                       {"Name:", "txtRider", "Rider", 2280, 4200, true},
                       {"Team:", "txtTeamName", "TeamName", 6600, 4200, true}});
}

Report::Layout RptClassPlacings17()
{
    Report::Layout rpt = cardLayout(QStringLiteral("Class Placings Report"),
                                    {{"Place:", "txtPlace", "Place", 0, 840},
                                     {"Rider #:", "txtRiderNumber", "RiderNumber", 900, 900},
                                     {"Name:", "txtRider", "Rider", 1860, 3180, true},
                                     {"Partner #:", "txtPartnerNumber", "PartnerNumber", 5160, 1080},
                                     {"Partner Name:", "txtPartner", "Partner", 6360, 4440, true}});
    // The rider's team sits under the name, labelled on every line.
    rpt.detail.height = 660;
    rpt.detail.label(QStringLiteral("LblTeam"), QStringLiteral("Team:"), {1860, 330, 720, 285}, Body);
    // Wraps rather than cut; exported beside the other placings' teams.
    Report::Item &team = rpt.detail.field(QStringLiteral("txtTeamName"), QStringLiteral("TeamName"),
                                          {2580, 330, 4200, 285}, Body);
    team.canGrow = true;
    team.heading = QStringLiteral("Team");
    return rpt;
}

Report::Layout placingsLayout(int classNumber, const QString &className, const QString &division)
{
    Report::Layout rpt =
        classNumber == ClassCatalogue::RelayClass ? RptClassPlacings17() : RptClassPlacings();
    const QString title =
        QStringLiteral("Division %1, Class %2 - %3").arg(division, QString::number(classNumber), className);
    rpt.setCaption(u"ReportHeader", u"LblShow",
                   QStringLiteral("KORV State Championship - Class Placings Report"));
    rpt.setCaption(u"ReportHeader", u"LblTitle", title);
    rpt.title = QStringLiteral("Class Placings Report - ") + title;
    return rpt;
}

} // namespace PlacingsReports
