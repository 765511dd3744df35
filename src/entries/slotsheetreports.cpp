#include "entries/slotsheetreports.h"

#include "common/labelfiles.h"
#include "db/classcatalogue.h"
#include "db/sql.h"
#include "reports/classpictures.h"

#include <QDir>

namespace SlotSheetReports {
namespace {

const QString Header = QStringLiteral("SlotSheetsReport_Grouping_Header");
const QString RelayImage = QStringLiteral("RelayPartner");
const QString RelayFallback = QStringLiteral("Relay\nPartner");

const QString Serif = QStringLiteral("Times New Roman");
const Report::Font Title{Serif, 16, true};
const Report::Font Heading{Serif, 12, true};
const Report::Font Body{Serif, 10};
const Report::Font Small{Serif, 7};

// The seventeen class columns and the relay partner column, right of the rider's name.
constexpr int Columns = ClassCatalogue::RelayClass + 1;
constexpr int ColumnWidth = 520;
constexpr int RowHeight = 360;
constexpr int ImageTop = 120;
constexpr int ImageHeight = 1575;
constexpr int NumberTop = ImageTop + ImageHeight + 45;

int columnLeft(const Report::Layout &rpt, int column)
{
    return rpt.printableWidth() - (Columns - column) * ColumnWidth;
}

// A row of empty boxes: the rider's cell, then one box under each column.
void boxRow(const Report::Layout &rpt, Report::Section &section, const QString &prefix)
{
    section.height = RowHeight;
    section.rectangle(prefix + QStringLiteral("Rider"), {0, 0, columnLeft(rpt, 0), RowHeight});
    for (int c = 0; c < Columns; ++c)
        section.rectangle(prefix + QString::number(c + 1), {columnLeft(rpt, c), 0, ColumnWidth, RowHeight});
}

const QString Select =
    QStringLiteral("SELECT TblTeam.TeamCode AS \"TblTeam.TeamCode\", TblTeam.TeamName, TblTeam.Division, "
                   "TblPerson.FirstName, "
                   "TblPerson.LastName, TblPerson.RiderNumber, TblPerson.TeamCode AS \"TblPerson.TeamCode\" "
                   "FROM TblTeam INNER JOIN TblPerson ON TblTeam.TeamCode = TblPerson.TeamCode ");
const QString RiderOrder =
    QStringLiteral(" ORDER BY TblTeam.TeamName NULLS FIRST, TblPerson.RiderNumber NULLS FIRST, "
                   "TblPerson.LastName NULLS FIRST, TblPerson.FirstName NULLS FIRST, "
                   "TblPerson.RiderIndex");

} // namespace

QString noRiders(const QString &division)
{
    return QStringLiteral("There are currently no teams or riders entered in the ") + division +
           QStringLiteral(" Division.");
}

QStringList teamNames(const QSqlDatabase &db, const QString &division)
{
    const ResultRows teams = Sql::select(db, QStringLiteral("Reading the teams of the division"),
                                         QStringLiteral("SELECT TeamName FROM TblTeam WHERE Division = ? "
                                                        "ORDER BY TeamName NULLS FIRST, TeamCode"),
                                         {division});
    QStringList names;
    for (int r = 0; r < teams.size(); ++r)
        names << teams.text(r, u"TeamName");
    return names;
}

ShapeQuery allQuery(const QString &division)
{
    return ShapeQuery(Command, Select + QStringLiteral("WHERE TblTeam.Division = ?") + RiderOrder, {division})
        .computeBy({QStringLiteral("Division"), QStringLiteral("TeamName")});
}

ShapeQuery singleQuery(const QString &teamName)
{
    return ShapeQuery(Command, Select + QStringLiteral("WHERE TblTeam.TeamName = ?") + RiderOrder, {teamName})
        .computeBy(
            {QStringLiteral("TblTeam.TeamCode"), QStringLiteral("TeamName"), QStringLiteral("Division")});
}

Report::Layout RptSlotSheets()
{
    Report::Layout rpt;
    rpt.caption = QStringLiteral("Slot Sheets");
    rpt.orientation = QPageLayout::Landscape;
    Report::Group &team = rpt.addGroup(Header, QStringLiteral("SlotSheetsReport_Grouping_Footer"));
    rpt.detail.name = QStringLiteral("SlotSheetsReport_Detail");

    // Each team's sheet starts a page of its own, and a team too long for one page is headed
    // again on the next.
    Report::Section &header = team.header;
    header.pageBreakBefore = true;
    header.repeatOnEachPage = true;
    header.height = NumberTop + 285 + 60;
    const int namesWidth = columnLeft(rpt, 0);
    header.label(QStringLiteral("LblTitle"), QString(), {120, ImageTop, namesWidth - 240, 480}, Title);
    header.label(QStringLiteral("Label19"), QStringLiteral("Team:"), {120, 840, 780, RowHeight}, Heading);
    // A long name wraps in the room below it, beside the class images; the division stays put.
    header
        .field(QStringLiteral("txtTeamName"), QStringLiteral("TeamName"),
               {900, 840, namesWidth - 1800, header.height - 60 - 840}, Heading)
        .canGrow = true;
    header.label(QStringLiteral("Label18"), QStringLiteral("-"), {namesWidth - 840, 840, 240, RowHeight},
                 Heading);
    header.field(QStringLiteral("txtDivision"), QStringLiteral("Division"),
                 {namesWidth - 600, 840, 480, RowHeight}, Heading);
    header.rectangle(QStringLiteral("ShpTeam"),
                     {0, ImageTop - 60, namesWidth, header.height - ImageTop + 60});
    for (int c = 0; c < Columns; ++c) {
        const int left = columnLeft(rpt, c);
        const bool relay = c == Columns - 1;
        const QString name = relay ? RelayImage : QStringLiteral("Class%1").arg(c + 1);
        header.image(name, {left, ImageTop, ColumnWidth, ImageHeight},
                     relay ? RelayFallback : QString::number(c + 1), relay ? Small : Body);
        if (!relay)
            header
                .label(QStringLiteral("Label%1").arg(c + 1), QString::number(c + 1),
                       {left, NumberTop, ColumnWidth, 285}, Body)
                .alignment = Qt::AlignHCenter | Qt::AlignTop;
        header.rectangle(QStringLiteral("ShpColumn%1").arg(c + 1),
                         {left, ImageTop - 60, ColumnWidth, header.height - ImageTop + 60});
    }

    boxRow(rpt, rpt.detail, QStringLiteral("ShpBox"));
    rpt.detail.field(QStringLiteral("txtRiderNumber"), QStringLiteral("RiderNumber"), {120, 45, 660, 285},
                     Body);
    // Long names wrap; the row and its boxes grow with them.
    rpt.detail.field(QStringLiteral("txtFirstName"), QStringLiteral("FirstName"), {840, 45, 2100, 285}, Body)
        .canGrow = true;
    rpt.detail
        .field(QStringLiteral("txtLastName"), QStringLiteral("LastName"), {3000, 45, namesWidth - 3060, 285},
               Body)
        .canGrow = true;
    // A closing row of empty boxes: room for a rider added by hand.
    boxRow(rpt, team.footer, QStringLiteral("ShpClose"));
    return rpt;
}

void putImages(Report::Layout &rpt, const QSqlDatabase &db, const QString &appFolder)
{
    rpt.setCaption(Header, u"LblTitle", QStringLiteral("KORV State Championship"));
    const QDir folder(LabelFiles::folder(appFolder));
    ClassPictures::set(rpt, Header, ClassTable::read(db), folder.path());
    rpt.setPicture(Header, RelayImage, folder.filePath(QStringLiteral("reportRelayPartner.bmp")),
                   RelayFallback);
}

} // namespace SlotSheetReports
