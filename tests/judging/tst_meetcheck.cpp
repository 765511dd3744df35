// The meet check: each rule against a ready meet given that one fault, the scope of a division,
// and the printed check.
#include "meetfile.h"

#include "judging/meetcheck.h"
#include "reports/paginator.h"

namespace {

// A meet ready for the show: Acorn (A) with a coach, Ann (1) and Bob (2) entered in class 1 and
// Ann in the relay with Bob, both classes judged by Jo Judge (1) and Kai Kerr (2), every card full.
void buildReadyMeet(MeetBuilder &b)
{
    const auto acorn = b.addTeam("Acorn", "A");
    b.addCoach(acorn, "Hal", "Hart");
    const auto ann = b.addRider(acorn, "Ann", "Lee", "1");
    const auto bob = b.addRider(acorn, "Bob", "Rider", "2");
    b.addEntry(1, ann);
    b.addEntry(1, bob);
    b.addEntry(17, ann);
    b.addPairing(ann, bob);
    for (const auto judge : {b.addJudge("Jo", "Judge"), b.addJudge("Kai", "Kerr")}) {
        for (int cls : {1, 17})
            b.assignJudge(judge, cls, "A");
        b.addPlacing(1, 1, ann, "A", judge);
        b.addPlacing(1, 2, bob, "A", judge);
        b.addPlacing(17, 1, ann, "A", judge);
    }
}

} // namespace

class TstMeetCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void run_findsEachFaultAndNothingElse_data()
    {
        QTest::addColumn<QStringList>("fault"); // statements run on the ready meet
        QTest::addColumn<QString>("division");
        QTest::addColumn<QStringList>("found"); // "rule: what | where"
        const QString class1 = "Division A, class 1 Western Fitting and Showing";
        QTest::newRow("ready") << QStringList{} << "A" << QStringList{};
        QTest::newRow("one judge")
            << QStringList{"DELETE FROM TblClassJudges WHERE ClassNumber = 1 AND JudgeID = 2"} << "A"
            << QStringList{"0: " + class1 +
                           ": 2 entered, one judge | Meet Setup > "
                           "Judge's Class Assignments"};
        QTest::newRow("no judge, whole meet")
            << QStringList{"DELETE FROM TblClassJudges WHERE ClassNumber = 1"} << ""
            << QStringList{"0: " + class1 + ": 2 entered, no judge | Meet Setup > Judge's Class Assignments"};
        QTest::newRow("entered without a number")
            << QStringList{"UPDATE TblPerson SET RiderNumber = '' WHERE FirstName = 'Ann'"} << "A"
            << QStringList{"1: Division A, Acorn: Ann Lee is entered in 2 classes without a rider number | "
                           "Utilities > Assign Rider #s"};
        // Bob, numberless, left class 1 and his places with it: nothing to mend.
        QTest::newRow("no number, not entered")
            << QStringList{"DELETE FROM TblEntry WHERE RiderIndex = 2",
                           "DELETE FROM TblPlacing WHERE RiderIndex = 2",
                           "UPDATE TblPerson SET RiderNumber = NULL WHERE RiderIndex = 2"}
            << "A" << QStringList{};
        QTest::newRow("relay without a partner")
            << QStringList{"DELETE FROM TblPairing"} << "A"
            << QStringList{"2: Division A, Acorn: the relay entry of Ann Lee has no partner | Entry Booth > "
                           "Rider Entries"};
        QTest::newRow("relay partner gone from the meet")
            << QStringList{"UPDATE TblPairing SET PartnerIndex = 99"} << "A"
            << QStringList{"2: Division A, Acorn: the relay entry of Ann Lee has no partner | Entry Booth > "
                           "Rider Entries"};
        QTest::newRow("no placings")
            << QStringList{"DELETE FROM TblPlacing WHERE ClassNumber = 17"} << "A"
            << QStringList{"3: Division A, class 17 Two Person Relay: 1 entered, no placings | Entry Booth > "
                           "Placings"};
        QTest::newRow("short card")
            << QStringList{"DELETE FROM TblPlacing WHERE ClassNumber = 1 AND Place = 2 AND JudgeID = 2"}
            << "A"
            << QStringList{"4: " + class1 +
                           ": the card of Kai Kerr has 1 of 2 places | Entry Booth > Placings"};
        // Three entered, each card placing two of them and a rider who is not entered.
        QTest::newRow("short card filled by a rider not entered")
            << QStringList{"INSERT INTO TblPerson (FirstName, LastName, TeamCode, RiderNumber) VALUES ('Cy', "
                           "'Cole', 1, "
                           "'3'), ('Dee', 'Dunn', 1, '4')",
                           "INSERT INTO TblEntry (ClassNumber, RiderIndex) VALUES (1, 3)",
                           "INSERT INTO TblPlacing (ClassNumber, Place, RiderIndex, Points, Division, "
                           "JudgeID) "
                           "VALUES (1, 3, 4, 8, 'A', 1), (1, 3, 4, 8, 'A', 2)"}
            << "A"
            << QStringList{
                   "4: " + class1 + ": the card of Jo Judge has 2 of 3 places | Entry Booth > Placings",
                   "4: " + class1 + ": the card of Kai Kerr has 2 of 3 places | Entry Booth > Placings",
                   "5: " + class1 + ": Dee Dunn (Acorn) is placed but not entered | Entry Booth > Placings"};
        QTest::newRow("short card filled by a rider entered in another division")
            << QStringList{"INSERT INTO TblTeam (TeamName, Division) VALUES ('Blue', 'B')",
                           "INSERT INTO TblPerson (FirstName, LastName, TeamCode, RiderNumber) VALUES ('Cy', "
                           "'Dane', 2, "
                           "'3')",
                           "INSERT INTO TblEntry (ClassNumber, RiderIndex) VALUES (1, 3)",
                           "UPDATE TblPlacing SET RiderIndex = 3 WHERE ClassNumber = 1 AND Place = 2"}
            << "A"
            << QStringList{
                   "4: " + class1 + ": the card of Jo Judge has 1 of 2 places | Entry Booth > Placings",
                   "4: " + class1 + ": the card of Kai Kerr has 1 of 2 places | Entry Booth > Placings",
                   "5: " + class1 + ": Cy Dane (Blue) is placed but not entered | Entry Booth > Placings"};
        QStringList eleven; // entered in class 1, the first ten placed by both judges
        for (int i = 3; i <= 11; ++i) {
            eleven << QStringLiteral(
                          "INSERT INTO TblPerson (FirstName, LastName, TeamCode, RiderNumber) VALUES "
                          "('R%1', 'Rider', 1, '%1')")
                          .arg(i)
                   << QStringLiteral("INSERT INTO TblEntry (ClassNumber, RiderIndex) VALUES (1, %1)").arg(i);
            if (i <= 10)
                eleven << QStringLiteral(
                              "INSERT INTO TblPlacing (ClassNumber, Place, RiderIndex, Points, Division, "
                              "JudgeID) VALUES (1, %1, %1, 0, 'A', 1), (1, %1, %1, 0, 'A', 2)")
                              .arg(i);
        }
        QTest::newRow("eleven entered, ten places a card") << eleven << "A" << QStringList{};
        QTest::newRow("assigned judge without a card")
            << QStringList{"DELETE FROM TblPlacing WHERE ClassNumber = 1 AND JudgeID = 1"} << "A"
            << QStringList{"4: " + class1 +
                           ": the card of Jo Judge has 0 of 2 places | Entry Booth > Placings"};
        QTest::newRow("placed, no longer entered")
            << QStringList{"DELETE FROM TblEntry WHERE ClassNumber = 1 AND RiderIndex = 2"} << "A"
            << QStringList{"5: " + class1 +
                           ": Bob Rider (Acorn) is placed but not entered | Entry Booth > "
                           "Placings"};
        QTest::newRow("placed, gone from the meet")
            << QStringList{"UPDATE TblPlacing SET RiderIndex = 99 WHERE ClassNumber = 17"} << "A"
            << QStringList{
                   "4: Division A, class 17 Two Person Relay: the card of Jo Judge has 0 of 1 places | Entry "
                   "Booth > "
                   "Placings",
                   "4: Division A, class 17 Two Person Relay: the card of Kai Kerr has 0 of 1 places | Entry "
                   "Booth > "
                   "Placings",
                   "5: Division A, class 17 Two Person Relay: a rider no longer in the meet is placed but "
                   "not entered | Entry Booth > Placings"};
        QTest::newRow("placed by a judge gone from the meet")
            << QStringList{"DELETE FROM TblJudge WHERE JudgeID = 2"} << "A"
            << QStringList{
                   "8: " + class1 +
                       ": a card of 2 places by a judge no longer in the meet | Entry Booth > "
                       "Placings",
                   "8: Division A, class 17 Two Person Relay: a card of 1 place by a judge no longer in the "
                   "meet | Entry Booth > Placings"};
        QTest::newRow("no coach") << QStringList{"DELETE FROM TblCoach"} << "A"
                                  << QStringList{
                                         "6: Division A, Acorn: riders but no coach | Administration > "
                                         "Coaches"};
        const QString b1 = "Division B, class 1 Western Fitting and Showing";
        const QString b17 = "Division B, class 17 Two Person Relay";
        QTest::newRow("team moved to another division after its placings")
            << QStringList{"UPDATE TblTeam SET Division = 'B'"} << ""
            << QStringList{
                   "0: " + b1 + ": 2 entered, no judge | Meet Setup > Judge's Class Assignments",
                   "0: " + b17 + ": 1 entered, no judge | Meet Setup > Judge's Class Assignments",
                   "3: " + b1 + ": 2 entered, no placings | Entry Booth > Placings",
                   "3: " + b17 + ": 1 entered, no placings | Entry Booth > Placings",
                   "5: " + class1 + ": Ann Lee (Acorn) is placed but not entered | Entry Booth > Placings",
                   "5: " + class1 + ": Bob Rider (Acorn) is placed but not entered | Entry Booth > Placings",
                   "5: Division A, class 17 Two Person Relay: Ann Lee (Acorn) is placed but not entered | "
                   "Entry "
                   "Booth > Placings"};
        QTest::newRow("same name, other case and blanks")
            << QStringList{"INSERT INTO TblPerson (FirstName, LastName, TeamCode, RiderNumber) "
                           "VALUES ('ann', 'LEE ', 1, '3')"}
            << "A" << QStringList{"7: Division A, Acorn: 2 riders named Ann Lee | Administration > Riders"};
        const QStringList otherDivision{"INSERT INTO TblTeam (TeamName, Division) VALUES ('Blue', 'B')",
                                        "INSERT INTO TblPerson (FirstName, LastName, TeamCode) VALUES ('Cy', "
                                        "'Dane', 2)"};
        QTest::newRow("fault of another division") << otherDivision << "A" << QStringList{};
        QTest::newRow("the whole meet")
            << otherDivision << QString()
            << QStringList{"6: Division B, Blue: riders but no coach | Administration > Coaches"};
    }
    void run_findsEachFaultAndNothingElse()
    {
        QFETCH(QStringList, fault);
        QFETCH(QString, division);
        QFETCH(QStringList, found);
        MeetFile meet;
        MeetBuilder b = meet.build();
        buildReadyMeet(b);
        for (const QString &statement : fault)
            Sql::exec(meet.db(), "fault", statement);
        QStringList lines;
        for (const MeetCheck::Problem &p : MeetCheck::run(meet.db(), division))
            lines << QStringLiteral("%1: %2 | %3").arg(int(p.rule)).arg(p.what, p.where);
        QCOMPARE(lines, found);
    }

    void report_printsTheVerdictAndTheProblemsUnderTheirRule()
    {
        MeetFile meet;
        MeetBuilder b = meet.build();
        buildReadyMeet(b);
        const auto print = [&] {
            const auto problems = MeetCheck::run(meet.db(), "A");
            return Report::paginate(MeetCheck::RptMeetCheck("A", problems), MeetCheck::rows(problems));
        };
        QCOMPARE(print().printedBy(u"LblVerdict"), QStringList{MeetCheck::Ready});

        Sql::exec(meet.db(), "fault", "DELETE FROM TblCoach");
        Sql::exec(meet.db(), "fault", "DELETE FROM TblPairing");
        const Report::Document doc = print();
        QCOMPARE(doc.printedBy(u"LblVerdict"), QStringList{"2 problems to mend"});
        QCOMPARE(doc.printedBy(u"txtHeading"),
                 (QStringList{"Relay entries without a partner", "Teams with riders but no coach"}));
        QCOMPARE(doc.printedBy(u"txtWhere"),
                 (QStringList{"Entry Booth > Rider Entries", "Administration > Coaches"}));
    }
};

QTEST_MAIN(TstMeetCheck)
#include "tst_meetcheck.moc"
