#include "app/historyreport.h"

#include <QHash>

namespace HistoryReport {

QString shownTime(const QDateTime &savedAt)
{
    // The station's offset from UTC, looked up once an hour of the day rather than once a line
    // (clocks change on the hour).
    static thread_local QHash<qint64, int> offsets;
    const qint64 hour = savedAt.toSecsSinceEpoch() / 3600;
    auto offset = offsets.constFind(hour);
    if (offset == offsets.cend())
        offset = offsets.insert(hour, savedAt.toLocalTime().offsetFromUtc());
    const QDateTime local = savedAt.toUTC().addSecs(*offset);
    const QDate d = local.date();
    const QTime t = local.time();
    return QStringLiteral("%1-%2-%3 %4:%5:%6")
        .arg(d.year(), 4, 10, QLatin1Char('0'))
        .arg(d.month(), 2, 10, QLatin1Char('0'))
        .arg(d.day(), 2, 10, QLatin1Char('0'))
        .arg(t.hour(), 2, 10, QLatin1Char('0'))
        .arg(t.minute(), 2, 10, QLatin1Char('0'))
        .arg(t.second(), 2, 10, QLatin1Char('0'));
}

ShapedRows rows(const QVector<Journal::Line> &lines)
{
    ResultRows flat;
    flat.columns = {QStringLiteral("Line"), QStringLiteral("Saved"), QStringLiteral("Station"),
                    QStringLiteral("Kind"), QStringLiteral("What")};
    flat.rows.reserve(lines.size());
    for (const Journal::Line &l : lines)
        flat.rows.push_back({l.id, shownTime(l.savedAt), l.station, l.kind, l.what});
    return ShapedRows::flat(std::move(flat), QStringLiteral("Lines"));
}

Report::Layout RptHistory(const QString &chosenBy)
{
    const Report::Font title{QStringLiteral("Arial"), 16, true};
    const Report::Font heading{QStringLiteral("Arial"), 11, true};
    const Report::Font body{QStringLiteral("Arial"), 9};
    const Report::Font small{QStringLiteral("Arial"), 8, false, true};

    Report::Layout rpt;
    rpt.caption = QStringLiteral("History");
    rpt.title = QStringLiteral("History");
    const int width = rpt.printableWidth();
    const auto centred = Qt::AlignHCenter | Qt::AlignTop;

    rpt.reportHeader.height = 1020;
    rpt.reportHeader.label(QStringLiteral("LblTitle"), QStringLiteral("History of the Saves"), {0, 0, width, 480}, title)
        .alignment = centred;
    rpt.reportHeader
        .label(QStringLiteral("LblShow"), QStringLiteral("KORV State Championship, ") + chosenBy,
               {0, 540, width, 345}, heading)
        .alignment = centred;

    // Line, saved, station, kind, what: the columns' left edges.
    const int at[] = {0, 720, 2640, 4320, 5760};
    rpt.pageHeader.height = 300;
    const char *headings[] = {"Line", "Saved", "Station", "Kind", "What"};
    for (int c = 0; c < 5; ++c)
        rpt.pageHeader.label(QStringLiteral("LblHeading%1").arg(c), QString::fromLatin1(headings[c]),
                             {at[c], 0, (c < 4 ? at[c + 1] : width) - at[c] - 60, 285}, small);

    rpt.detail.height = 270;
    const char *fields[] = {"Line", "Saved", "Station", "Kind", "What"};
    for (int c = 0; c < 5; ++c)
        rpt.detail
            .field(QStringLiteral("txt%1").arg(QString::fromLatin1(fields[c])), QString::fromLatin1(fields[c]),
                   {at[c], 0, (c < 4 ? at[c + 1] : width) - at[c] - 60, 255}, body)
            .canGrow = true;

    rpt.pageFooter.height = 300;
    rpt.pageFooter.label(QStringLiteral("LblPage"), QStringLiteral("Page %p of %P"), {0, 0, width, 285}, body)
        .alignment = centred;
    return rpt;
}

} // namespace HistoryReport
