// Rider numbers: the conversion rule, uniqueness by value, ranges, random and sequential
// assignment (all or nothing) and the one-by-one edit.
#include "meetfile.h"

#include "common/ridernumber.h"
#include "registration/numberassigner.h"
#include "registration/riderregistry.h"

#include <QSet>

class TstRiderNumbers : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MeetFile> m;
    QSqlDatabase db() const { return m->db(); }

private Q_SLOTS:
    void init() { m = std::make_unique<MeetFile>(); }
    void cleanup() { m.reset(); }

    void convert_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected"); // -99999: does not convert
        const int none = -99999;
        QTest::newRow("07") << "07" << 7;
        QTest::newRow("blanks around") << " 7 " << 7;
        QTest::newRow("negative") << "-5" << -5;
        QTest::newRow("7.5 rounds to even 8") << "7.5" << 8;
        QTest::newRow("6.5 rounds to even 6") << "6.5" << 6;
        QTest::newRow("6.6 rounds up") << "6.6" << 7;
        QTest::newRow("exponent") << "1e2" << 100;
        QTest::newRow("letters") << "abc" << none;
        QTest::newRow("empty") << "" << none;
        QTest::newRow("32767 fits") << "32767" << 32767;
        QTest::newRow("32768 does not") << "32768" << none;
        QTest::newRow("-32768 fits") << "-32768" << -32768;
        QTest::newRow("hexadecimal") << "0x1" << none;
        QTest::newRow("infinity") << "inf" << none;
        QTest::newRow("digits and letters") << "7a" << none;
    }
    void convert()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        const auto value = RiderNumber::convert(text);
        if (expected == -99999)
            QVERIFY(!value.has_value());
        else
            QCOMPARE(int(value.value_or(-1)), expected);
    }

    // The checks of a new rider are read through the rider form; here an edit, and what the
    // form's box cannot hold.
    void edit_keepsItsOwnNumberButNotAnothers()
    {
        MeetBuilder meet(db());
        const auto team = meet.addTeam("Blue", "B");
        const auto first = meet.addRider(team, "Ann", "Lee", "07");
        meet.addRider(team, "Bo", "Ray", "008");
        RiderRegistry riders(db());
        RiderRecord ann = *riders.find(first);
        ann.number = "7";
        QCOMPARE(riders.save(ann), RiderRegistry::SaveOutcome::Saved);
        ann.number = "8";
        QCOMPARE(riders.save(ann), RiderRegistry::SaveOutcome::NumberTaken);
        ann.number = " 7.4"; // one character more than the field holds
        QCOMPARE(riders.save(ann), RiderRegistry::SaveOutcome::NumberInvalid);
        QCOMPARE(MeetQuery::riderNumbers(db()), (QStringList{"7", "008"}));
    }

    void search_isLiteralAndIgnoresLetterCase_data()
    {
        QTest::addColumn<int>("by");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("last name part, any case") << 0 << "BRI" << QStringList{"O'Brien", "Brink"};
        QTest::newRow("apostrophe") << 0 << "o'b" << QStringList{"O'Brien"};
        QTest::newRow("percent is literal") << 0 << "%" << QStringList{"50%Off"};
        QTest::newRow("underscore is literal") << 0 << "_" << QStringList{"Under_Score"};
        QTest::newRow("star is literal") << 1 << "*" << QStringList{};
        QTest::newRow("non-ASCII case") << 1 << "ZOË" << QStringList{"Brink"};
        QTest::newRow("number part") << 2 << "1" << QStringList{"O'Brien", "Brink", "50%Off"};
    }
    void search_isLiteralAndIgnoresLetterCase()
    {
        QFETCH(int, by);
        QFETCH(QString, text);
        QFETCH(QStringList, found);
        MeetBuilder meet(db());
        const auto blue = meet.addTeam("Blue", "B");
        const auto red = meet.addTeam("Red", "A");
        meet.addRider(blue, "Ann", "O'Brien", "1");
        meet.addRider(blue, "Zoë", "Brink", "10");
        meet.addRider(blue, "Cy", "50%Off", "11");
        meet.addRider(red, "Di", "Under_Score", "2");
        meet.addRider(999, "Ed", "Brinkless", "12"); // no team: never found
        QStringList names;
        for (const RiderFound &r : RiderRegistry(db()).search(RiderRegistry::SearchBy(by), text))
            names << r.lastName;
        QCOMPARE(names, found);
    }

    void ranges_readInEitherOrderAndCoverTheRidersOrRefuse()
    {
        const auto read = [](const char *from, const char *to) {
            const auto range = NumberAssigner::readRange(from, to);
            return range ? QStringLiteral("%1 %2").arg(range->first).arg(range->second) : QStringLiteral("-");
        };
        QCOMPARE((QStringList{read("101", "100"), read("-5", "5"), read("a", "10"), read("", "10")}),
                 (QStringList{"100 101", "-5 5", "-", "-"}));
        QCOMPARE(NumberAssigner::sequentialRange(100, 101, 3).status, -1);
        QCOMPARE(NumberAssigner::sequentialRange(100, 101, 2).numbers, (QVector<std::int16_t>{100, 101}));
        std::mt19937 g(1);
        QCOMPARE(NumberAssigner::randomRange(1, 5, 6, g).status, -1);
        auto exact = NumberAssigner::randomRange(1, 5, 5, g).numbers;
        std::sort(exact.begin(), exact.end());
        QCOMPARE(exact, (QVector<std::int16_t>{1, 2, 3, 4, 5}));
    }

    void randomRange_isAUniformPermutation()
    {
        std::mt19937 g(12345);
        // Every number of 1..500 distinct and in range; two draws differ.
        const auto a = NumberAssigner::randomRange(1, 500, 20, g).numbers;
        const auto b = NumberAssigner::randomRange(1, 500, 20, g).numbers;
        QCOMPARE(QSet<std::int16_t>(a.begin(), a.end()).size(), 500);
        QVERIFY(*std::min_element(a.begin(), a.end()) == 1 && *std::max_element(a.begin(), a.end()) == 500);
        QVERIFY(a.mid(0, 20) != b.mid(0, 20));
        // Over many draws each value of 1..4 is the first number about equally often.
        int counts[4] = {};
        for (int i = 0; i < 4000; ++i)
            ++counts[NumberAssigner::randomRange(1, 4, 4, g).numbers[0] - 1];
        for (int c : counts)
            QVERIFY2(c > 850 && c < 1150, qPrintable(QString::number(c)));
    }

    void applyNumbers_followsDivisionTeamAndNamesAllOrNothing()
    {
        MeetBuilder meet(db());
        const auto zebra = meet.addTeam("Zebra", "A");
        const auto apple = meet.addTeam("apple", "B");
        const auto acorn = meet.addTeam("Acorn", "A");
        const auto r1 = meet.addRider(apple, "Al", "Ames", "50");
        meet.addRider(zebra, "Bo", "Zed", "51");
        meet.addRider(acorn, "Cy", "Young", "52");
        meet.addRider(acorn, "Ann", "Young", "53");
        meet.addRider(77, "Di", "Nobody", "54");
        meet.addRider(zebra, "Ab", "Zz", "55"); // last name after Zed, first name before Bo

        NumberAssigner assigner(db());
        QCOMPARE(assigner.riderCount(), 6);
        const auto seq = NumberAssigner::sequentialRange(1, 6, assigner.riderCount());
        assigner.applyNumbers(seq);
        // Acorn (A): Young Ann 1, Young Cy 2; Zebra (A): Zed 3, Zz 4; apple (B): Ames 5; no team: unchanged.
        QCOMPARE(MeetQuery::riderNumbers(db()), (QStringList{"5", "3", "2", "1", "54", "4"}));

        MeetQuery::forceFailure(db(), QStringLiteral("UPDATE ON TblPerson WHEN NEW.RiderIndex = %1").arg(r1));
        QVERIFY_THROWS_EXCEPTION(DbError, assigner.applyNumbers(NumberAssigner::sequentialRange(-5, 5, 6)));
        QCOMPARE(MeetQuery::riderNumbers(db()), (QStringList{"5", "3", "2", "1", "54", "4"}));
    }

    void tree_ordersTeamsAndRidersAndKeepsOrphans()
    {
        MeetBuilder meet(db());
        const auto blue = meet.addTeam("Blue", "B");
        const auto acorn = meet.addTeam("Acorn", "A");
        meet.addRider(blue, "Zed", "Able", "1");
        meet.addRider(blue, "Al", "Able", "2");
        meet.addRider(acorn, "Cy", "Cole", "");
        meet.addRider(404, "Di", "Lost", "3");
        const auto tree = NumberAssigner(db()).tree();
        QCOMPARE(tree.size(), 3);
        QCOMPARE(NumberAssigner::teamText(tree[0]), "A - Acorn");
        QCOMPARE(NumberAssigner::teamText(tree[1]), "B - Blue");
        QCOMPARE(tree[1].riders[0].firstName, "Al");
        QCOMPARE(tree[2].code, -1);
        QCOMPARE(tree[2].riders[0].lastName, "Lost");
        QCOMPARE(NumberAssigner::riderText("", "Cy", "Cole"), "() Cy Cole");
    }
};

QTEST_GUILESS_MAIN(TstRiderNumbers)
#include "tst_ridernumbers.moc"
