// The results folder's pages read back as a browser shows them: the same numbers as the team
// standings and the placings, places with ties, riders in number order, every link leading to a
// page and a place that exist, texts escaped, nothing that runs or fetches, the version at the foot;
// and every page of a publish from one state of the meet while another station saves placings.
#include "meetfile.h"

#include "common/version.h"
#include "db/writetransaction.h"
#include "judging/resultspages.h"
#include "judging/resultspublisher.h"
#include "judging/standingstable.h"

#include <QRegularExpression>
#include <QThread>

#include <atomic>

namespace {

// A table as read from a page: its caption, the time a printout heads it with, its rows of cell texts.
struct Table
{
    QString caption;
    QString printed;
    QVector<QStringList> rows;
};

QString textOf(QString html)
{
    html.remove(QRegularExpression("<[^>]*>"));
    return html.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&amp;", "&");
}

QVector<Table> tables(const QByteArray &page)
{
    static const QRegularExpression table("<table[^>]*>(.*?)</table>",
                                          QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression caption("<caption>(.*?)</caption>");
    static const QRegularExpression row("<tr([^>]*)>(.*?)</tr>");
    static const QRegularExpression cell("<t[hd][^>]*>(.*?)</t[hd]>");
    QVector<Table> out;
    for (const auto &t : table.globalMatch(QString::fromUtf8(page))) {
        Table read{textOf(caption.match(t.captured(1)).captured(1)), {}, {}};
        for (const auto &r : row.globalMatch(t.captured(1))) {
            QStringList cells;
            for (const auto &c : cell.globalMatch(r.captured(2)))
                cells << textOf(c.captured(1)).simplified();
            if (r.captured(1).contains("printed"))
                read.printed = cells.join(u' ');
            else
                read.rows << cells;
        }
        out << read;
    }
    return out;
}

std::map<QString, QByteArray> pagesOf(const QSqlDatabase &db)
{
    std::map<QString, QByteArray> pages;
    for (const FolderSwap::File &f : ResultsPages::build(db, QDateTime(QDate(2026, 12, 7), QTime(14, 5))))
        pages[f.name] = f.bytes;
    return pages;
}

// Each team's total on the standings page and on the rider results page, by team name.
std::pair<QMap<QString, QString>, QMap<QString, QString>> teamTotals(std::map<QString, QByteArray> &pages)
{
    QMap<QString, QString> standings, riders;
    for (const QStringList &line : tables(pages["standings-A.html"]).value(0).rows.mid(1))
        standings[line.value(1)] = line.value(2);
    for (const Table &team : tables(pages["riders-A.html"]))
        riders[team.caption] = team.rows.last().last();
    return {standings, riders};
}

// Saves a class's placings over and over from a connection of its own, as another station
// would: place 1 goes to one rider and then to another, each of a different team.
class PlacingSaver : public QThread
{
public:
    PlacingSaver(QString location, std::int32_t first, std::int32_t second, std::int32_t judge)
        : m_location(std::move(location)), m_riders{first, second}, m_judge(judge)
    {
    }
    ~PlacingSaver() override { finish(); }
    void finish()
    {
        stop = true;
        wait();
    }
    std::atomic<bool> stop = false;
    std::atomic<int> saves = 0;
    QString failure;

protected:
    void run() override
    {
        try {
            DbConnection station;
            station.open(m_location, DbConnection::Mode::ReadWrite);
            const QSqlDatabase db = station.database();
            if (!Engine::onServer(db)) // saves as fast as a disk without a cache flush allows
                Sql::exec(db, "test", "PRAGMA synchronous = OFF");
            for (int n = 0; !stop; ++n) {
                WriteTransaction::run(db, "saving placings", {"TblPlacing"}, [&] {
                    Sql::exec(db, "test", "DELETE FROM TblPlacing WHERE ClassNumber = 2");
                    MeetBuilder(db).addPlacing(2, 1, m_riders[n % 2], "A", m_judge);
                });
                ++saves;
                QThread::msleep(1); // a station saves often, but not without a pause
            }
        } catch (const std::exception &e) {
            failure = QString::fromUtf8(e.what());
        }
    }

private:
    QString m_location;
    std::int32_t m_riders[2];
    std::int32_t m_judge;
};

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
        const auto ivy = b.addTeam("Ivy", "A");
        b.addTeam("Zero", "A");
        b.addTeam("Other", "B");
        const auto zoe = b.addRider(oBrien, "Zoë", "\"Quick\" Ray", "7");
        const auto bo = b.addRider(oBrien, "Bo", "Lee", "8");
        b.addRider(oBrien, "Al", "Tenth", "10");
        b.addRider(gold, "Di", "Fox", "10"); // placed nowhere
        const auto cy = b.addRider(gold, "Cy", "Hale", "9");
        const auto ed = b.addRider(ivy, "Ed", "Ash", "");
        const auto smith = b.addJudge("Jo", "Smith");
        const auto adams = b.addJudge("Al", "Adams");
        b.addPlacing(1, 1, zoe, "A", smith);
        b.addPlacing(1, 3, zoe, "A", adams);
        b.addPlacing(1, 2, cy, "A", smith);
        b.addPlacing(5, 4, bo, "A", smith);
        b.addPlacing(5, 2, ed, "A", adams);
        b.addEntry(3, cy); // entered, not placed yet

        std::map<QString, QByteArray> pages = pagesOf(meet.db());
        QStringList names;
        for (const auto &[name, bytes] : pages) {
            names << name;
            QVERIFY(bytes.contains("<footer>Published with Trotwise " + Version::Number.toUtf8() + "</footer>"));
            for (const char *must :
                 {"<meta name=\"viewport\"", "<meta http-equiv=\"refresh\" content=\"60\">",
                  "Results as of 14:05 on 7 December 2026"})
                QVERIFY2(bytes.contains(must), qPrintable(name + ": " + must));
            QVERIFY2(!bytes.contains("<script") && !bytes.contains("http:") && !bytes.contains("<Sons>"),
                     qPrintable(name));
            for (const Table &t : tables(bytes)) // a printout heads every page of a table with the time
                QVERIFY2(t.printed.endsWith("results as of 14:05 on 7 December 2026"), qPrintable(name));
        }
        QCOMPARE(names, QStringList({"index.html", "placings-A.html", "placings-B.html", "riders-A.html",
                                     "riders-B.html", "standings-A.html", "standings-B.html"}));
        QVERIFY(pages["standings-A.html"].contains(
            "Results as of 14:05 on 7 December 2026, after 2 of 3 classes placed."));
        QVERIFY(pages["index.html"].contains("After 2 of 3 classes placed."));

        // The standings, line by line: place (equal totals share it, marked "="), team, total, then
        // points and places in each class the division runs.
        const StandingsTable standings = StandingsTable::Build_Standings(meet.db(), "A");
        const QVector<QStringList> lines = tables(pages["standings-A.html"]).value(0).rows;
        QCOMPARE(lines.value(0), QStringList({"Place", "Team", "Total", "1", "3", "5"}));
        QCOMPARE(lines.size(), 1 + standings.rows.size());
        const QStringList places{"1", "2=", "2=", "4"};
        for (int r = 0; r < standings.rows.size(); ++r) {
            QStringList expected{places[r], standings.rows.value(r, u"TeamName").toString(),
                                 standings.rows.value(r, u"TotalPoints").toString()};
            for (int n : {1, 3, 5})
                expected << (standings.rows.value(r, QStringLiteral("Points%1").arg(n)).toString() + u' ' +
                             standings.rows.value(r, QStringLiteral("Placings%1").arg(n)).toString())
                                .trimmed();
            QCOMPARE(lines[r + 1], expected);
        }
        QCOMPARE(lines[1], QStringList({"1", "O'Brien & <Sons>", "25", "18 1,3", "", "7 4"}));
        QCOMPARE(lines[3].mid(0, 3), QStringList({"2=", "Ivy", "9"}));

        // Rider results: riders by number taken as a number, those without one last; each rider's
        // total and the team's, the same as the standings' total.
        const QVector<Table> riders = tables(pages["riders-A.html"]);
        QCOMPARE(riders.size(), 4);
        QCOMPARE(riders[1].caption, "Ivy");
        QCOMPARE(riders[2].caption, "O'Brien & <Sons>");
        QCOMPARE(riders[2].rows,
                 QVector<QStringList>({{"Class", "Judge", "Place", "Points"},
                                       {"7 Zoë \"Quick\" Ray"},
                                       {"1 - Western Fitting and Showing", "Jo Smith", "1", "10"},
                                       {"1 - Western Fitting and Showing", "Al Adams", "3", "8"},
                                       {"Total Points", "18"},
                                       {"8 Bo Lee"},
                                       {"5 - Saddle Seat Pattern", "Jo Smith", "4", "7"},
                                       {"Total Points", "7"},
                                       {"10 Al Tenth"},
                                       {"Total Points", "0"},
                                       {"Total Team Points", "25"}}));
        QCOMPARE(riders[0].rows.value(1), QStringList({"9 Cy Hale"}));
        QCOMPARE(riders[0].rows.value(4), QStringList({"10 Di Fox"}));
        const auto [standingTotals, riderTotals] = teamTotals(pages);
        QCOMPARE(standingTotals, riderTotals);

        // The placings: a card per judge of each placed class, with the points of each place.
        const QVector<Table> placings = tables(pages["placings-A.html"]);
        QCOMPARE(placings.size(), 5);
        QCOMPARE(placings[0].caption, "Judge: Al Adams");
        QCOMPARE(placings[1].rows,
                 QVector<QStringList>({{"Place", "Rider #", "Name", "Team", "Points"},
                                       {"1", "7", "Zoë \"Quick\" Ray", "O'Brien & <Sons>", "10"},
                                       {"2", "9", "Cy Hale", "Gold", "9"}}));
        QVERIFY(pages["placings-A.html"].contains("3 Hunt Seat Fitting and Showing (not placed yet)"));
        QCOMPARE(placings[4].rows,
                 QVector<QStringList>({{"Class", "Name"}, {"3", "Hunt Seat Fitting and Showing"}}));
    }

