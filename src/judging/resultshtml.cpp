#include "judging/resultshtml.h"

#include "common/version.h"

#include <QLocale>

namespace ResultsHtml {
namespace {

const QString Show = QStringLiteral("KORV State Championship");
constexpr int RefreshSeconds = 60;

// Links and tap targets at least 24 px tall; the first columns of the standings stay in view
// while the table scrolls sideways (each cell draws its top and left border, which the cell
// after it cannot paint over); a printout drops the links and what only a screen needs.
const char *const Style = R"(
body{font-family:Arial,Helvetica,sans-serif;color:#000;background:#fff;margin:0 auto;padding:8px;max-width:60em;line-height:1.35}
h1{font-size:1.4em;margin:0.3em 0}h2{font-size:1.15em;margin:1.2em 0 0.3em;break-after:avoid}
a{color:#0645ad}
nav{margin:0 0 0.4em}
nav a,nav strong,ul.links a{display:inline-block;min-height:24px;line-height:24px;padding:4px 0;margin-right:1em}
ul.links{list-style:none;padding:0;margin:0.2em 0 0.8em;columns:15em}
.wide{overflow-x:auto}
table{border-collapse:separate;border-spacing:0;margin:0.3em 0 0.6em;border-bottom:1px solid #888;border-right:1px solid #888}
caption{text-align:left;font-weight:bold;padding:0.3em 0}
th,td{border-left:1px solid #888;border-top:1px solid #888;padding:0.2em 0.4em;text-align:left;vertical-align:top;background:#fff}
th{background:#eee}
th a{display:block;min-width:24px;min-height:24px;line-height:24px;text-align:center}
.n{text-align:right}
.total td{font-weight:bold}
td small{display:block;font-size:0.8em}
.pl,.tm{position:sticky;z-index:1}
.pl{left:0;width:3.6em;min-width:3.6em;max-width:3.6em;box-sizing:border-box;white-space:nowrap}
.tm{left:3.6em;min-width:6em;max-width:11em}
td.c{min-width:3em;text-align:center}
p.top a{display:inline-block;min-height:24px;line-height:24px}
.printed{display:none}
footer{margin-top:2em;font-size:0.8em;color:#555}
@media print{nav,.noprint{display:none}.wide{overflow:visible}.printed{display:table-row}.pl,.tm{position:static}tr{break-inside:avoid}a{color:#000;text-decoration:none}}
)";

QString timeText(const QDateTime &asOf)
{
    return QLocale(QLocale::English).toString(asOf, QStringLiteral("H:mm 'on' d MMMM yyyy"));
}

} // namespace

Cell text(const QString &s, int span)
{
    return {s.toHtmlEscaped(), Cell::Kind::Text, span};
}

Cell number(const QString &s)
{
    return {s.toHtmlEscaped(), Cell::Kind::Number, 1};
}

QString asOfText(const QDateTime &asOf)
{
    return QStringLiteral("Results as of ") + timeText(asOf);
}

Page::Page(const QString &title, const QDateTime &asOf, const QString &progress, const std::vector<Link> &nav,
           const QString &current, const QString &extraStyle)
    : m_stamp(title + QStringLiteral(", results as of ") + timeText(asOf))
{
    const bool index = nav.empty();
    m_html = QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                            "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                            "<meta http-equiv=\"refresh\" content=\"%1\">\n<title>")
                 .arg(RefreshSeconds) +
             (index ? Show : title + QStringLiteral(" - ") + Show).toHtmlEscaped() +
             QStringLiteral("</title>\n<style>") + QString::fromLatin1(Style) + extraStyle +
             QStringLiteral("</style>\n</head>\n<body>\n");
    if (!index) {
        m_html += QStringLiteral("<nav>");
        for (const auto &[file, words] : nav)
            m_html +=
                file == current
                    ? QStringLiteral("<strong aria-current=\"page\">%1</strong>\n").arg(words.toHtmlEscaped())
                    : QStringLiteral("<a href=\"%1\">%2</a>\n")
                          .arg(file.toHtmlEscaped(), words.toHtmlEscaped());
        m_html += QStringLiteral("</nav>\n");
    }
    heading(1, index ? Show : title, QStringLiteral("top"));
    m_html +=
        QStringLiteral("<p>") +
        (asOfText(asOf) + (progress.isEmpty() ? QString() : QStringLiteral(", ") + progress))
            .toHtmlEscaped() +
        QStringLiteral(".<span class=\"noprint\"> The page refreshes itself every minute.</span></p>\n");
}

void Page::heading(int level, const QString &s, const QString &id)
{
    m_html += QStringLiteral("<h%1%2>%3</h%1>\n")
                  .arg(level)
                  .arg(id.isEmpty() ? QString() : QStringLiteral(" id=\"%1\"").arg(id.toHtmlEscaped()))
                  .arg(s.toHtmlEscaped());
}

void Page::paragraph(const QString &s, const QString &cssClass)
{
    m_html +=
        (cssClass.isEmpty() ? QStringLiteral("<p>") : QStringLiteral("<p class=\"%1\">").arg(cssClass)) +
        s.toHtmlEscaped() + QStringLiteral("</p>\n");
}

void Page::links(const std::vector<Link> &targets, const QString &heading, const QString &id)
{
    if (!heading.isEmpty())
        this->heading(2, heading, id);
    m_html += QStringLiteral("<ul class=\"links\">\n");
    for (const auto &[file, words] : targets)
        m_html += QStringLiteral("<li><a href=\"%1\">%2</a></li>\n")
                      .arg(file.toHtmlEscaped(), words.toHtmlEscaped());
    m_html += QStringLiteral("</ul>\n");
}

void Page::jump(const Link &to)
{
    m_html += QStringLiteral("<p class=\"top noprint\"><a href=\"%1\">%2</a></p>\n")
                  .arg(to.first.toHtmlEscaped(), to.second.toHtmlEscaped());
}

void Page::table(const QString &caption, const Row &headings, const std::vector<Line> &lines,
                 const QString &id, const QString &cssClass)
{
    m_html += QStringLiteral("<div class=\"wide\"><table");
    if (!id.isEmpty())
        m_html += QStringLiteral(" id=\"%1\"").arg(id.toHtmlEscaped());
    if (!cssClass.isEmpty())
        m_html += QStringLiteral(" class=\"%1\"").arg(cssClass);
    m_html += QStringLiteral(">\n");
    if (!caption.isEmpty())
        m_html += QStringLiteral("<caption>") + caption.toHtmlEscaped() + QStringLiteral("</caption>\n");
    int columns = 0;
    for (const Cell &c : headings)
        columns += c.span;
    m_html += QStringLiteral("<thead><tr class=\"printed\"><th colspan=\"%1\">%2</th></tr>\n")
                  .arg(columns)
                  .arg(m_stamp.toHtmlEscaped());
    row({headings, Line::Kind::Heading});
    m_html += QStringLiteral("</thead>\n<tbody>\n");
    for (const Line &line : lines)
        row(line);
    m_html += QStringLiteral("</tbody></table></div>\n");
}

QByteArray Page::finish() const
{
    return (m_html + QStringLiteral("<footer>Published with Trotwise ") + Version::Number +
            QStringLiteral("</footer>\n</body>\n</html>\n"))
        .toUtf8();
}

void Page::row(const Line &line)
{
    const QString tag = line.kind == Line::Kind::Heading ? QStringLiteral("th") : QStringLiteral("td");
    m_html += QStringLiteral("<tr");
    if (!line.id.isEmpty())
        m_html += QStringLiteral(" id=\"%1\"").arg(line.id.toHtmlEscaped());
    m_html += line.kind == Line::Kind::Total ? QStringLiteral(" class=\"total\">") : QStringLiteral(">");
    for (const Cell &c : line.cells) {
        m_html += u'<' + tag;
        if (c.span > 1)
            m_html += QStringLiteral(" colspan=\"%1\"").arg(c.span);
        static const QString Classes[] = {
            {}, QStringLiteral("n"), QStringLiteral("pl"), QStringLiteral("tm"), QStringLiteral("c")};
        if (c.kind != Cell::Kind::Text)
            m_html += QStringLiteral(" class=\"%1\"").arg(Classes[int(c.kind)]);
        m_html += u'>' + c.html + QStringLiteral("</") + tag + u'>';
    }
    m_html += QStringLiteral("</tr>\n");
}

} // namespace ResultsHtml
