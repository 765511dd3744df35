// The journal of every save, and putting one save back: each save writes its line with the rows
// it replaced and wrote, putting it back gives the meet exactly as it was, and a save overtaken
// by a later one is not put back.
#include "meetfile.h"

#include "db/dberror.h"
#include "db/journal.h"
#include "entries/entrysheet.h"
#include "import/regionalimport.h"
#include "import/rosterimport.h"
#include "judging/judgeassignments.h"
#include "judging/placingcard.h"
#include "registration/coachroster.h"
#include "registration/judgeroster.h"
#include "registration/numberassigner.h"
#include "registration/riderregistry.h"
#include "registration/teamroster.h"
#include "shell/gridmarks.h"
#include "shell/putback.h"

using Save = std::function<void(class TestJournal &)>;
Q_DECLARE_METATYPE(Save)

class TestJournal : public QObject
{
    Q_OBJECT

public:
    std::unique_ptr<MeetFile> m;
    std::int32_t blue = 0, red = 0, green = 0, ann = 0, bo = 0, cy = 0, eve = 0, coach = 0, judge1 = 0, judge2 = 0, spare = 0;

    QSqlDatabase db() const { return m->db(); }

    qint64 lastLine() const
    {
        return Sql::scalar(db(), "test", "SELECT coalesce(max(JournalID), 0) FROM TblJournal").toLongLong();
    }

    // Both judges' cards of class 1, division A: the riders' lines in order of place.
    void placeClassOne(const std::array<int, 3> &order)
    {
        PlacingCard card(db(), "A", 1);
        QCOMPARE(card.load(), PlacingCard::Opening::Ready);
        PlacingCard::Card marks{};
        for (int c = 0; c < 2; ++c)
            for (int p = 0; p < 3; ++p)
                marks[c][p] = order[p];
        card.save(marks);
    }

    void enterBlue(const QVector<std::pair<int, int>> &ticks)
    {
        EntrySheet sheet(db(), blue);
        GridMarks marks(int(sheet.riders().size()));
        for (const auto &[row, cls] : ticks)
            marks.set(row, cls, true);
        QVERIFY(!sheet.submit(marks, QStringList(sheet.riders().size())));
    }

private Q_SLOTS:
    void init()
    {
        Journal::setStation("Entry Booth 2");
        m = std::make_unique<MeetFile>();
        MeetBuilder b = m->build();
        blue = b.addTeam("Blue", "A");
        red = b.addTeam("O'Red", "A");
        ann = b.addRider(blue, "Ann", "Lee", "1");
        bo = b.addRider(blue, "Bo", "Brown", "2");
        cy = b.addRider(red, "Cy", "Cole", "3");
        eve = b.addRider(red, "Eve", "Ede", "5"); // entered nowhere
        coach = b.addCoach(blue, "Hal", "Hart");
        green = b.addTeam("Green", "B");
        b.addCoach(green, "Gil", "Gale");
        judge1 = b.addJudge("Jo", "Abel");
        judge2 = b.addJudge("Kim", "Baker");
        spare = b.addJudge("Lu", "Cruz");
        for (auto j : {judge1, judge2})
            b.assignJudge(j, 1, "A");
        for (auto r : {ann, bo, cy})
            b.addEntry(1, r);
        b.addPlacing(1, 1, ann, "A", judge1);
        b.addPlacing(1, 1, bo, "A", judge2);
    }
    void cleanup() { m.reset(); }