    // The index leads to every page, each division's pages to each other, and every link within a
    // page (a team, a class) to a place that is there.
    void links_leadToPagesAndPlacesThatExist()
    {
        const MeetFile meet;
        auto b = meet.build();
        const auto team = b.addTeam("Blue", "A");
        b.addTeam("Red", "B");
        const auto rider = b.addRider(team, "Jo", "Rider", "1");
        b.addEntry(4, rider);
        b.addPlacing(2, 1, rider, "A", b.addJudge("Al", "Judge"));

        std::map<QString, QByteArray> pages = pagesOf(meet.db());
        static const QRegularExpression link("href=\"([^\"#]*)(#([^\"]*))?\"");
        for (const auto &[name, bytes] : pages) {
            QSet<QString> reached;
            for (const auto &l : link.globalMatch(QString::fromUtf8(bytes))) {
                const QString file = l.captured(1).isEmpty() ? name : l.captured(1);
                reached << file;
                QVERIFY2(pages.count(file), qPrintable(name + " -> " + file));
                if (l.hasCaptured(3))
                    QVERIFY2(pages[file].contains("id=\"" + l.captured(3).toUtf8() + '"'),
                             qPrintable(name + " -> " + l.captured(0)));
            }
            const QString division = name.section('-', 1);
            QSet<QString> expected{"index.html"};
            for (const QString kind : {"standings-", "riders-", "placings-"})
                if (name == "index.html")
                    expected << kind + "A.html" << kind + "B.html";
                else
                    expected << kind + division;
            if (name == "index.html")
                QCOMPARE(reached, expected - QSet<QString>{"index.html"});
            else
                QVERIFY2(reached.contains(expected - QSet<QString>{name}), qPrintable(name));
        }
    }

