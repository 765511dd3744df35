#include "judging/resultspages.h"

#include "common/ridernumber.h"
#include "db/classtable.h"
#include "db/sql.h"
#include "db/writetransaction.h"
#include "judging/placingsreports.h"
#include "judging/resultshtml.h"
#include "judging/riderresults.h"
#include "judging/standingstable.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <map>
#include <numeric>
#include <set>
#include <stdexcept>
#include <tuple>

namespace ResultsPages {
namespace {

using namespace ResultsHtml;

enum class Kind { Standings, Riders, Placings };

// A division's page: its kind and the division's code where that is a letter or digit.
QString fileName(Kind kind, const QString &division)
{
    static const QString Kinds[] = {QStringLiteral("standings"), QStringLiteral("riders"),
                                    QStringLiteral("placings")};
    QString code;
    for (QChar c : division)
        code += c.isLetterOrNumber() && c.unicode() < 128 ? QString(c) : QString::number(c.unicode());
    return Kinds[int(kind)] + u'-' + code + QStringLiteral(".html");
}

// Every page of a division leads to the index and to the division's other pages.
std::vector<Link> divisionNav(const QString &division)
{
    return {{QStringLiteral("index.html"), QStringLiteral("All divisions")},
            {fileName(Kind::Standings, division), QStringLiteral("Team Standings")},
            {fileName(Kind::Riders, division), QStringLiteral("Rider Results")},
            {fileName(Kind::Placings, division), QStringLiteral("Class Placings")}};
}

QString classAnchor(int number)
{
    return QStringLiteral("class-%1").arg(number);
}

// How far a division has gone: the classes it has entries or placings in, and those placed.
struct Progress
{
    std::set<int> running;
    std::set<int> placed;