    void save_isJournaledAndPutBackExactly_data()
    {
        QTest::addColumn<Save>("save");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("tables");
        const auto team = [](std::int32_t code) { return TeamRecord{code, "Grey", "B", "12", "4"}; };
        QTest::newRow("team added") << Save([&](TestJournal &t) { TeamRoster(t.db()).save(team(-1)); })
                                    << "Roster" << "TblTeam";
        QTest::newRow("team changed") << Save([&](TestJournal &t) { TeamRoster(t.db()).save(team(t.red)); })
                                      << "Roster" << "TblTeam";
        QTest::newRow("team deleted with its coaches")
            << Save([](TestJournal &t) { TeamRoster(t.db()).deleteWithCoaches(t.green); })
            << "Roster" << "TblTeam TblCoach";
        QTest::newRow("coach added")
            << Save([](TestJournal &t) { CoachRoster(t.db()).save({-1, t.red, "Ida", "Ives", "", "", "", "", "", "", "Head Coach"}); })
            << "Roster" << "TblCoach";
        QTest::newRow("coach deleted") << Save([](TestJournal &t) { CoachRoster(t.db()).remove(t.coach); })
                                       << "Roster" << "TblCoach";
        QTest::newRow("rider changed")
            << Save([](TestJournal &t) {
                   QCOMPARE(RiderRegistry(t.db()).save({t.cy, t.red, "33", "Cy", "Cole-Fox", "", "", ""}),
                            RiderRegistry::SaveOutcome::Saved);
               })
            << "Roster" << "TblPerson";
        QTest::newRow("rider added")
            << Save([](TestJournal &t) { RiderRegistry(t.db()).save({-1, t.red, "44", "Dee", "Dunn", "", "", ""}); })
            << "Roster" << "TblPerson";
        QTest::newRow("rider deleted") << Save([](TestJournal &t) { RiderRegistry(t.db()).remove(t.eve); })
                                       << "Roster" << "TblPerson";
        QTest::newRow("judge changed")
            << Save([](TestJournal &t) { JudgeRoster(t.db()).save({t.spare, "Lu", "Cruz-Diaz", "", "", "", "", "", "", ""}); })
            << "Roster" << "TblJudge";
        QTest::newRow("judge deleted")
            << Save([](TestJournal &t) { QCOMPARE(JudgeRoster(t.db()).remove(t.spare), std::nullopt); })
            << "Roster" << "TblJudge";
        QTest::newRow("team's entries") << Save([](TestJournal &t) { t.enterBlue({{1, 2}, {2, 3}}); })
                                        << "Entries" << "TblEntry TblPairing";
        QTest::newRow("division's judges")
            << Save([](TestJournal &t) {
                   JudgeAssignments judges(t.db(), "A");
                   GridMarks marks(int(judges.judges().size()));
                   for (int r = 1; r <= 2; ++r)
                       marks.set(r + 1, 4, true);
                   QVERIFY(!judges.submit(marks));
               })
            << "Judge assignments" << "TblClassJudges";
        QTest::newRow("class's placings") << Save([](TestJournal &t) { t.placeClassOne({2, 1, 3}); })
                                          << "Placings" << "TblPlacing";
        QTest::newRow("every rider numbered")
            << Save([](TestJournal &t) { NumberAssigner(t.db()).applyNumbers(NumberAssigner::sequentialRange(100, 199, 3)); })
            << "Rider numbers" << "TblPerson";
        QTest::newRow("one rider numbered")
            << Save([](TestJournal &t) { QVERIFY(NumberAssigner(t.db()).setRiderNumber(t.ann, 77)); })
            << "Rider numbers" << "TblPerson";
        QTest::newRow("regional import")
            << Save([](TestJournal &t) {
                   RegionalImport import;
                   QCOMPARE(import.load(MeetQuery::regionalFile(t.m->filePath(""), "Region4-2006.mdb",
                                                                [](MeetBuilder &b) {
                                                                    const auto g = b.addTeam("Gale", "C", "3", "");
                                                                    b.addRider(g, "Gus", "Gale");
                                                                    b.addCoach(g, "Gil", "Gale");
                                                                })),
                            std::nullopt);
                   import.importInto(t.db());
               })
            << "Import" << "TblTeam TblCoach TblPerson";
        QTest::newRow("spreadsheet import, new and updated")
            << Save([](TestJournal &t) {
                   RosterSheet sheet;
                   QVERIFY(!sheet.load(RosterFields::Kind::Judges,
                                       MeetQuery::writeFile(t.m->filePath("j.csv"),
                                                            "First Name,Last Name,City\nLu,Cruz,Elm\nMo,Moss,Oak\n")));
                   const RosterImport import(t.db(), {sheet});
                   QCOMPARE(import.importInto(import.preview(), true).counts.size(), 1);
               })
            << "Import" << "TblJudge";
    }

    void save_isJournaledAndPutBackExactly()
    {
        QFETCH(Save, save);
        QFETCH(QString, kind);
        QFETCH(QString, tables);
        const QString before = MeetFixture::dump(db());
        const qint64 earlier = lastLine();
        save(*this);
        const QString after = MeetFixture::dump(db());
        QVERIFY(after != before);

        QVector<Journal::Scope> places;
        const auto line = Journal::line(db(), lastLine(), &places);
        QVERIFY(line && line->id == earlier + 1);
        QCOMPARE(line->kind, kind);
        QCOMPARE(line->station, QStringLiteral("Entry Booth 2"));
        QCOMPARE(line->tables.join(' '), tables);
        QVERIFY(!line->what.isEmpty());
        QVERIFY(std::any_of(places.cbegin(), places.cend(), [](const auto &p) { return p.before != p.after; }));

        const PutBack::Outcome back = PutBack::run(db(), line->id);
        QCOMPARE(back.refusal, QString());
        QCOMPARE(MeetFixture::dump(db()), before);
        // The put-back is a save of its own, and putting it back makes the save again.
        QCOMPARE(Journal::line(db(), back.newLine)->kind, QStringLiteral("Put back"));
        QCOMPARE(PutBack::run(db(), back.newLine).refusal, QString());
        QCOMPARE(MeetFixture::dump(db()), after);
    }

    void putBack_refusedWhenOvertaken_data()
    {
        QTest::addColumn<Save>("later");
        QTest::addColumn<bool>("named"); // the later line is named to be shown
        QTest::newRow("placings saved again") << Save([](TestJournal &t) { t.placeClassOne({3, 2, 1}); }) << true;
        QTest::newRow("a placed rider deleted through the back door")
            << Save([](TestJournal &t) { Sql::exec(t.db(), "test", "DELETE FROM TblPlacing WHERE RiderIndex = ?", {t.cy}); })
            << false;
    }