    // The publishing loop never publishes a save half done: a look while one is under way on its
    // connection (a question asked in the middle of it) waits for the next.
    void publisher_waitsWhileASaveIsUnderWay()
    {
        const MeetFile meet;
        const QString folder = meet.filePath("site");
        ResultsPublisher publisher(folder);
        {
            WriteTransaction saving(meet.db(), "saving");
            meet.build().addTeam("Half", "A");
            QCOMPARE(publisher.publishIfChanged(meet.db()).kind, ResultsPublisher::Outcome::Kind::Unchanged);
            QVERIFY(!QFileInfo::exists(folder));
        }
        QCOMPARE(publisher.publishIfChanged(meet.db()).kind, ResultsPublisher::Outcome::Kind::Published);
        QCOMPARE(QDir(folder).entryList({"*-A.html"}), QStringList());
    }

    // A publish every few milliseconds while another station saves a class's placings as fast as
    // it can: the standings and the rider results of each publish tell the same totals.
    void publishWhileSaving_everyPublishFromOneState()
    {
        const MeetFile meet;
        auto b = meet.build();
        const auto blue = b.addTeam("Blue", "A"), red = b.addTeam("Red", "A");
        const auto first = b.addRider(blue, "Bo", "Blue", "1"), second = b.addRider(red, "Ro", "Red", "2");
        const auto judge = b.addJudge("Al", "Judge");
        b.addPlacing(1, 3, first, "A", judge);
        DbConnection::setBusyTimeout(20000); // the saver waits for a read, and a read for a save

        PlacingSaver saver(meet.path(), first, second, judge);
        saver.start();
        while (saver.saves == 0 && saver.isRunning())
            QThread::msleep(1);
        int differing = 0;
        for (int publish = 0; publish < 100; ++publish) {
            std::map<QString, QByteArray> pages = pagesOf(meet.db());
            const auto [standings, riders] = teamTotals(pages);
            QCOMPARE(standings.keys(), QStringList({"Blue", "Red"}));
            differing += standings != riders;
        }
        const int saves = saver.saves;
        saver.finish();
        QVERIFY2(saver.failure.isEmpty(), qPrintable(saver.failure));
        QCOMPARE(differing, 0);
        QVERIFY2(saves >= 10, qPrintable(QString::number(saves)));
    }
};

QTEST_GUILESS_MAIN(TstResultsPages)
#include "tst_resultspages.moc"
