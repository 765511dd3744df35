#include "samplereport.h"

namespace SampleReport {

Report::Layout riderList()
{
    using Report::Font;
    const Font heading{QStringLiteral("Arial"), 10, true};
    const Font text{QStringLiteral("Arial"), 10};

    Report::Layout rpt;
    rpt.caption = QStringLiteral("RptRiderListbyTeam (DataReport)");
    rpt.title = QStringLiteral("Complete Rider's List");

    rpt.reportHeader.height = 800;
    rpt.reportHeader
        .label("LblRptTitle", rpt.title, {0, 0, 10800, 450}, {QStringLiteral("Times New Roman"), 18, true})
        .alignment = Qt::AlignHCenter | Qt::AlignTop;
    rpt.reportHeader.label("LblShow", QString(), {0, 450, 10800, 300}, text).alignment =
        Qt::AlignHCenter | Qt::AlignTop;

    Report::Section &ph = rpt.pageHeader;
    ph.height = 1100;
    ph.label("LblRiderNumber", QStringLiteral("Rider #:"), {0, 780, 1200, 285}, heading);
    ph.label("LblName", QStringLiteral("Name:"), {1400, 780, 4000, 285}, heading);
    ph.label("LblPoints", QStringLiteral("Points:"), {5600, 780, 1200, 285}, heading).alignment =
        Qt::AlignRight | Qt::AlignTop;
    ph.image("Class14", {7400, 0, 240, 1050}, QStringLiteral("14"), heading);
    ph.label("LblTime", QStringLiteral("Time"), {8000, 780, 1500, 285}, heading).visible = false;
    ph.line("Line1", {0, 1080, 10800, 0});

    Report::Group &team = rpt.addGroup(QStringLiteral("RiderListbyTeam_Grouping_Header"),
                                       QStringLiteral("RiderListbyTeam_Grouping_Footer"));
    team.header.height = 450;
    team.header.label("Label1", QStringLiteral("Team:"), {0, 100, 700, 285}, heading);
    team.header.field("txtDivision", QStringLiteral("Division"), {700, 100, 300, 285}, heading);
    team.header.label("Label2", QStringLiteral("-"), {1000, 100, 200, 285}, heading);
    team.header.field("txtTeamName", QStringLiteral("TeamName"), {1200, 100, 6000, 285}, heading).canGrow =
        true;
    team.header.line("Line2", {0, 420, 7000, 0});

    rpt.detail.height = 285;
    rpt.detail.field("txtRiderNumber", QStringLiteral("RiderNumber"), {200, 0, 1000, 285}, text);
    rpt.detail.field("txtPerson", QStringLiteral("Person"), {1400, 0, 4000, 285}, text);
    rpt.detail.field("txtPoints", QStringLiteral("Points"), {5600, 0, 1200, 285}, text).alignment =
        Qt::AlignRight | Qt::AlignTop;
    rpt.detail.line("LnTime", {8000, 250, 1500, 0}).visible = false;

    team.footer.height = 400;
    team.footer.label("LblRiders", QStringLiteral("Riders:"), {1400, 40, 1000, 285}, text);
    team.footer.count("FncRiders", QStringLiteral("RiderNumber"), {2400, 40, 600, 285}, text);
    team.footer.label("LblTeamPoints", QStringLiteral("Team Points:"), {3800, 40, 1400, 285}, text);
    team.footer.sum("FncTeamPoints", QStringLiteral("Points"), {5600, 40, 1200, 285}, heading).alignment =
        Qt::AlignRight | Qt::AlignTop;
    team.footer.line("Line3", {1400, 20, 5400, 0});

    rpt.pageFooter.height = 400;
    rpt.pageFooter.label("LblPage", QStringLiteral("Page %p of %P"), {7800, 100, 3000, 285}, text).alignment =
        Qt::AlignRight | Qt::AlignTop;

    rpt.reportFooter.height = 500;
    rpt.reportFooter.rectangle("Shape1", {0, 100, 10800, 380});
    rpt.reportFooter.label("lblTotalEntries", QStringLiteral("Total Entries:"), {200, 150, 1600, 285},
                           heading);
    rpt.reportFooter.count("fcTotalEntries", QStringLiteral("RiderNumber"), {1800, 150, 800, 285}, heading);
    rpt.reportFooter.label("LblTotalPoints", QStringLiteral("Total Points:"), {3800, 150, 1400, 285},
                           heading);
    rpt.reportFooter.sum("FncTotalPoints", QStringLiteral("Points"), {5600, 150, 1200, 285}, heading)
        .alignment = Qt::AlignRight | Qt::AlignTop;
    return rpt;
}

ShapeQuery riderQuery()
{
    return ShapeQuery(
               QStringLiteral("RiderListbyTeam"),
               QStringLiteral("SELECT TblPerson.FirstName || ' ' || TblPerson.LastName AS Person, "
                              "TblPerson.RiderNumber, TblTeam.TeamName, TblTeam.Division, "
                              "(SELECT total(Points) FROM TblPlacing "
                              " WHERE TblPlacing.RiderIndex = TblPerson.RiderIndex) AS Points "
                              "FROM TblPerson INNER JOIN TblTeam ON TblPerson.TeamCode = TblTeam.TeamCode "
                              "ORDER BY TblTeam.Division, TblTeam.TeamName, TblPerson.RiderNumber"))
        .computeBy({QStringLiteral("TeamName"), QStringLiteral("Division")});
}

ShapedRows riders(int teams, int ridersPerTeam)
{
    ResultRows flat;
    flat.columns = {QStringLiteral("Person"), QStringLiteral("RiderNumber"), QStringLiteral("TeamName"),
                    QStringLiteral("Division"), QStringLiteral("Points")};
    int number = 0;
    for (int t = 1; t <= teams; ++t)
        for (int r = 1; r <= ridersPerTeam; ++r) {
            ++number;
            flat.rows.push_back({QStringLiteral("Rider %1 of Team %2").arg(r).arg(t), QString::number(number),
                                 QStringLiteral("Team %1").arg(t, 2, 10, QLatin1Char('0')),
                                 QString(QChar(u'A' + (t - 1) % 4)), double(number % 11)});
        }
    return Shaping::groupBy(ShapedRows::flat(flat, QStringLiteral("RiderListbyTeam")),
                            {QStringLiteral("TeamName"), QStringLiteral("Division")},
                            QStringLiteral("RiderListbyTeam_Grouping"));
}

} // namespace SampleReport