    void putBack_refusedWhenOvertaken()
    {
        QFETCH(Save, later);
        QFETCH(bool, named);
        placeClassOne({2, 1, 3});
        const qint64 first = lastLine();
        later(*this);
        const QString now = MeetFixture::dump(db());
        const PutBack::Outcome back = PutBack::run(db(), first);
        QVERIFY(!back.done());
        QCOMPARE(back.laterLine, named ? first + 1 : 0);
        QVERIFY2(back.refusal.contains(named ? "a later save changed the same rows (line" : "changed since"),
                 qPrintable(back.refusal));
        QCOMPARE(MeetFixture::dump(db()), now);
        QCOMPARE(lastLine(), named ? first + 1 : first);
    }

    void putBack_keepsTheRosterRules()
    {
        // A rider added and entered since cannot be put back out of the meet, nor a judge who places.
        QCOMPARE(RiderRegistry(db()).save({-1, red, "44", "Dee", "Dunn", "", "", ""}), RiderRegistry::SaveOutcome::Saved);
        const auto dee = Sql::scalar(db(), "t", "SELECT max(RiderIndex) FROM TblPerson").toInt();
        const qint64 added = lastLine();
        m->build().addEntry(2, dee);
        const QString now = MeetFixture::dump(db());
        QVERIFY(PutBack::run(db(), added).refusal.contains("the rider it added is entered"));
        QCOMPARE(MeetFixture::dump(db()), now);
        // Lines without rows are put back by a snapshot.
        const qint64 copied = Journal::writeLine(db(), "t", Journal::Kind::Restore, "Snapshot restored");
        QVERIFY(PutBack::run(db(), copied).refusal.contains("restoring a snapshot"));
    }

    void cut_leavesSaveAndLineBothOrNeither_data()
    {
        QTest::addColumn<Save>("save");
        QTest::addColumn<QString>("cut");
        const Save placings = [](TestJournal &t) { t.placeClassOne({2, 1, 3}); };
        const Save entries = [](TestJournal &t) { t.enterBlue({{1, 2}}); };
        const Save team = [](TestJournal &t) { TeamRoster(t.db()).deleteWithCoaches(t.blue); };
        for (const auto &[name, s, cuts] :
             {std::tuple{"placings", placings, QStringList{"DELETE ON TblPlacing", "INSERT ON TblPlacing", "INSERT ON TblJournal"}},
              std::tuple{"entries", entries, QStringList{"DELETE ON TblEntry", "INSERT ON TblEntry", "INSERT ON TblJournal"}},
              std::tuple{"team deleted", team, QStringList{"DELETE ON TblTeam", "DELETE ON TblCoach", "INSERT ON TblJournal"}}})
            for (const QString &cut : cuts)
                QTest::addRow("%s, %s", name, qPrintable(cut)) << s << cut;
    }

    void cut_leavesSaveAndLineBothOrNeither()
    {
        QFETCH(Save, save);
        QFETCH(QString, cut);
        const QString before = MeetFixture::dump(db());
        const QString release = MeetQuery::forceFailure(db(), cut);
        QVERIFY_THROWS_EXCEPTION(DbError, save(*this));
        QCOMPARE(MeetFixture::dump(db()), before);
        QCOMPARE(MeetQuery::count(db(), "TblJournal"), 0);
        Sql::exec(db(), "test", release);
        save(*this);
        QCOMPARE(MeetQuery::count(db(), "TblJournal"), 1);
    }

    void lines_newestFirstAndFiltered()
    {
        placeClassOne({2, 1, 3});
        Journal::setStation("Judging Office");
        enterBlue({{1, 2}});
        const auto ids = [&](const Journal::Filter &f) {
            QList<qint64> out;
            for (const auto &l : Journal::lines(db(), f))
                out << l.id;
            return out;
        };
        QCOMPARE(ids({}), (QList<qint64>{2, 1}));
        QVERIFY(qAbs(Journal::lines(db()).first().savedAt.secsTo(QDateTime::currentDateTimeUtc())) < 60);
        QCOMPARE(ids({"Placings", {}, {}, {}}), QList<qint64>{1});
        QCOMPARE(ids({{}, "Judging Office", {}, {}}), QList<qint64>{2});
        QCOMPARE(ids({{}, {}, QDateTime::currentDateTime().addDays(1), {}}), QList<qint64>{});
        QCOMPARE(ids({{}, {}, {}, QDateTime::currentDateTime().addDays(1)}), (QList<qint64>{2, 1}));
        QCOMPARE(Journal::stations(db()), (QStringList{"Entry Booth 2", "Judging Office"}));
    }
};

QTEST_GUILESS_MAIN(TestJournal)
#include "tst_journal.moc"
