// The judges' cards of a class: who can be placed and in which order, which judges take the two
// columns, the duplicate rule, and what a save writes and a reopening shows. The opening
// refusals are tested through the window.
#include "meetfile.h"
#include "placingmeet.h"

#include "judging/placingcard.h"

using Card = PlacingCard::Card;

namespace {

// The selector lines in whole.
QStringList lines(const PlacingCard &card)
{
    QStringList out;
    for (const RowText &line : card.lines())
        out << line.whole();
    return out;
}

// Line numbers of one column, place 1 first; the rest "N/A".
PlacingCard::Column column(std::initializer_list<int> lines)
{
    PlacingCard::Column c{};
    std::copy(lines.begin(), lines.end(), c.begin());
    return c;
}

} // namespace

Q_DECLARE_METATYPE(Card)

class TstPlacingCard : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MeetFile> m_meet;
    QSqlDatabase db() const { return m_meet->db(); }

    PlacingMeet m;

    PlacingCard opened(int classNumber = 3, const QString &division = "A")
    {
        PlacingCard card(db(), division, classNumber);
        [&] { QCOMPARE(card.load(), PlacingCard::Opening::Ready); }();
        return card;
    }

    // "class division judge place rider points", judges and riders by name.
    QStringList placings()
    {
        return MeetQuery::column(
            db(),
            "SELECT ClassNumber || ' ' || p.Division || ' ' || COALESCE(j.LastName, '') || ' ' || Place "
            "|| ' ' || COALESCE(r.FirstName, '') || ' ' || CAST(Points AS INTEGER) FROM TblPlacing p "
            "LEFT JOIN TblJudge j ON j.JudgeID = p.JudgeID "
            "LEFT JOIN TblPerson r ON r.RiderIndex = p.RiderIndex ORDER BY 1");
    }