    QString text() const
    {
        if (placed.empty())
            return QStringLiteral("no class placed yet");
        return QStringLiteral("after %1 of %2 %3 placed")
            .arg(placed.size())
            .arg(running.size())
            .arg(running.size() == 1 ? QStringLiteral("class") : QStringLiteral("classes"));
    }
};

// By division, in capitals (divisions compare without regard to case).
std::map<QString, Progress> progressByDivision(const QSqlDatabase &db)
{
    std::map<QString, Progress> out;
    const ResultRows rows = Sql::select(
        db, QStringLiteral("Reading how far the classes have gone"),
        QStringLiteral(
            "SELECT TblTeam.Division, TblEntry.ClassNumber, 0 FROM TblEntry "
            "INNER JOIN TblPerson ON TblPerson.RiderIndex = TblEntry.RiderIndex "
            "INNER JOIN TblTeam ON TblTeam.TeamCode = TblPerson.TeamCode "
            "GROUP BY TblTeam.Division, TblEntry.ClassNumber "
            "UNION ALL SELECT Division, ClassNumber, 1 FROM TblPlacing GROUP BY Division, ClassNumber"));
    for (const auto &row : rows.rows) {
        Progress &p = out[row[0].toString().toUpper()];
        p.running.insert(row[1].toInt());
        if (row[2].toInt() == 1)
            p.placed.insert(row[1].toInt());
    }
    return out;
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

QString points(const QVariant &value)
{
    return QString::number(value.toDouble());
}

QByteArray indexPage(const QStringList &divisions, const std::map<QString, Progress> &progress,
                     const QDateTime &asOf)
{
    Page page(QStringLiteral("Results"), asOf, {});
    if (divisions.isEmpty())
        page.paragraph(StandingsTable::NoTeams);
    for (const QString &d : divisions) {
        page.heading(2, QStringLiteral("Division ") + d);
        const auto found = progress.find(d.toUpper());
        QString status = found == progress.end() ? Progress().text() : found->second.text();
        page.paragraph(status.replace(0, 1, status.at(0).toUpper()) + u'.');
        std::vector<Link> links = divisionNav(d);
        links.erase(links.begin());
        page.links(links);
    }
    return page.finish();
}

// Places by total, best first: equal totals share the better place, each marked "=".
QStringList placesOf(const MemoryTable &rows)
{
    QStringList out;
    for (int r = 0, place = 1; r < rows.size(); ++r) {
        const auto total = [&](int i) { return rows.value(i, u"TotalPoints").toLongLong(); };
        if (r > 0 && total(r) != total(r - 1))
            place = r + 1;
        const bool tied =
            (r > 0 && total(r) == total(r - 1)) || (r + 1 < rows.size() && total(r) == total(r + 1));
        out << QString::number(place) + (tied ? QStringLiteral("=") : QString());
    }
    return out;
}

// The division's teams, best total first, with their places and the points and places they won
// in each class the division runs; the class names below, each leading to its placings.
QByteArray standingsPage(const StandingsTable &standings, const QVector<StoredClass> &classes,
                         const Progress &progress, const QString &division, const QDateTime &asOf)
{
    Page page(QStringLiteral("Team Standings, Division ") + division, asOf, progress.text(),
              divisionNav(division), fileName(Kind::Standings, division),
              QStringLiteral("body{max-width:none}@media print{@page{size:landscape}}"));
    if (!standings.nothing.isEmpty()) {
        page.paragraph(standings.nothing);
        return page.finish();
    }
    const QString placings = fileName(Kind::Placings, division).toHtmlEscaped();
    std::vector<StoredClass> shown;
    std::copy_if(classes.begin(), classes.end(), std::back_inserter(shown),
                 [&](const StoredClass &c) { return progress.running.count(c.number) > 0; });
    Row headings{{QStringLiteral("Place"), Cell::Kind::Place},
                 {QStringLiteral("Team"), Cell::Kind::Team},
                 number(QStringLiteral("Total"))};
    for (const StoredClass &c : shown)
        headings.push_back({QStringLiteral("<a href=\"%1#%2\" title=\"%3\">%4</a>")
                                .arg(placings, classAnchor(c.number), c.name.toHtmlEscaped())
                                .arg(c.number),
                            Cell::Kind::Class});
    const MemoryTable &rows = standings.rows;
    const QStringList places = placesOf(rows);
    std::vector<Line> body;
    for (int r = 0; r < rows.size(); ++r) {
        Row line{{places[r], Cell::Kind::Place},
                 {rows.value(r, u"TeamName").toString().toHtmlEscaped(), Cell::Kind::Team},
                 number(rows.value(r, u"TotalPoints").toString())};
        for (const StoredClass &c : shown) {
            const QString placed =
                rows.value(r, QStringLiteral("Placings%1").arg(c.number)).toString().trimmed();
            const QString won = rows.value(r, QStringLiteral("Points%1").arg(c.number)).toString().trimmed();
            line.push_back({placed.isEmpty()
                                ? QString()
                                : QStringLiteral("<b>%1</b> <small>%2</small>")
                                      .arg(won.toHtmlEscaped(),
                                           placed.toHtmlEscaped().replace(u',', QStringLiteral(",<wbr>"))),
                            Cell::Kind::Class});
        }
        body.push_back({std::move(line)});
    }
    page.table({}, headings, body, {}, QStringLiteral("standings"));
    page.paragraph(
        QStringLiteral("Each class shows the team's points in bold and, below them, the places its "
                       "riders won. Equal totals share a place, marked \"=\"."));
    std::vector<Link> legend;
    for (const StoredClass &c : shown)
        legend.push_back(
            {placings + u'#' + classAnchor(c.number), QString::number(c.number) + u' ' + c.name});
    page.links(legend, QStringLiteral("Classes"));
    return page.finish();
}

// A team's riders by number, taken as a number: numbered riders first, then any whose number is
// no number, then those without one, by name.
std::vector<int> inNumberOrder(const ResultRows &riders)
{
    std::vector<int> order(std::size_t(riders.size()));
    std::iota(order.begin(), order.end(), 0);
    const auto key = [&](int r) {
        const QString text = riders.text(r, u"RiderNumber").trimmed();
        const auto value = RiderNumber::convert(text);
        return std::make_tuple(text.isEmpty() ? 2
                               : value        ? 0
                                              : 1,
                               int(value.value_or(0)), text, riders.text(r, u"Rider").toLower());
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
    return order;
}

// Every team of the division, each reached from the list at the top: each rider under a heading
// of its own with the rider's placings and total, and the team's total.
QByteArray ridersPage(const ShapedRows &teams, const Progress &progress, const QString &division,
                      const QDateTime &asOf)
{
    Page page(QStringLiteral("Rider Results, Division ") + division, asOf, progress.text(),
              divisionNav(division), fileName(Kind::Riders, division));
    std::vector<int> ours;
    std::vector<Link> list;
    for (int t = 0; t < teams.size(); ++t)
        if (teams.rows.text(t, u"Division") == division) {
            ours.push_back(t);
            list.push_back({QStringLiteral("#team-") + teams.rows.text(t, u"TeamCode"),
                            teams.rows.text(t, u"TeamName")});
        }
    if (ours.empty()) {
        page.paragraph(RiderResults::NoTeams);
        return page.finish();
    }
    page.links(list, QStringLiteral("Teams"), QStringLiteral("teams"));
    const Row headings{text(QStringLiteral("Class")), text(QStringLiteral("Judge")),
                       number(QStringLiteral("Place")), number(QStringLiteral("Points"))};
    for (int t : ours) {
        const ShapedRows &riders = teams.children[std::size_t(t)];
        std::vector<Line> lines;
        double teamTotal = 0;
        for (int r : inNumberOrder(riders.rows)) {
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
        page.table(teams.rows.text(t, u"TeamName"), headings, lines,
                   QStringLiteral("team-") + teams.rows.text(t, u"TeamCode"));
        page.jump({QStringLiteral("#teams"), QStringLiteral("Back to the teams")});
    }
    return page.finish();
}

// Each class the division runs, reached from the list at the top: each judge's card of it with
// the points of every place; at the end the classes not placed yet.
QByteArray placingsPage(const QSqlDatabase &db, const QVector<StoredClass> &classes, const Progress &progress,
                        const QString &division, const QDateTime &asOf)
{
    Page page(QStringLiteral("Class Placings, Division ") + division, asOf, progress.text(),
              divisionNav(division), fileName(Kind::Placings, division));
    std::vector<StoredClass> shown;
    std::vector<Link> list;
    for (const StoredClass &c : classes)
        if (progress.running.count(c.number)) {
            shown.push_back(c);
            list.push_back(
                {u'#' + classAnchor(c.number),
                 QString::number(c.number) + u' ' + c.name +
                     (progress.placed.count(c.number) ? QString() : QStringLiteral(" (not placed yet)"))});
        }
    if (progress.placed.empty())
        page.paragraph(StandingsTable::NoPlacings);
    if (shown.empty())
        return page.finish();
    page.links(list, QStringLiteral("Classes"), QStringLiteral("classes"));
    std::vector<Line> waiting; // the classes not placed yet, in a table of their own at the end
    for (const StoredClass &c : shown) {
        const ShapedRows judges = PlacingsReports::placingsQuery(c.number, division).run(db);
        if (judges.isEmpty()) {
            waiting.push_back({{number(QString::number(c.number)), text(c.name)},
                               Line::Kind::Plain,
                               classAnchor(c.number)});
            continue;
        }
        page.heading(2, QStringLiteral("Class %1 - %2").arg(c.number).arg(c.name), classAnchor(c.number));
        const bool relay = judges.children.front().rows.columnIndex(u"Partner") >= 0;
        Row headings{number(QStringLiteral("Place")), text(QStringLiteral("Rider #")),
                     text(QStringLiteral("Name")), text(QStringLiteral("Team"))};
        if (relay)
            headings.insert(headings.end(),
                            {text(QStringLiteral("Partner #")), text(QStringLiteral("Partner Name"))});
        headings.push_back(number(QStringLiteral("Points")));
        for (int j = 0; j < judges.size(); ++j) {
            const ResultRows &cards = judges.children[std::size_t(j)].rows;
            std::vector<Line> body;
            for (int p = 0; p < cards.size(); ++p) {
                Row line{number(cards.text(p, u"Place")), text(cards.text(p, u"RiderNumber")),
                         text(cards.text(p, u"Rider")), text(cards.text(p, u"TeamName"))};
                if (relay)
                    line.insert(line.end(),
                                {text(cards.text(p, u"PartnerNumber")), text(cards.text(p, u"Partner"))});
                line.push_back(number(points(cards.value(p, u"Points"))));
                body.push_back({std::move(line)});
            }
            page.table(QStringLiteral("Judge: ") + judges.rows.text(j, u"Judge"), headings, body);
        }
        page.jump({QStringLiteral("#classes"), QStringLiteral("Back to the classes")});
    }
    if (!waiting.empty())
        page.table(QStringLiteral("Not placed yet"),
                   {number(QStringLiteral("Class")), text(QStringLiteral("Name"))}, waiting);
    return page.finish();
}

} // namespace

std::vector<FolderSwap::File> build(const QSqlDatabase &db, const QDateTime &asOf)
{
    // Every page from one state of the meet, whatever other stations save meanwhile.
    const ReadTransaction oneState(db, QStringLiteral("Reading the results"));
    const QVector<StoredClass> classes = ClassTable::read(db);
    const QStringList codes = divisions(db);
    const std::map<QString, Progress> progress = progressByDivision(db);
    const ShapedRows teams = RiderResults::query().run(db);
    std::vector<FolderSwap::File> files{{QStringLiteral("index.html"), indexPage(codes, progress, asOf)}};
    for (const QString &d : codes) {
        const auto found = progress.find(d.toUpper());
        const Progress &p = found == progress.end() ? Progress() : found->second;
        files.push_back({fileName(Kind::Standings, d),
                         standingsPage(StandingsTable::Build_Standings(db, d), classes, p, d, asOf)});
        files.push_back({fileName(Kind::Riders, d), ridersPage(teams, p, d, asOf)});
        files.push_back({fileName(Kind::Placings, d), placingsPage(db, classes, p, d, asOf)});
    }
    return files;
}

QString publish(const QSqlDatabase &db, const QString &folder, const std::vector<FolderSwap::File> &extra)
{
    std::vector<FolderSwap::File> files = build(db, QDateTime::currentDateTime());
    const std::size_t pages = files.size();
    QStringList extraNames;
    for (const FolderSwap::File &f : extra) {
        files.push_back(f);
        extraNames << f.name;
    }
    if (const auto why = FolderSwap::replace(folder, files, Marker))
        throw std::runtime_error(why->toStdString());
    const std::size_t count = (pages - 1) / 3;
    return QStringLiteral("Published %1 pages of results (%2 %3)%4 to \"%5\".")
        .arg(pages)
        .arg(count)
        .arg(count == 1 ? QStringLiteral("division") : QStringLiteral("divisions"))
        .arg(extraNames.isEmpty() ? QString()
                                  : QStringLiteral(" with ") + extraNames.join(QStringLiteral(", ")))
        .arg(QDir::toNativeSeparators(QFileInfo(folder).absoluteFilePath()));
}

} // namespace ResultsPages
