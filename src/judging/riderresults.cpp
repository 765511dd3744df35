#include "judging/riderresults.h"

namespace RiderResults {
namespace {

const Report::Font Title{QStringLiteral("Arial"), 12, true};
const Report::Font Team{QStringLiteral("Arial"), 12, true};
const Report::Font Rider{QStringLiteral("Arial"), 10, true};
const Report::Font Heading{QStringLiteral("Arial"), 9, true, false, true};
const Report::Font Body{QStringLiteral("Arial"), 9};
const Report::Font Total{QStringLiteral("Arial"), 9, true};

// Columns of a placing's line.
constexpr int ClassLeft = 600;
constexpr int ClassNameLeft = 1080;
constexpr int JudgeLeft = 5400;
constexpr int PlaceLeft = 8400;
constexpr int PointsLeft = 9600;
constexpr int PointsWidth = 1000;

} // namespace

ShapeQuery query()
{
    ShapeQuery placings(
        QStringLiteral("RptPlacings"),
        QStringLiteral("SELECT TblJudge.FirstName || ' ' || TblJudge.LastName AS Judge, TblJudge.JudgeID, "
                       "TblPlacing.ClassNumber AS \"TblPlacing.ClassNumber\", TblPlacing.Place, "
                       "TblPlacing.Points, TblPlacing.Division, TblPlacing.RiderIndex, TblClass.ClassName "
                       "FROM TblPlacing INNER JOIN TblJudge ON TblPlacing.JudgeID = TblJudge.JudgeID "
                       "INNER JOIN TblClass ON TblPlacing.ClassNumber = TblClass.ClassNumber "
                       "ORDER BY TblPlacing.ClassNumber, TblPlacing.JudgeID, TblPlacing.Place"));
    ShapeQuery riders(QStringLiteral("RptRider"),
                      QStringLiteral("SELECT FirstName || ' ' || LastName AS Rider, RiderNumber, RiderIndex, "
                                     "TeamCode FROM TblPerson ORDER BY RiderNumber NULLS FIRST, LastName "
                                     "NULLS FIRST, FirstName NULLS FIRST, RiderIndex"));
    riders.append(std::move(placings), QStringLiteral("RiderIndex"), QStringLiteral("RiderIndex"));
    return ShapeQuery(
               Command,
               QStringLiteral(
                   "SELECT * FROM TblTeam ORDER BY Division NULLS FIRST, TeamName NULLS FIRST, TeamCode"))
        .append(std::move(riders), QStringLiteral("TeamCode"), QStringLiteral("TeamCode"));
}

Report::Layout RptIndividualResults()
{
    Report::Layout rpt;
    rpt.caption = QStringLiteral("Rider Results");
    rpt.title = QStringLiteral("Individual Results Report");
    const int width = rpt.printableWidth();

    Report::Group &team = rpt.addGroup(QStringLiteral("RptTeam_Header"), QStringLiteral("RptTeam_Footer"));
    // Each team starts a page; a team or a rider whose lines run onto the next page is headed
    // again there.
    team.header.pageBreakBefore = true;
    team.header.repeatOnEachPage = true;
    team.header.height = 900;
    team.header
        .label(QStringLiteral("LblTitle"),
               QStringLiteral("Individual Results Report - KORV State Championship"), {0, 0, width, 360},
               Title)
        .alignment = Qt::AlignHCenter | Qt::AlignTop;
    team.header.rectangle(QStringLiteral("ShpTeam"), {0, 390, width, 450});
    // Long names wrap within the frames, which grow with them.
    team.header.field(QStringLiteral("txtTeamName"), QStringLiteral("TeamName"), {120, 465, 7800, 330}, Team)
        .canGrow = true;
    team.header
        .field(QStringLiteral("txtDivision"), QStringLiteral("Division"), {width - 1320, 465, 1200, 330},
               Team)
        .alignment = Qt::AlignRight | Qt::AlignTop;
    team.footer.height = 480;
    team.footer.rectangle(QStringLiteral("ShpTeamTotal"), {0, 60, width, 360});
    team.footer.label(QStringLiteral("LblTeamTotal"), QStringLiteral("Total Team Points:"),
                      {PlaceLeft - 1800, 105, 2700, 285}, Total);
    team.footer.sum(QStringLiteral("txtTeamTotal"), QStringLiteral("Points"),
                    {PointsLeft, 105, PointsWidth, 285}, Total);

    Report::Group &rider = rpt.addGroup(QStringLiteral("RptRider_Header"), QStringLiteral("RptRider_Footer"));
    rider.header.height = 600;
    rider.header.repeatOnEachPage = true;
    rider.header.rectangle(QStringLiteral("ShpRider"), {240, 45, width - 240, 300});
    rider.header.field(QStringLiteral("txtRiderNumber"), QStringLiteral("RiderNumber"), {360, 60, 900, 270},
                       Rider);
    rider.header.field(QStringLiteral("txtFirstName"), QStringLiteral("Rider"), {1320, 60, 6000, 270}, Rider)
        .canGrow = true;
    const std::pair<const char *, int> headings[] = {
        {"Class:", ClassLeft}, {"Judge:", JudgeLeft}, {"Place:", PlaceLeft}, {"Points:", PointsLeft}};
    for (const auto &[caption, left] : headings)
        rider.header.label(QStringLiteral("Lbl") + QString::fromLatin1(caption).chopped(1),
                           QString::fromLatin1(caption), {left, 360, 1200, 240}, Heading);
    rider.footer.height = 330;
    rider.footer.rectangle(QStringLiteral("ShpRiderTotal"),
                           {PlaceLeft - 600, 15, width - PlaceLeft + 600, 285});
    rider.footer.label(QStringLiteral("LblRiderTotal"), QStringLiteral("Total Points:"),
                       {PlaceLeft - 480, 30, 1800, 255}, Total);
    rider.footer.sum(QStringLiteral("txtRiderTotal"), QStringLiteral("Points"),
                     {PointsLeft, 30, PointsWidth, 255}, Total);

    Report::Section &placing = rpt.detail;
    placing.height = 255;
    placing.field(QStringLiteral("txtTblPlacingClassNumber"), QStringLiteral("TblPlacing.ClassNumber"),
                  {ClassLeft, 0, 420, 240}, Body);
    placing.field(QStringLiteral("txtClassName"), QStringLiteral("ClassName"), {ClassNameLeft, 0, 4200, 240},
                  Body);
    placing.field(QStringLiteral("txtJudge"), QStringLiteral("Judge"), {JudgeLeft, 0, 2900, 240}, Body)
        .canGrow = true;
    placing.field(QStringLiteral("txtPlace"), QStringLiteral("Place"), {PlaceLeft, 0, 1000, 240}, Body);
    placing.field(QStringLiteral("txtPoints"), QStringLiteral("Points"), {PointsLeft, 0, PointsWidth, 240},
                  Body);
    return rpt;
}

} // namespace RiderResults
