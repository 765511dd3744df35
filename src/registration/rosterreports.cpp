#include "registration/rosterreports.h"

#include "db/sql.h"

namespace RosterReports {
namespace {

const Report::Font Title{QStringLiteral("Arial"), 16, true};
const Report::Font Heading{QStringLiteral("Arial"), 10, true};
const Report::Font Body{QStringLiteral("Arial"), 10};

void titleSection(Report::Layout &rpt, const QString &title)
{
    rpt.title = title;
    rpt.reportHeader.height = 720;
    rpt.reportHeader.label(QStringLiteral("LblRptTitle"), title, {0, 0, rpt.printableWidth(), 480}, Title)
        .alignment = Qt::AlignHCenter | Qt::AlignTop;
}

void pageNumbers(Report::Layout &rpt)
{
    rpt.pageFooter.height = 420;
    rpt.pageFooter
        .label(QStringLiteral("LblPage"), QStringLiteral("Page %p of %P"),
               {0, 120, rpt.printableWidth(), 285}, Body)
        .alignment = Qt::AlignRight | Qt::AlignTop;
}

// "Team:" division "-" team name, the header of each team.
void teamHeading(Report::Section &header)
{
    header.height = 420;
    header.label(QStringLiteral("LblTeam"), QStringLiteral("Team:"), {0, 60, 720, 285}, Heading);
    header.field(QStringLiteral("txtDivision"), QStringLiteral("Division"), {780, 60, 360, 285}, Heading);
    header.label(QStringLiteral("LblDash"), QStringLiteral("-"), {1140, 60, 240, 285}, Heading);
    header.field(QStringLiteral("txtTeamName"), QStringLiteral("TeamName"), {1380, 60, 7200, 285}, Heading);
}

} // namespace

ShapeQuery teamListQuery()
{
    return ShapeQuery(
        TeamListCommand,
        QStringLiteral(
            "SELECT * FROM TblTeam ORDER BY Division NULLS FIRST, TeamName NULLS FIRST, TeamCode"));
}

Report::Layout RptTeamList()
{
    Report::Layout rpt;
    rpt.caption = QStringLiteral("Team List Report");
    titleSection(rpt, QStringLiteral("Team List Report"));
    const int width = rpt.printableWidth();
    rpt.pageHeader.height = 540;
    rpt.pageHeader.rectangle(QStringLiteral("ShpFrame"), {0, 60, width, 420});
    rpt.pageHeader.label(QStringLiteral("LblDivision"), QStringLiteral("Division:"), {120, 120, 1440, 285},
                         Heading);
    rpt.pageHeader.label(QStringLiteral("LblTeamName"), QStringLiteral("TeamName:"), {1800, 120, 5400, 285},
                         Heading);
    rpt.pageHeader.label(QStringLiteral("LblSecurity"), QStringLiteral("Security #:"), {7800, 120, 2400, 285},
                         Heading);
    rpt.detail.height = 420;
    rpt.detail.field(QStringLiteral("txtDivision"), QStringLiteral("Division"), {120, 90, 1440, 285}, Body);
    rpt.detail.field(QStringLiteral("txtTeamName"), QStringLiteral("TeamName"), {1800, 90, 5760, 285}, Body);
    // The security number is written in by hand on this rule.
    rpt.detail.line(QStringLiteral("LinSecurity"), {7800, 360, 2160, 0});
    return rpt;
}

ShapeQuery coachListQuery()
{
    return ShapeQuery(
               CoachListCommand,
               QStringLiteral(
                   "SELECT * FROM TblTeam ORDER BY Division NULLS FIRST, TeamName NULLS FIRST, TeamCode"))
        .append(
            ShapeQuery(QStringLiteral("CoachList"),
                       QStringLiteral("SELECT FirstName || ' ' || LastName AS Coach, * FROM TblCoach "
                                      "ORDER BY Position DESC NULLS LAST, LastName NULLS FIRST, CoachCode")),
            QStringLiteral("TeamCode"), QStringLiteral("TeamCode"));
}

Report::Layout RptCoachList()
{
    Report::Layout rpt;
    rpt.caption = QStringLiteral("Project1 - RptCoachList (DataReport)");
    titleSection(rpt, QStringLiteral("Complete Coach's List"));
    teamHeading(rpt.addGroup(QStringLiteral("GroupHeader"), QStringLiteral("GroupFooter")).header);
    rpt.detail.height = 300;
    rpt.detail.field(QStringLiteral("txtPosition"), QStringLiteral("Position"), {600, 15, 2400, 285}, Body);
    rpt.detail.field(QStringLiteral("txtFirstName"), QStringLiteral("Coach"), {3120, 15, 6000, 285}, Body);
    pageNumbers(rpt);
    return rpt;
}

ShapeQuery riderListByTeamQuery()
{
    return ShapeQuery(
               RiderListByTeamCommand,
               QStringLiteral(
                   "SELECT TblPerson.FirstName || ' ' || TblPerson.LastName AS Person, * FROM TblPerson "
                   "INNER JOIN TblTeam ON TblPerson.TeamCode = TblTeam.TeamCode "
                   "ORDER BY TblTeam.Division NULLS FIRST, TblTeam.TeamName NULLS FIRST, "
                   "TblPerson.RiderNumber NULLS FIRST, "
                   "TblPerson.LastName NULLS FIRST, TblPerson.FirstName NULLS FIRST, TblPerson.RiderIndex"))
        .computeBy({QStringLiteral("TeamName"), QStringLiteral("Division")});
}

Report::Layout RptRiderListbyTeam()
{
    Report::Layout rpt;
    rpt.caption = QStringLiteral("RptRiderListbyTeam (DataReport)");
    titleSection(rpt, QStringLiteral("Complete Rider's List"));
    Report::Group &team = rpt.addGroup(QStringLiteral("GroupHeader"), QStringLiteral("GroupFooter"));
    teamHeading(team.header);
    team.header.height = 480;
    team.header.line(QStringLiteral("LinHeader"), {0, 420, rpt.printableWidth(), 0});
    team.footer.height = 180;
    team.footer.line(QStringLiteral("LinFooter"), {0, 60, rpt.printableWidth(), 0});
    rpt.detail.height = 300;
    rpt.detail.field(QStringLiteral("txtRiderNumber"), QStringLiteral("RiderNumber"), {600, 15, 720, 285},
                     Body);
    rpt.detail.field(QStringLiteral("txtFirstName"), QStringLiteral("Person"), {1440, 15, 6000, 285}, Body);
    pageNumbers(rpt);
    return rpt;
}

MemoryTable riderListByNumber(const QSqlDatabase &db)
{
    const ResultRows riders = Sql::select(
        db, QStringLiteral("Reading the riders by number"),
        QStringLiteral("SELECT TblPerson.FirstName || ' ' || TblPerson.LastName AS Person, "
                       "TblTeam.Division || ' - ' || TblTeam.TeamName AS TEAM, TblPerson.RiderNumber "
                       "FROM TblPerson INNER JOIN TblTeam ON TblPerson.TeamCode = TblTeam.TeamCode "
                       "ORDER BY TblPerson.RiderNumber NULLS FIRST, TblPerson.LastName NULLS FIRST, "
                       "TblPerson.FirstName NULLS FIRST, TblPerson.RiderIndex"));
    MemoryTable table;
    for (const char *column : {"C1Rider", "C1Team", "C2Rider", "C2Team"})
        table.appendColumn(QString::fromLatin1(column), MemoryTable::Type::Text, 50);
    const auto rider = [&](int r) {
        return riders.text(r, u"RiderNumber") + QStringLiteral("   ") + riders.text(r, u"Person");
    };
    const int n = riders.size();
    const int half = (n + 1) / 2;
    for (int r = 0; r < half; ++r) {
        const bool right = r + half < n;
        table.addRow({rider(r), riders.text(r, u"TEAM"), right ? rider(r + half) : QStringLiteral(" "),
                      right ? riders.text(r + half, u"TEAM") : QStringLiteral(" ")});
    }
    return table;
}

Report::Layout RptRiderListbyNumber()
{
    Report::Layout rpt;
    rpt.caption = QStringLiteral("Quendal - RptRiderListbyNumber (DataReport)");
    titleSection(rpt, QStringLiteral("Complete Rider's List by Number"));
    const int width = rpt.printableWidth();
    const int columns[] = {120, 2880, 5520, 8280};
    const int widths[] = {2700, 2580, 2700, 2400};
    rpt.pageHeader.height = 540;
    rpt.pageHeader.rectangle(QStringLiteral("ShpFrame"), {0, 60, width, 420});
    const QString headings[] = {QStringLiteral("Rider:"), QStringLiteral("Team:"), QStringLiteral("Rider:"),
                                QStringLiteral("Team:")};
    for (int c = 0; c < 4; ++c)
        rpt.pageHeader.label(QStringLiteral("LblHeading%1").arg(c + 1), headings[c],
                             {columns[c], 120, widths[c], 285}, Heading);
    rpt.detail.height = 330;
    rpt.detail.rectangle(QStringLiteral("ShpDetailFrame"), {0, 0, width, 330});
    const QString names[] = {QStringLiteral("txtC1Rider2"), QStringLiteral("txtC1Team"),
                             QStringLiteral("txtC2Rider"), QStringLiteral("txtC2Team")};
    const QString fields[] = {QStringLiteral("C1Rider"), QStringLiteral("C1Team"), QStringLiteral("C2Rider"),
                              QStringLiteral("C2Team")};
    for (int c = 0; c < 4; ++c)
        rpt.detail.field(names[c], fields[c], {columns[c], 30, widths[c], 285}, Body);
    pageNumbers(rpt);
    return rpt;
}

} // namespace RosterReports
