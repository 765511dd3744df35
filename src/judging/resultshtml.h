#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <utility>
#include <vector>

// The markup of the published results pages: a page with its head, the links between pages, the
// time of the results, headings, lists of links and tables. Plain HTML that reads on a phone and
// prints cleanly: no scripts, nothing fetched, every text escaped on the way in.
namespace ResultsHtml {

// A table cell: its markup, and what it is.
struct Cell
{
    enum class Kind { Text, Number, Place, Team, Class }; // place and team stay in view sideways
    QString html;
    Kind kind = Kind::Text;
    int span = 1;
};

Cell text(const QString &s, int span = 1);
Cell number(const QString &s);

using Row = std::vector<Cell>;

// A line of a table's body: plain, a heading within it (a rider's name), or a total.
struct Line
{
    enum class Kind { Plain, Heading, Total };
    Row cells;
    Kind kind = Kind::Plain;
    QString id; // a place on the page a link leads to
};

// A link: where to, and its words.
using Link = std::pair<QString, QString>;

// "Results as of 14:05 on 7 December 2026"
QString asOfText(const QDateTime &asOf);

class Page
{
public:
    // The head, the way to the other pages (none on the index, the current page not a link),
    // the heading and a line with the time of the results and how far the meet has gone. The
    // page refreshes itself every minute.
    Page(const QString &title, const QDateTime &asOf, const QString &progress,
         const std::vector<Link> &nav = {}, const QString &current = {}, const QString &extraStyle = {});

    void heading(int level, const QString &s, const QString &id = {});
    void paragraph(const QString &s, const QString &cssClass = {});
    // Links as a list of tap-sized targets; a heading above it when given (with the id).
    void links(const std::vector<Link> &targets, const QString &heading = {}, const QString &id = {});
    // A link of its own line, left out of a printout ("Back to the teams").
    void jump(const Link &to);
    // A table that scrolls sideways by itself where it is wider than the screen. Printed, every
    // page it runs onto is headed by its column headings under the time of the results.
    void table(const QString &caption, const Row &headings, const std::vector<Line> &lines,
               const QString &id = {}, const QString &cssClass = {});

    QByteArray finish() const;

private:
    void row(const Line &line);

    QString m_html;
    QString m_stamp; // what a printed page shows above each table's headings
};

} // namespace ResultsHtml
