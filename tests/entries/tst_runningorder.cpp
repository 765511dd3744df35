// The order of go: how a class's riders are dealt into splits, and the order within a split.
#include "meetfile.h"

#include "entries/runningorder.h"

#include <QSet>

#include <algorithm>
#include <map>

using Order = RunningOrder::Order;

class TstRunningOrder : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MeetFile> m_meet;

    MeetBuilder build() const { return MeetBuilder(m_meet->db()); }
    std::vector<MemoryTable> splits(int classNumber, int n, Order order, const QString &division = "B") const
    {
        return RunningOrder(m_meet->db(), division).Build_Splits(classNumber, n, order);
    }
    static QStringList column(const MemoryTable &t, const QString &name)
    {
        QStringList out;
        for (int r = 0; r < t.size(); ++r)
            out << t.value(r, name).toString();
        return out;
    }

private Q_SLOTS:
    void init() { m_meet = std::make_unique<MeetFile>(); }
    void cleanup() { m_meet.reset(); }

    void deal_spreadsEachTeamOverTheSplits_data()
    {
        QTest::addColumn<QList<int>>("teams"); // riders entered per team
        QTest::addColumn<int>("n");
        QTest::addColumn<QList<int>>("sizes");
        QTest::newRow("three of a team, three splits") << QList<int>{3} << 3 << QList<int>{1, 1, 1};
        QTest::newRow("three of a team, two splits") << QList<int>{3} << 2 << QList<int>{2, 1};
        QTest::newRow("more splits than riders") << QList<int>{2} << 3 << QList<int>{1, 1, 0};
        QTest::newRow("the deal runs on across teams") << QList<int>{2, 2, 3} << 3 << QList<int>{3, 2, 2};
        QTest::newRow("one split") << QList<int>{4, 2} << 1 << QList<int>{6};
    }
    void deal_spreadsEachTeamOverTheSplits()
    {
        QFETCH(QList<int>, teams);
        QFETCH(int, n);
        QFETCH(QList<int>, sizes);
        auto b = build();
        int number = 0;
        for (int t = 0; t < teams.size(); ++t) {
            const auto team = b.addTeam(QStringLiteral("Team %1").arg(t), "B");
            for (int r = 0; r < teams[t]; ++r) {
                ++number;
                b.addEntry(5,
                           b.addRider(team, "R", QStringLiteral("L%1").arg(number), QString::number(number)));
            }
        }
        b.addEntry(5, b.addRider(b.addTeam("Other division", "A"), "A", "A", "99"));
        for (const Order order : {Order::Sequential, Order::Random}) {
            const std::vector<MemoryTable> dealt = splits(5, n, order);
            QList<int> got;
            for (const MemoryTable &split : dealt) {
                got << split.size();
                // No split holds more riders of a team than its fair share.
                std::map<QString, int> perTeam;
                for (const QString &team : column(split, "TeamName"))
                    QVERIFY(++perTeam[team] <= (teams[team.mid(5).toInt()] + n - 1) / n);
            }
            QCOMPARE(got, sizes);
        }
    }

    // Two teams of two riders in two splits: each split holds one rider of each team, in every
    // one of the four ways to deal them, whatever the teams are called.
    void deal_teamMatesNeverShareASplit_data()
    {
        QTest::addColumn<QStringList>("teams");
        QTest::newRow("two names") << QStringList{"Blue", "Red"};
        QTest::newRow("one name") << QStringList{"Blue", "Blue"};
        QTest::newRow("one name in other letters") << QStringList{"Blue", "BLUE"};
    }
    void deal_teamMatesNeverShareASplit()
    {
        QFETCH(QStringList, teams);
        auto b = build();
        for (int t = 0; t < 2; ++t) { // riders 1 and 2, then 11 and 12
            const auto team = b.addTeam(teams[t], "B");
            for (int r = 1; r <= 2; ++r)
                b.addEntry(5, b.addRider(team, "R", "L", QString::number(t * 10 + r)));
        }
        QSet<QString> deals;
        for (int draw = 0; draw < 200; ++draw) {
            const std::vector<MemoryTable> dealt = splits(5, 2, Order::Sequential);
            for (const MemoryTable &split : dealt) {
                const QStringList numbers = column(split, "RiderNumber");
                QCOMPARE(numbers.size(), 2);
                QVERIFY2(numbers[0].toInt() < 10 && numbers[1].toInt() > 10, qPrintable(numbers.join(u' ')));
            }
            deals << column(dealt[0], "RiderNumber").join(u' ');
        }
        QCOMPARE(deals.size(), 4);
    }

    void sequential_byNumberAsANumberThenTheUnnumberedByName()
    {
        auto b = build();
        const auto team = b.addTeam("Blue", "B");
        for (const auto &[last, number] : std::vector<std::pair<QString, QString>>{
                 {"Ten", "10"}, {"Zorn", ""}, {"Nine", "9"}, {"Abel", "1a"}, {"Two", "02"}, {"Minus", "-5"}})
            b.addEntry(3, b.addRider(team, "F", last, number));
        const MemoryTable split = splits(3, 1, Order::Sequential).front();
        QCOMPARE(column(split, "LastName"), (QStringList{"Minus", "Two", "Nine", "Ten", "Abel", "Zorn"}));
        QCOMPARE(column(split, "RiderNumber"), (QStringList{"-5", "2", "9", "10", "", ""}));
    }

    void random_everyRiderOnceInSplitsAndOrdersThatVary()
    {
        auto b = build();
        for (int t = 0; t < 3; ++t) {
            const auto team = b.addTeam(QStringLiteral("Team %1").arg(t), "B");
            for (int r = 1; r <= 4; ++r)
                b.addEntry(1, b.addRider(team, "R", "L", QString::number(t * 4 + r)));
        }
        QSet<QString> memberships, firstTeams;
        for (int run = 0; run < 40; ++run) {
            const std::vector<MemoryTable> dealt = splits(1, 3, Order::Random);
            QStringList all;
            for (const MemoryTable &split : dealt)
                all << column(split, "RiderNumber");
            std::sort(all.begin(), all.end(),
                      [](const QString &x, const QString &y) { return x.toInt() < y.toInt(); });
            QCOMPARE(all, (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}));
            QStringList first = column(dealt[0], "RiderNumber");
            std::sort(first.begin(), first.end());
            memberships << first.join(u',');
            // Dealt team by team, a split begins with the first team's rider until its order is drawn.
            firstTeams << dealt[0].value(0, u"TeamName").toString();
        }
        QVERIFY(memberships.size() > 1);
        QCOMPARE(firstTeams.size(), 3);
    }

    void relay_listsOnlyEntriesWithAPartner()
    {
        auto b = build();
        const auto team = b.addTeam("Blue", "B");
        const auto paired = b.addRider(team, "Ann", "Lee", "7");
        const auto unpaired = b.addRider(team, "Bob", "Moe", "8");
        b.addEntry(17, unpaired);
        QCOMPARE(splits(17, 1, Order::Sequential).front().size(), 0);

        b.addEntry(17, paired);
        b.addPairing(paired, b.addRider(team, "Cy", "Pax", "12"));
        const MemoryTable split = splits(17, 1, Order::Random).front();
        QCOMPARE(split.size(), 1);
        QCOMPARE(split.rows().rows.front(), (QVector<QVariant>{"Ann", "Lee", 7, "Blue", "Cy", "Pax", 12}));
    }
};

QTEST_GUILESS_MAIN(TstRunningOrder)
#include "tst_runningorder.moc"
