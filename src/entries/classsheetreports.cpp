#include "entries/classsheetreports.h"

#include "db/classcatalogue.h"

namespace ClassSheetReports {
namespace {

const Report::Font Title{QStringLiteral("Arial"), 16, true};
const Report::Font PageTitle{QStringLiteral("Arial"), 12, true};
const Report::Font Heading{QStringLiteral("Arial"), 10, true};
const Report::Font Body{QStringLiteral("Arial"), 10};

constexpr int RowTop = 45;
constexpr int RowHeight = 285;

// The sections under the names the screen sets them by, the report title, the page title and
// the rules above and below the column headings.
void frame(Report::Layout &rpt, int headingsTop, int headingsBottom)
{
    const int width = rpt.printableWidth();
    rpt.reportHeader.name = QStringLiteral("Section4");
    rpt.pageHeader.name = QStringLiteral("Section2");
    rpt.detail.name = QStringLiteral("Section1");
    rpt.reportFooter.name = QStringLiteral("Section5");
    rpt.reportHeader.height = 720;
    rpt.reportHeader.label(QStringLiteral("LblReportTitle"), QString(), {0, 0, width, 480}, Title).alignment =
        Qt::AlignHCenter | Qt::AlignTop;
    rpt.reportHeader.line(QStringLiteral("Line2"), {0, 600, width, 0});
    rpt.pageHeader.height = headingsBottom + 120;
    rpt.pageHeader.label(QStringLiteral("RhTitle"), QString(), {0, 60, width, 360}, PageTitle);
    rpt.pageHeader.line(QStringLiteral("Line1"), {0, headingsTop - 60, width, 0});
    rpt.pageHeader.line(QStringLiteral("Line3"), {0, headingsBottom + 60, width, 0});
}

void totals(Report::Layout &rpt, const QString &labelName, const QString &caption, const QString &countName)
{
    // Every rider of the split counts, numbered or not.
    rpt.reportFooter.height = 660;
    rpt.reportFooter.label(labelName, caption, {6480, 240, 1800, RowHeight}, Heading);
    rpt.reportFooter.count(countName, QStringLiteral("LastName"), {8400, 240, 1080, RowHeight}, Heading);
}

} // namespace

Report::Layout RptClassEntries()
{
    Report::Layout rpt;
    rpt.caption = QStringLiteral("Class Sheet");
    frame(rpt, 540, 825);
    const int columns[] = {0, 1200, 3720, 6480, 9480};
    const int widths[] = {1080, 2400, 2640, 2880, 1320};
    const QString headings[] = {QStringLiteral("Rider #"), QStringLiteral("Firstname:"),
                                QStringLiteral("LastName:"), QStringLiteral("TeamName:"),
                                QStringLiteral("Time")};
    const QString fields[] = {QStringLiteral("RiderNumber"), QStringLiteral("FirstName"),
                              QStringLiteral("LastName"), QStringLiteral("TeamName")};
    for (int c = 0; c < 5; ++c)
        rpt.pageHeader.label(c < 4 ? QStringLiteral("Label%1").arg(c + 1) : QStringLiteral("LblTime"),
                             headings[c], {columns[c], 540, widths[c], RowHeight}, Heading);
    rpt.detail.height = 390;
    // Long names wrap; the rider number never needs to.
    for (int c = 0; c < 4; ++c)
        rpt.detail
            .field(QStringLiteral("Text%1").arg(c + 1), fields[c], {columns[c], RowTop, widths[c], RowHeight},
                   Body)
            .canGrow = c > 0;
    // The steward writes each rider's time on this line.
    rpt.detail.line(QStringLiteral("LnTime"), {columns[4], 345, widths[4], 0});
    rpt.setVisible(u"Section2", u"LblTime", false);
    rpt.setVisible(u"Section1", u"LnTime", false);
    totals(rpt, QStringLiteral("lblTotalEntries"), QStringLiteral("Total Entries:"),
           QStringLiteral("fcTotalEntries"));
    return rpt;
}

Report::Layout RptClassEntries17()
{
    Report::Layout rpt;
    rpt.caption = QStringLiteral("Relay Class Sheet");
    frame(rpt, 540, 1110);
    const int width = rpt.printableWidth();
    // Rider #, first and last name, the partner's number, first and last name, the time.
    const int columns[] = {0, 780, 2640, 4560, 5220, 7080, 9000};
    const int widths[] = {720, 1800, 1860, 600, 1800, 1860, width - 9000};
    rpt.pageHeader.label(QStringLiteral("Label3"), QStringLiteral("Partner"),
                         {columns[3], 540, 5400, RowHeight}, Heading);
    const QString names[] = {
        QStringLiteral("Label8"), QStringLiteral("Label1"), QStringLiteral("Label2"), QString(),
        QStringLiteral("Label4"), QStringLiteral("Label7"), QStringLiteral("Label5")};
    const QString headings[] = {
        QStringLiteral("Rider#"),     QStringLiteral("Firstname:"), QStringLiteral("LastName:"), QString(),
        QStringLiteral("Firstname:"), QStringLiteral("LastName:"),  QStringLiteral("Time")};
    for (int c = 0; c < 7; ++c)
        if (!names[c].isEmpty())
            rpt.pageHeader.label(names[c], headings[c], {columns[c], 825, widths[c], RowHeight}, Heading);

    const QString fields[] = {QStringLiteral("RiderNumber"),  QStringLiteral("FirstName"),
                              QStringLiteral("LastName"),     QStringLiteral("PartnerNumber"),
                              QStringLiteral("PartnerFirst"), QStringLiteral("PartnerLast")};
    rpt.detail.height = 720;
    // Long names wrap, pushing the team's line down; the numbers never need to.
    for (int c = 0; c < 6; ++c)
        rpt.detail
            .field(QStringLiteral("Text%1").arg(c + 1), fields[c], {columns[c], RowTop, widths[c], RowHeight},
                   Body)
            .canGrow = c != 0 && c != 3;
    // The partner's columns told apart from the rider's in the exported rows.
    rpt.control(u"Section1", u"Text4").heading = QStringLiteral("Partner #");
    rpt.control(u"Section1", u"Text5").heading = QStringLiteral("Partner Firstname");
    rpt.control(u"Section1", u"Text6").heading = QStringLiteral("Partner LastName");
    rpt.detail.label(QStringLiteral("Label6"), QStringLiteral("TeamName:"),
                     {columns[1], 375, 1200, RowHeight}, Heading);
    rpt.detail
        .field(QStringLiteral("Text7"), QStringLiteral("TeamName"), {columns[1] + 1260, 375, 5400, RowHeight},
               Body)
        .canGrow = true;
    // Closes each relay team; the time is written above it.
    rpt.detail.line(QStringLiteral("Line4"), {0, 690, width, 0});
    totals(rpt, QStringLiteral("LblEntries"), QStringLiteral("Total Entries"),
           QStringLiteral("FncRiderTotal"));
    return rpt;
}

QString splitTitle(const QString &division, const QString &classLine, int split, int splits)
{
    QString title =
        QStringLiteral("Rider List for Division ") + division + QStringLiteral(", Class: ") + classLine;
    if (splits >= 2)
        title += QStringLiteral(", (Split: ") + QString::number(split) + u')';
    return title;
}

Report::Layout sheet(int classNumber, const QString &division, const QString &classLine, int split,
                     int splits)
{
    const bool relay = classNumber == ClassCatalogue::RelayClass;
    Report::Layout rpt = relay ? RptClassEntries17() : RptClassEntries();
    const QString title = splitTitle(division, classLine, split, splits);
    rpt.setCaption(u"Section4", u"LblReportTitle", ShowTitle + QStringLiteral(" Class Sheet"));
    rpt.setCaption(u"Section2", u"RhTitle", title);
    // Each split's PDF is named for its split, and its preview's caption says of how many, so
    // that the previews of one class, open side by side, tell which is which.
    rpt.title = title;
    rpt.caption = splits >= 2 ? title.chopped(1) + QStringLiteral(" of %1)").arg(splits) : title;
    if (!relay && classNumber >= 14 && classNumber <= 16) {
        rpt.setVisible(u"Section2", u"LblTime", true);
        rpt.setVisible(u"Section1", u"LnTime", true);
    }
    return rpt;
}

} // namespace ClassSheetReports
