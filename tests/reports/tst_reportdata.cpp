// Report data: grouping and relating rows, the named commands of the report data source, and
// in-memory tables with their sort texts. Dotted column names and a command that fails are read
// through the reports that use them.
#include "meetfile.h"

#include "reports/korvconnection.h"
#include "reports/memorytable.h"
#include "reports/shapedrows.h"

namespace {

ShapedRows table(const QStringList &columns, const QVector<QVector<QVariant>> &rows, const QString &name = {})
{
    return ShapedRows::flat(ResultRows{columns, rows}, name);
}

// One column of every row of a level, as text.
QStringList column(const ShapedRows &level, const QString &name)
{
    QStringList out;
    for (int r = 0; r < level.size(); ++r)
        out << level.rows.text(r, name);
    return out;
}

} // namespace

class TstReportData : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void groupBy_oneParentPerCombinationInFirstOccurrenceOrder()
    {
        const ShapedRows riders = table({"Rider", "TeamName", "Division"},
                                        {{"r1", "Blue", "A"},
                                         {"r2", "Red", "A"},
                                         {"r3", "BLUE", "A"}, // same team: text groups without regard to case
                                         {"r4", "Blue", "B"},
                                         {"r5", QVariant(), "A"},
                                         {"r6", "Red", "A"}},
                                        "RiderListbyTeam");
        const ShapedRows teams =
            Shaping::groupBy(riders, {"teamname", "Division"}, "RiderListbyTeam_Grouping");

        QCOMPARE(teams.rows.columns, QStringList({"teamname", "Division"}));
        QCOMPARE(column(teams, "TeamName"), QStringList({"Blue", "Red", "Blue", ""}));
        QCOMPARE(column(teams, "Division"), QStringList({"A", "A", "B", "A"}));
        QCOMPARE(int(teams.children.size()), 4);
        QCOMPARE(column(teams.children[0], "Rider"), QStringList({"r1", "r3"}));
        QCOMPARE(column(teams.children[1], "Rider"), QStringList({"r2", "r6"}));
        QCOMPARE(column(teams.children[2], "Rider"), QStringList({"r4"}));
        QCOMPARE(column(teams.children[3], "Rider"), QStringList({"r5"}));
        QCOMPARE(teams.children[0].name, "RiderListbyTeam");

        QVERIFY(Shaping::groupBy(table({"TeamName"}, {}), {"TeamName"}, "g").isEmpty());
    }

    void relate_childrenMatchTheParentInTheirOwnOrder()
    {
        const ShapedRows teams =
            table({"TeamCode", "TeamName"}, {{1, "Blue"}, {2, "Red"}, {3, "Gold"}, {QVariant(), "None"}});
        const ShapedRows coaches = table(
            {"Coach", "TeamCode"}, {{"Zed", 3}, {"Amy", 1}, {"Bob", 3}, {"Cat", 1.0}, {"Nil", QVariant()}});
        const ShapedRows shaped = Shaping::relate(teams, coaches, "TeamCode", "teamcode");

        QCOMPARE(column(shaped, "TeamName"), QStringList({"Blue", "Red", "Gold", "None"}));
        QCOMPARE(column(shaped.children[0], "Coach"), QStringList({"Amy", "Cat"})); // 1 equals 1.0
        QVERIFY(shaped.children[1].isEmpty());                                      // a team without coaches
        QCOMPARE(shaped.children[1].rows.columns, coaches.rows.columns);
        QCOMPARE(column(shaped.children[2], "Coach"), QStringList({"Zed", "Bob"}));
        QVERIFY(shaped.children[3].isEmpty()); // NULL relates to nothing, not even NULL
    }

    void commands_readWhenOpenedAndDroppedWithTheirMeet()
    {
        const MeetFile meet;
        meet.build().addTeam("Amber", "A");
        KORVConnection korv;
        korv.setDataSource(meet.path());
        korv.setCommand(ShapeQuery("TeamListReport", "SELECT * FROM TblTeam ORDER BY TeamName"));
        QVERIFY_THROWS_EXCEPTION(std::logic_error, korv.rows("TeamListReport"));
        korv.open("TeamListReport");
        meet.build().addTeam("Blue", "B");
        QCOMPARE(column(korv.rows("TeamListReport"), "TeamName"), QStringList{"Amber"});
        korv.open("TeamListReport"); // an open command is read again
        QCOMPARE(column(korv.rows("TeamListReport"), "TeamName"), QStringList({"Amber", "Blue"}));
        korv.close("TeamListReport");
        QVERIFY(!korv.isOpen("TeamListReport"));

        // Pointing at another meet drops the rows read from this one.
        korv.open("TeamListReport");
        korv.setDataSource(meet.filePath("other.mdb"));
        QVERIFY(!korv.isOpen("TeamListReport"));
    }

    void memoryTable_sortText_data()
    {
        QTest::addColumn<QString>("sortText");
        QTest::addColumn<QStringList>("order");
        // Rows in the order they were added: Red B 10, blue A 30, Gold A 30, Aqua A 5, Teal A (no total),
        // Blue A 30.
        QTest::newRow("standings") << "division, TotalPoints DESC, TeamName"
                                   << QStringList{"blue", "Blue", "Gold", "Aqua", "Teal", "Red"};
        QTest::newRow("ascending by default, NULL first")
            << "TotalPoints" << QStringList{"Teal", "Aqua", "Red", "blue", "Gold", "Blue"};
        QTest::newRow("ties keep the order they were added")
            << "TOTALPOINTS desc" << QStringList{"blue", "Gold", "Blue", "Red", "Aqua", "Teal"};
        QTest::newRow("text without regard to case")
            << "TeamName DESC" << QStringList{"Teal", "Red", "Gold", "blue", "Blue", "Aqua"};
    }
    void memoryTable_sortText()
    {
        QFETCH(QString, sortText);
        QFETCH(QStringList, order);
        MemoryTable standings;
        standings.appendColumn("TeamName", MemoryTable::Type::Text, 50);
        standings.appendColumn("Division", MemoryTable::Type::Text, 1);
        standings.appendColumn("TotalPoints", MemoryTable::Type::Long);
        standings.addRow({"Red", "B", 10});
        standings.addRow({"blue", "A", 30});
        standings.addRow({"Gold", "A", 30});
        standings.addRow({"Aqua", "A", 5});
        const int teal = standings.addRow();
        standings.setValue(teal, u"teamname", "Teal");
        standings.setValue(teal, u"Division", "A");
        standings.addRow({"Blue", "A", "30"});

        standings.sort(sortText);
        QStringList names;
        for (int r = 0; r < standings.size(); ++r)
            names << standings.value(r, u"TeamName").toString();
        QCOMPARE(names, order);
    }

    void memoryTable_tiesKeepTheirOrderInLongTables()
    {
        MemoryTable standings;
        standings.appendColumn("TeamName", MemoryTable::Type::Text, 50);
        standings.appendColumn("TotalPoints", MemoryTable::Type::Long);
        for (int t = 0; t < 40; ++t)
            standings.addRow({QStringLiteral("Team %1").arg(t), t % 3 == 0 ? 10 : 20});
        standings.sort("TotalPoints DESC");
        int before = -1;
        for (int r = 0; r < standings.size(); ++r) {
            const int team = standings.value(r, u"TeamName").toString().mid(5).toInt();
            if (r == 26) // the 26 teams with 20 points come first
                before = -1;
            QVERIFY2(team > before, qPrintable(QStringLiteral("row %1 holds team %2").arg(r).arg(team)));
            before = team;
        }
    }

    void memoryTable_refusesWhatItCannotHold()
    {
        MemoryTable cards;
        cards.appendColumn("C1ClassNumber", MemoryTable::Type::Text, 2);
        cards.appendColumn("Total", MemoryTable::Type::Long);
        const int row = cards.addRow({"123", 2147483647});
        QCOMPARE(cards.value(row, u"C1ClassNumber").toString(), "12"); // cut to the column's length
        QCOMPARE(cards.value(row, u"Total").toLongLong(), 2147483647LL);

        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, cards.setValue(row, u"Total", 2147483648LL));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, cards.setValue(row, u"Missing", 1));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, cards.sort("Total DOWN"));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, cards.sort("Points"));
    }
};

QTEST_GUILESS_MAIN(TstReportData)
#include "tst_reportdata.moc"
