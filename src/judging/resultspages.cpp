#include "judging/resultspages.h"

#include "common/version.h"
#include "db/classtable.h"
#include "db/sql.h"
#include "judging/placingsreports.h"
#include "judging/riderresults.h"
#include "judging/standingstable.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <stdexcept>

namespace ResultsPages {
namespace {

const QString Show = QStringLiteral("KORV State Championship");

const char *const Style = R"(
body{font-family:Arial,Helvetica,sans-serif;color:#000;background:#fff;margin:0 auto;padding:8px;max-width:60em}
h1{font-size:1.4em;margin:0.3em 0}h2{font-size:1.15em;margin:1.4em 0 0.3em}
nav a{margin-right:1em}
.wide{overflow-x:auto}
table{border-collapse:collapse;margin:0.3em 0 1em}
caption{text-align:left;font-weight:bold;padding:0.3em 0}
th,td{border:1px solid #888;padding:0.2em 0.4em;text-align:left;vertical-align:top}
th{background:#eee}
.n{text-align:right}
.total td{font-weight:bold}
footer{margin-top:2em;font-size:0.8em;color:#555}
@media print{nav{display:none}.wide{overflow:visible}tr{page-break-inside:avoid}}
)";

// One cell: its markup (texts escaped on the way in), whether it holds a number, how many
// columns it spans.
struct Cell
{
    QString html;
    bool number = false;
    int span = 1;
};

Cell text(const QString &s, int span = 1)
{
    return {s.toHtmlEscaped(), false, span};
}

Cell number(const QString &s)
{
    return {s.toHtmlEscaped(), true, 1};
}

using Row = std::vector<Cell>;

// A line of a table's body: plain, a heading within it (a rider's name), or a total.
struct Line
{
    enum class Kind { Plain, Heading, Total };
    Row cells;
    Kind kind = Kind::Plain;
};

QString points(const QVariant &value)
{
    return QString::number(value.toDouble());
}

// A page: the head with its title and style, the way back to the index, the heading and the time
// the results were read.
class Page
{
public:
    Page(const QString &title, const QDateTime &asOf, bool index = false)
    {
        m_html = QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                                "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                                "<title>") +
                 (title + QStringLiteral(" - ") + Show).toHtmlEscaped() +
                 QStringLiteral("</title>\n<style>") + QString::fromLatin1(Style) +
                 QStringLiteral("</style>\n</head>\n<body>\n");
        if (!index)
            m_html += QStringLiteral("<nav><a href=\"index.html\">All divisions</a></nav>\n");
        heading(1, index ? Show : title);
        paragraph(QStringLiteral("Results as of ") +
                  QLocale(QLocale::English).toString(asOf, QStringLiteral("H:mm 'on' d MMMM yyyy")) +
                  QStringLiteral("."));
    }

    void heading(int level, const QString &s)
    {
        m_html += QStringLiteral("<h%1>%2</h%1>\n").arg(level).arg(s.toHtmlEscaped());
    }
    void paragraph(const QString &s)
    {
        m_html += QStringLiteral("<p>") + s.toHtmlEscaped() + QStringLiteral("</p>\n");
    }
    void links(const QVector<std::pair<QString, QString>> &targets) // file, text
    {
        m_html += QStringLiteral("<ul>\n");
        for (const auto &[file, caption] : targets)
            m_html += QStringLiteral("<li><a href=\"%1\">%2</a></li>\n")
                          .arg(file.toHtmlEscaped(), caption.toHtmlEscaped());
        m_html += QStringLiteral("</ul>\n");
    }

    // A table wider than a phone scrolls sideways by itself, the page stays put.
    void table(const QString &caption, const Row &headings, const std::vector<Line> &lines)
    {
        m_html += QStringLiteral("<div class=\"wide\"><table>\n");
        if (!caption.isEmpty())
            m_html += QStringLiteral("<caption>") + caption.toHtmlEscaped() + QStringLiteral("</caption>\n");
        m_html += QStringLiteral("<thead>");
        row({headings, Line::Kind::Heading});
        m_html += QStringLiteral("</thead>\n<tbody>\n");
        for (const Line &line : lines)
            row(line);
        m_html += QStringLiteral("</tbody></table></div>\n");
    }

    QByteArray finish() const
    {
        return (m_html + QStringLiteral("<footer>Published with Trotwise ") + Version::Number +
                QStringLiteral("</footer>\n</body>\n</html>\n"))
            .toUtf8();
    }

private:
    void row(const Line &line)
    {
        const QString tag = line.kind == Line::Kind::Heading ? QStringLiteral("th") : QStringLiteral("td");
        m_html +=
            line.kind == Line::Kind::Total ? QStringLiteral("<tr class=\"total\">") : QStringLiteral("<tr>");
        for (const Cell &c : line.cells) {
            m_html += u'<' + tag;
            if (c.span > 1)
                m_html += QStringLiteral(" colspan=\"%1\"").arg(c.span);
            if (c.number)
                m_html += QStringLiteral(" class=\"n\"");
            m_html += u'>' + c.html + QStringLiteral("</") + tag + u'>';
        }
        m_html += QStringLiteral("</tr>\n");
    }

    QString m_html;
};

// A division's part of a file name: its code where that is a letter or digit.
QString fileName(const QString &kind, const QString &division)
{
    QString code;
    for (QChar c : division)
        code += c.isLetterOrNumber() && c.unicode() < 128 ? QString(c) : QString::number(c.unicode());
    return kind + u'-' + code + QStringLiteral(".html");
}

QStringList divisions(const QSqlDatabase &db)
{
    QStringList out;
    const ResultRows rows =
        Sql::select(db, QStringLiteral("Reading the divisions"),
                    QStringLiteral("SELECT DISTINCT Division FROM TblTeam ORDER BY Division"));
    for (int r = 0; r < rows.size(); ++r)
        out << rows.text(r, u"Division");
    return out;
}

QByteArray indexPage(const QStringList &divisions, const QDateTime &asOf)
{
    Page page(QStringLiteral("Results"), asOf, true);
    if (divisions.isEmpty())
        page.paragraph(StandingsTable::NoTeams);
    for (const QString &d : divisions) {
        page.heading(2, QStringLiteral("Division ") + d);
        page.links({{fileName(QStringLiteral("standings"), d), QStringLiteral("Team Standings")},
                    {fileName(QStringLiteral("riders"), d), QStringLiteral("Rider Results")},
                    {fileName(QStringLiteral("placings"), d), QStringLiteral("Class Placings")}});
    }
    return page.finish();
}

// The division's teams, best total first, with the places and points they won in each class.
QByteArray standingsPage(const StandingsTable &standings, const QVector<StoredClass> &classes,
                         const QString &division, const QDateTime &asOf)
{
    Page page(QStringLiteral("Team Standings, Division ") + division, asOf);
    if (!standings.nothing.isEmpty()) {
        page.paragraph(standings.nothing);
        return page.finish();
    }
    Row headings{text(QStringLiteral("Team")), number(QStringLiteral("Total"))};
    for (const StoredClass &c : classes)
        headings.push_back({QStringLiteral("<abbr title=\"%1\">%2</abbr>")
                                .arg(c.name.toHtmlEscaped(), QString::number(c.number)),
                            false, 1});
    const MemoryTable &rows = standings.rows;
    std::vector<Line> body;
    for (int r = 0; r < rows.size(); ++r) {
        Row line{text(rows.value(r, u"TeamName").toString()),
                 number(rows.value(r, u"TotalPoints").toString())};
        for (const StoredClass &c : classes) {
            const QString places =
                rows.value(r, QStringLiteral("Placings%1").arg(c.number)).toString().trimmed();
            const QString won = rows.value(r, QStringLiteral("Points%1").arg(c.number)).toString().trimmed();
            line.push_back({places.isEmpty()
                                ? QString()
                                : places.toHtmlEscaped().replace(u',', QStringLiteral(",<wbr>")) +
                                      QStringLiteral(" <b>") + won.toHtmlEscaped() + QStringLiteral("</b>"),
                            false, 1});
        }
        body.push_back({std::move(line)});
    }
    page.paragraph(
        QStringLiteral("Each class shows the places the team's riders won and, in bold, their points."));
    page.table({}, headings, body);
    return page.finish();
}

// Every team of the division: each rider under a heading of its own with the rider's placings
// and total, and the team's total.
QByteArray ridersPage(const ShapedRows &teams, const QString &division, const QDateTime &asOf)
{
    Page page(QStringLiteral("Rider Results, Division ") + division, asOf);
    const Row headings{text(QStringLiteral("Class")), text(QStringLiteral("Judge")),
                       number(QStringLiteral("Place")), number(QStringLiteral("Points"))};
    bool any = false;
    for (int t = 0; t < teams.size(); ++t) {
        if (teams.rows.text(t, u"Division") != division)
            continue;
        any = true;
        const ShapedRows &riders = teams.children[std::size_t(t)];
        std::vector<Line> lines;
        double teamTotal = 0;
        for (int r = 0; r < riders.size(); ++r) {
            lines.push_back(
                {{text((riders.rows.text(r, u"RiderNumber") + u' ' + riders.rows.text(r, u"Rider")).trimmed(),
                       4)},
                 Line::Kind::Heading});
            const ResultRows &placings = riders.children[std::size_t(r)].rows;
            double riderTotal = 0;
            for (int p = 0; p < placings.size(); ++p) {
                riderTotal += placings.value(p, u"Points").toDouble();
                lines.push_back({{text(placings.text(p, u"TblPlacing.ClassNumber") + QStringLiteral(" - ") +
                                       placings.text(p, u"ClassName")),
                                  text(placings.text(p, u"Judge")), number(placings.text(p, u"Place")),
                                  number(points(placings.value(p, u"Points")))}});
            }
            teamTotal += riderTotal;
            lines.push_back(
                {{text(QStringLiteral("Total Points"), 3), number(points(riderTotal))}, Line::Kind::Total});
        }
        lines.push_back(
            {{text(QStringLiteral("Total Team Points"), 3), number(points(teamTotal))}, Line::Kind::Total});
        page.table(teams.rows.text(t, u"TeamName"), headings, lines);
    }
    if (!any)
        page.paragraph(RiderResults::NoTeams);
    return page.finish();
}

// Each placed class of the division, each judge's card of it.
QByteArray placingsPage(const QSqlDatabase &db, const QVector<StoredClass> &classes, const QString &division,
                        const QDateTime &asOf)
{
    Page page(QStringLiteral("Class Placings, Division ") + division, asOf);
    bool any = false;
    for (const StoredClass &c : classes) {
        const ShapedRows judges = PlacingsReports::placingsQuery(c.number, division).run(db);
        if (judges.isEmpty())
            continue;
        any = true;
        page.heading(2, QStringLiteral("Class %1 - %2").arg(c.number).arg(c.name));
        const bool relay = judges.children.front().rows.columnIndex(u"Partner") >= 0;
        Row headings{number(QStringLiteral("Place")), text(QStringLiteral("Rider #")),
                     text(QStringLiteral("Name")), text(QStringLiteral("Team"))};
        if (relay)
            headings.insert(headings.end(),
                            {text(QStringLiteral("Partner #")), text(QStringLiteral("Partner Name"))});
        for (int j = 0; j < judges.size(); ++j) {
            const ResultRows &cards = judges.children[std::size_t(j)].rows;
            std::vector<Line> body;
            for (int p = 0; p < cards.size(); ++p) {
                Row line{number(cards.text(p, u"Place")), text(cards.text(p, u"RiderNumber")),
                         text(cards.text(p, u"Rider")), text(cards.text(p, u"TeamName"))};
                if (relay)
                    line.insert(line.end(),
                                {text(cards.text(p, u"PartnerNumber")), text(cards.text(p, u"Partner"))});
                body.push_back({std::move(line)});
            }
            page.table(QStringLiteral("Judge: ") + judges.rows.text(j, u"Judge"), headings, body);
        }
    }
    if (!any)
        page.paragraph(StandingsTable::NoPlacings);
    return page.finish();
}

} // namespace

std::vector<FolderSwap::File> build(const QSqlDatabase &db, const QDateTime &asOf)
{
    const QVector<StoredClass> classes = ClassTable::read(db);
    const QStringList codes = divisions(db);
    const ShapedRows teams = RiderResults::query().run(db);
    std::vector<FolderSwap::File> files{{QStringLiteral("index.html"), indexPage(codes, asOf)}};
    for (const QString &d : codes) {
        files.push_back({fileName(QStringLiteral("standings"), d),
                         standingsPage(StandingsTable::Build_Standings(db, d), classes, d, asOf)});
        files.push_back({fileName(QStringLiteral("riders"), d), ridersPage(teams, d, asOf)});
        files.push_back({fileName(QStringLiteral("placings"), d), placingsPage(db, classes, d, asOf)});
    }
    return files;
}

QString publish(const QSqlDatabase &db, const QString &folder)
{
    const std::vector<FolderSwap::File> pages = build(db, QDateTime::currentDateTime());
    if (const auto why = FolderSwap::replace(folder, pages, Marker))
        throw std::runtime_error(why->toStdString());
    const std::size_t count = (pages.size() - 1) / 3;
    return QStringLiteral("Published %1 pages of results (%2 %3) to \"%4\".")
        .arg(pages.size())
        .arg(count)
        .arg(count == 1 ? QStringLiteral("division") : QStringLiteral("divisions"))
        .arg(QDir::toNativeSeparators(QFileInfo(folder).absoluteFilePath()));
}

} // namespace ResultsPages
