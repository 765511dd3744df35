// The results folder's pages read back as a browser shows them: the same numbers as the team
// standings and the placings, texts escaped, nothing that runs or fetches, the version at the foot.
#include "meetfile.h"

#include "common/version.h"
#include "judging/resultspages.h"
#include "judging/standingstable.h"

#include <QRegularExpression>

namespace {

// A table as read from a page: its caption and its rows of cell texts.
struct Table
{
    QString caption;
    QVector<QStringList> rows;
};

QString textOf(QString html)
{
    html.remove(QRegularExpression("<[^>]*>"));
    return html.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&amp;", "&");
}

QVector<Table> tables(const QByteArray &page)
{
    static const QRegularExpression table("<table>(.*?)</table>",
                                          QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression caption("<caption>(.*?)</caption>");
    static const QRegularExpression row("<tr[^>]*>(.*?)</tr>");
    static const QRegularExpression cell("<t[hd][^>]*>(.*?)</t[hd]>");
    QVector<Table> out;
    for (const auto &t : table.globalMatch(QString::fromUtf8(page))) {
        Table read{textOf(caption.match(t.captured(1)).captured(1)), {}};
        for (const auto &r : row.globalMatch(t.captured(1))) {
            QStringList cells;
            for (const auto &c : cell.globalMatch(r.captured(1)))
                cells << textOf(c.captured(1));
            read.rows << cells;
        }
        out << read;
    }
    return out;
}

} // namespace

class TstResultsPages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pages_holdTheStandingsAndPlacingsNumbers()
    {
        const MeetFile meet;
        auto b = meet.build();
        const auto oBrien = b.addTeam("O'Brien & <Sons>", "A");
        const auto gold = b.addTeam("Gold", "A");
        b.addTeam("Other", "B");
        const auto zoe = b.addRider(oBrien, "Zoë", "\"Quick\" Ray", "7");
        const auto bo = b.addRider(oBrien, "Bo", "Lee", "8");
        const auto cy = b.addRider(gold, "Cy", "Hale", "9");
        b.addRider(gold, "Di", "Fox", "10"); // placed nowhere
        const auto smith = b.addJudge("Jo", "Smith");
        const auto adams = b.addJudge("Al", "Adams");
        b.addPlacing(1, 1, zoe, "A", smith);
        b.addPlacing(1, 3, zoe, "A", adams);
        b.addPlacing(1, 2, cy, "A", smith);
        b.addPlacing(5, 4, bo, "A", smith);

        std::map<QString, QByteArray> pages;
        for (const FolderSwap::File &f : ResultsPages::build(meet.db(), QDateTime::currentDateTime()))
            pages[f.name] = f.bytes;
        QStringList names;
        for (const auto &[name, bytes] : pages) {
            names << name;
            QVERIFY(bytes.contains("<meta name=\"viewport\""));
            QVERIFY(bytes.contains("<footer>Published with Trotwise " + Version::Number.toUtf8() + "</footer>"));
            QVERIFY2(!bytes.contains("<script") && !bytes.contains("http") && !bytes.contains("<Sons>"),
                     qPrintable(name));
        }
        QCOMPARE(names, QStringList({"index.html", "placings-A.html", "placings-B.html", "riders-A.html",
                                     "riders-B.html", "standings-A.html", "standings-B.html"}));

        // The standings, line by line: team, total, then places and points in each class.
        const StandingsTable standings = StandingsTable::Build_Standings(meet.db(), "A");
        const QVector<Table> standingsPage = tables(pages["standings-A.html"]);
        QCOMPARE(standingsPage.size(), 1);
        const QVector<QStringList> &lines = standingsPage[0].rows;
        QCOMPARE(lines.size(), 1 + standings.rows.size());
        for (int r = 0; r < standings.rows.size(); ++r) {
            QStringList expected{standings.rows.value(r, u"TeamName").toString(),
                                 standings.rows.value(r, u"TotalPoints").toString()};
            for (int n = 1; n <= StandingsTable::Classes; ++n)
                expected << (standings.rows.value(r, QStringLiteral("Placings%1").arg(n)).toString() + u' ' +
                             standings.rows.value(r, QStringLiteral("Points%1").arg(n)).toString())
                                .trimmed();
            QCOMPARE(lines[r + 1], expected);
        }
        QCOMPARE(lines[1].mid(0, 3), QStringList({"O'Brien & <Sons>", "25", "1,3 18"}));

        // Rider results: each rider's total and the team's, the same as the standings' total.
        const QVector<Table> riders = tables(pages["riders-A.html"]);
        QCOMPARE(riders.size(), 2);
        QCOMPARE(riders[1].caption, "O'Brien & <Sons>");
        QCOMPARE(riders[1].rows,
                 QVector<QStringList>({{"Class", "Judge", "Place", "Points"},
                                       {"7 Zoë \"Quick\" Ray"},
                                       {"1 - Western Fitting and Showing", "Jo Smith", "1", "10"},
                                       {"1 - Western Fitting and Showing", "Al Adams", "3", "8"},
                                       {"Total Points", "18"},
                                       {"8 Bo Lee"},
                                       {"5 - Saddle Seat Pattern", "Jo Smith", "4", "7"},
                                       {"Total Points", "7"},
                                       {"Total Team Points", "25"}}));
        QCOMPARE(riders[0].rows.last(), QStringList({"Total Team Points", "9"}));
        const qsizetype di = riders[0].rows.indexOf(QStringList{"10 Di Fox"});
        QCOMPARE(riders[0].rows.value(di + 1), QStringList({"Total Points", "0"}));

        // The placings: a card per judge of each placed class.
        const QVector<Table> placings = tables(pages["placings-A.html"]);
        QCOMPARE(placings.size(), 3);
        QCOMPARE(placings[0].caption, "Judge: Al Adams");
        QCOMPARE(placings[1].rows, QVector<QStringList>({{"Place", "Rider #", "Name", "Team"},
                                                         {"1", "7", "Zoë \"Quick\" Ray", "O'Brien & <Sons>"},
                                                         {"2", "9", "Cy Hale", "Gold"}}));

        // The index leads to every division's pages.
        static const QRegularExpression link("href=\"([^\"]+)\"");
        QStringList linked;
        for (const auto &l : link.globalMatch(QString::fromUtf8(pages["index.html"])))
            linked << l.captured(1);
        linked.sort();
        QCOMPARE(linked, names.mid(1));
    }
};

QTEST_GUILESS_MAIN(TstResultsPages)
#include "tst_resultspages.moc"