private Q_SLOTS:
    void init()
    {
        m_meet = std::make_unique<MeetFile>();
        m = PlacingMeet(MeetBuilder(db()));
    }
    void cleanup() { m_meet.reset(); }

    void duplicates_countPerJudgeOnly_data()
    {
        QTest::addColumn<Card>("card");
        QTest::addColumn<int>("column");
        QTest::newRow("all N/A") << Card{} << -1;
        QTest::newRow("distinct with gaps") << Card{column({0, 2, 0, 1, 0, 0, 3})} << -1;
        QTest::newRow("same rider under both judges") << Card{column({1}), column({0, 0, 1})} << -1;
        QTest::newRow("judge 1 twice") << Card{column({1, 2, 3, 0, 2})} << 0;
        QTest::newRow("judge 2 ninth and tenth")
            << Card{column({1}), column({0, 0, 0, 0, 0, 0, 0, 0, 3, 3})} << 1;
    }
    void duplicates_countPerJudgeOnly()
    {
        QFETCH(Card, card);
        QFETCH(int, column);
        QCOMPARE(PlacingCard::columnPlacingTwice(card), column);
    }

    void save_rewritesTheClassAndDivisionAndReopensAsSaved_data()
    {
        // Lines: 1 Ann (10), 2 Bob (9); judge columns: Adams, Smith.
        QTest::addColumn<Card>("card");
        QTest::addColumn<QStringList>("rows"); // of class 3 in A
        QTest::newRow("partial card")
            << Card{column({1, 2})} << QStringList{"Adams 1 Ann 10", "Adams 2 Bob 9"};
        QTest::newRow("same rider, both judges")
            << Card{column({1}), column({0, 0, 1})} << QStringList{"Adams 1 Ann 10", "Smith 3 Ann 8"};
        QTest::newRow("tenth place") << Card{column({}), column({0, 0, 0, 0, 0, 0, 0, 0, 0, 2})}
                                     << QStringList{"Smith 10 Bob 1"};
        QTest::newRow("nothing placed") << Card{} << QStringList{};
    }
    void save_rewritesTheClassAndDivisionAndReopensAsSaved()
    {
        QFETCH(Card, card);
        QFETCH(QStringList, rows);
        MeetBuilder b(db());
        b.addPlacing(3, 4, m.bob, "A", m.smith); // replaced
        b.addPlacing(3, 1, m.eve, "B", m.smith); // another division
        b.addPlacing(4, 1, m.ann, "A", m.adams); // another class
        opened().save(card);
        QStringList expected{"3 B Smith 1 Eve 10", "4 A Adams 1 Ann 10"};
        for (const QString &r : rows)
            expected << "3 A " + r;
        expected.sort();
        QCOMPARE(placings(), expected);
        QCOMPARE(opened().stored(), card);
    }

    // The same two judges judge class 3 in B too: each division's card holds its own placings
    // and its own riders, and a save in one leaves the other as it was.
    void divisions_sameJudgesKeepACardPerDivision()
    {
        MeetBuilder b(db());
        b.assignJudge(m.smith, 3, "B");
        b.assignJudge(m.adams, 3, "B");
        b.addPlacing(3, 1, m.eve, "B", m.adams);
        b.addPlacing(3, 2, m.eve, "B", m.smith);
        const PlacingCard a = opened(3, "A");
        QCOMPARE(a.stored(), Card{});
        QCOMPARE(lines(a), (QStringList{"N/A", "10 - Ann Lee", "9 - Bob Ray"}));
        a.save(Card{column({1}), column({2})});
        QCOMPARE(placings(), (QStringList{"3 A Adams 1 Ann 10", "3 A Smith 1 Bob 10", "3 B Adams 1 Eve 10",
                                          "3 B Smith 2 Eve 9"}));
        QCOMPARE(opened(3, "B").stored(), (Card{column({1}), column({0, 1})}));
    }

    void riders_ofTheDivisionByNumberAsTextThenStoredOnesMarked()
    {
        MeetBuilder b(db());
        b.addPlacing(3, 2, m.cid, "A", m.adams); // placed, then withdrawn
        b.addPlacing(3, 1, 4040, "A", m.smith);  // a rider since deleted
        const PlacingCard card = opened();
        QCOMPARE(lines(card),
                 (QStringList{"N/A", "10 - Ann Lee", "9 - Bob Ray",
                              "(a rider no longer in the meet) (not entered)", "7 - Cid Fox (not entered)"}));
        QCOMPARE(card.stored(), (Card{column({0, 4}), column({3})}));
        const QStringList before = placings();
        card.save(card.stored());
        QCOMPARE(placings(), before);
    }

    void relay_linesNameThePartnerOrItsAbsence()
    {
        MeetBuilder b(db());
        b.addEntry(17, m.ann);
        b.addPairing(m.ann, m.cid);
        b.addEntry(17, m.bob);
        b.assignJudge(m.smith, 17, "A");
        QCOMPARE(lines(opened(17)),
                 (QStringList{"N/A", "10 - Ann Lee and 7 - Cid Fox", "9 - Bob Ray and (no partner)"}));
    }

    void judges_firstTwoInAStableOrder()
    {
        MeetBuilder b(db());
        // Class 5: four judges, two sharing a full name; the first two by last, first name, key.
        const auto amy2 = b.addJudge("Amy", "Smith");
        const auto amy1 = b.addJudge("Amy", "Smith");
        for (const auto judge : {m.smith, amy1, amy2})
            b.assignJudge(judge, 5, "A");
        b.addEntry(5, m.ann);
        std::vector<std::int32_t> ids;
        const PlacingCard five = opened(5);
        for (const PlacingCard::Judge &j : five.judges())
            ids.push_back(j.id);
        QCOMPARE(ids, (std::vector<std::int32_t>{amy2, amy1}));

        // One judge, stored twice: one column, and the second stores nothing.
        b.assignJudge(m.adams, 6, "A");
        b.assignJudge(m.adams, 6, "A");
        b.addEntry(6, m.ann);
        const PlacingCard single = opened(6);
        QCOMPARE(single.judges().size(), size_t(1));
        single.save(Card{column({1}), column({1})});
        QCOMPARE(placings(), QStringList{"6 A Adams 1 Ann 10"});
    }
};

QTEST_GUILESS_MAIN(TstPlacingCard)
#include "tst_placingcard.moc"
