#include "judging/rptteamstandings.h"

#include "judging/standingstable.h"

namespace RptTeamStandings {
namespace {

const Report::Font Title{QStringLiteral("Arial"), 16, true};
const Report::Font Show{QStringLiteral("Arial"), 12, true};
const Report::Font Heading{QStringLiteral("Arial"), 10, true};
const Report::Font Team{QStringLiteral("Arial"), 8, true};
const Report::Font Places{QStringLiteral("Arial"), 7};
const Report::Font Points{QStringLiteral("Arial"), 8, true};

// Columns across the printable width (14400 twips in landscape): the division, the team, the
// seventeen classes, the total.
constexpr int DivisionLeft = 0;
constexpr int TeamLeft = 300;
constexpr int FirstClassLeft = 2500;
constexpr int ClassWidth = 640;
constexpr int TotalLeft = FirstClassLeft + StandingsTable::Classes * ClassWidth;
constexpr int TotalWidth = 1020;

constexpr int CellsTop = 1140; // of the heading cells in the page header
constexpr int CellsHeight = 1680;
constexpr int LineHeight = 540; // of a team's line

int classLeft(int n)
{
    return FirstClassLeft + (n - 1) * ClassWidth;
}

} // namespace

Report::Layout layout(const QString &division)
{
    Report::Layout rpt;
    rpt.caption = QStringLiteral("Team Standings");
    rpt.title = QStringLiteral("Team Standings ") + division;
    rpt.orientation = QPageLayout::Landscape;
    const int width = rpt.printableWidth();
    const auto centred = Qt::AlignHCenter | Qt::AlignTop;

    Report::Section &header = rpt.pageHeader;
    header.height = CellsTop + CellsHeight + 60;
    header.label(QStringLiteral("lblTitle"), QStringLiteral("Team Standings"), {0, 0, width, 420}, Title)
        .alignment = centred;
    header
        .label(QStringLiteral("lblShow"), QStringLiteral("KORV State Championship"), {0, 420, width, 330},
               Show)
        .alignment = centred;
    header
        .label(QStringLiteral("lblDivision"), QStringLiteral("Division: ") + division, {0, 750, width, 300},
               Heading)
        .alignment = centred;
    header.rectangle(QStringLiteral("ShpTeamHeading"), {DivisionLeft, CellsTop, FirstClassLeft, CellsHeight});
    for (int n = 1; n <= StandingsTable::Classes; ++n) {
        header.rectangle(QStringLiteral("ShpClassHeading%1").arg(n),
                         {classLeft(n), CellsTop, ClassWidth, CellsHeight});
        header.image(QStringLiteral("Class%1").arg(n),
                     {classLeft(n) + 30, CellsTop + 45, ClassWidth - 60, 1590}, QString::number(n), Heading);
    }
    header.rectangle(QStringLiteral("ShpTotalHeading"), {TotalLeft, CellsTop, TotalWidth, CellsHeight});

    Report::Section &line = rpt.detail;
    line.height = LineHeight;
    line.rectangle(QStringLiteral("ShpDivision"), {DivisionLeft, 0, TeamLeft - DivisionLeft, LineHeight});
    line.field(QStringLiteral("Text1"), QStringLiteral("division"), {DivisionLeft, 0, TeamLeft, LineHeight},
               Team)
        .alignment = Qt::AlignCenter;
    line.rectangle(QStringLiteral("ShpTeam"), {TeamLeft, 0, FirstClassLeft - TeamLeft, LineHeight});
    // Long names wrap onto a second line within the frame.
    Report::Item &team =
        line.field(QStringLiteral("txtTeamName"), QStringLiteral("TeamName"),
                   {TeamLeft + 60, 30, FirstClassLeft - TeamLeft - 90, LineHeight - 45}, Team);
    team.alignment = Qt::AlignLeft | Qt::AlignVCenter;
    team.canGrow = true;
    for (int n = 1; n <= StandingsTable::Classes; ++n) {
        const int left = classLeft(n);
        line.rectangle(QStringLiteral("ShpClass%1").arg(n), {left, 0, ClassWidth, LineHeight});
        // Up to eight places (four riders under two judges) wrap onto a second line, between
        // their numbers, just above the points.
        Report::Item &places =
            line.field(QStringLiteral("txtPlacings%1").arg(n), QStringLiteral("Placings%1").arg(n),
                       {left + 15, 10, ClassWidth - 30, 340}, Places);
        places.alignment = Qt::AlignHCenter | Qt::AlignBottom;
        places.canGrow = true;
        line.field(QStringLiteral("txtPoints%1").arg(n), QStringLiteral("Points%1").arg(n),
                   {left + 15, 350, ClassWidth - 30, 185}, Points)
            .alignment = centred;
    }
    line.rectangle(QStringLiteral("ShpTotal"), {TotalLeft, 0, TotalWidth, LineHeight});
    line.field(QStringLiteral("TxtTotals"), QStringLiteral("TotalPoints"),
               {TotalLeft, 0, TotalWidth, LineHeight}, Heading)
        .alignment = Qt::AlignCenter;
    line.line(QStringLiteral("LinRule"), {0, LineHeight, width, 0});
    return rpt;
}

} // namespace RptTeamStandings
