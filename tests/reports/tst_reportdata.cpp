// Report data: grouping and relating rows, column names, the named commands of the report data
// source, and in-memory tables with their sort texts.
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
    }

    void relate_childrenMatchTheParentInTheirOwnOrder()
    {
        const ShapedRows teams =
            table({"TeamCode", "TeamName"}, {{1, "Blue"}, {2, "Red"}, {3, "Gold"}, {QVariant(), "None"}});
        const ShapedRows coaches = table(
            {"Coach", "TeamCode"}, {{"Zed", 3}, {"Amy", 1}, {"Bob", 3}, {"Cat", 1.0}, {"Nil", QVariant()}});
        const ShapedRows shaped = Shaping::relate(teams, coaches, "TeamCode", "teamcode");

        QCOMPARE(column(shaped.children[0], "Coach"), QStringList({"Amy", "Cat"})); // 1 equals 1.0
        QVERIFY(shaped.children[1].isEmpty());                                      // a team without coaches
        QCOMPARE(shaped.children[1].rows.columns, coaches.rows.columns);
        QCOMPARE(column(shaped.children[2], "Coach"), QStringList({"Zed", "Bob"}));
        QVERIFY(shaped.children[3].isEmpty()); // NULL relates to nothing, not even NULL
    }

    void columnIndex_byNameDottedOrPlain_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>(
            "index"); // of TblPlacing.ClassNumber, TblClass.ClassNumber, ClassName, TblTeam.TeamCode
        for (const auto &[row, name, index] :
             {std::tuple{"exact, any case", "tblplacing.classnumber", 0},
              std::tuple{"plain name of two dotted columns", "ClassNumber", -1},
              std::tuple{"plain name of one dotted column", "teamcode", 3},
              std::tuple{"dotted name of a plain column", "TblClass.ClassName", 2},
              std::tuple{"other table's dotted name", "TblPerson.TeamCode", -1},
              std::tuple{"missing", "Points", -1}})
            QTest::newRow(row) << QString::fromLatin1(name) << index;
    }
    void columnIndex_byNameDottedOrPlain()
    {
        QFETCH(QString, name);
        QFETCH(int, index);
        const QStringList columns{"TblPlacing.ClassNumber", "TblClass.ClassNumber", "ClassName",
                                  "TblTeam.TeamCode"};
        QCOMPARE(Shaping::columnIndex(columns, name), index);
    }

    void commands_readWhenOpenedClosedWhenTheyFailAndDroppedWithTheirMeet()
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

        // A command that fails is left closed.
        korv.setCommand(ShapeQuery("Broken", "SELECT * FROM TblTeam").computeBy({"NoSuchColumn"}));
        QVERIFY_THROWS_EXCEPTION(DbError, korv.open("Broken"));
        QVERIFY(!korv.isOpen("Broken"));

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
        standings.appendColumn("Team", MemoryTable::Type::Long);
        standings.appendColumn("TotalPoints", MemoryTable::Type::Long);
        QStringList first, then; // the teams with 20 points, then those with 10, each in the order added
        for (int t = 0; t < 40; ++t) {
            standings.addRow({t, t % 3 == 0 ? 10 : 20});
            (t % 3 == 0 ? then : first) << QString::number(t);
        }
        standings.sort("TotalPoints DESC");
        QStringList order;
        for (int r = 0; r < standings.size(); ++r)
            order << standings.value(r, u"Team").toString();
        QCOMPARE(order, first + then);
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
