// The entries of one team without the window: what is read back, the relay checks in their
// order, and the save that replaces the team's rows as a whole.
#include "meetfile.h"

#include "db/dberror.h"
#include "db/sql.h"
#include "entries/entrysheet.h"
#include "shell/gridmarks.h"

using MeetQuery::column;

class TstEntrySheet : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MeetFile> m_meet;
    std::int32_t m_blue = 0;
    std::int32_t m_red = 0;
    QHash<QString, std::int32_t> m_rider; // by first name

    QSqlDatabase db() const { return m_meet->db(); }

    // Ticks "A=2" (rider A in the relay, partner "2") or "A:3" (rider A in class 3) and submits.
    // Answers the refusal and the rider whose partner box it points at: "text [A]", or "".
    QString submit(const QStringList &ticks)
    {
        EntrySheet sheet(db(), m_blue);
        GridMarks marks(int(sheet.riders().size()));
        QStringList partners(sheet.riders().size());
        for (const QString &t : ticks) {
            int row = 1;
            while (sheet.riders()[row - 1].firstName != t.left(1))
                ++row;
            if (t[1] == u'=') {
                marks.set(row, 17, true);
                partners[row - 1] = t.mid(2);
            } else {
                marks.set(row, t.mid(2).toInt(), true);
            }
        }
        const auto refusal = sheet.submit(marks, partners);
        return refusal ? refusal->text + " [" + sheet.riders()[refusal->row - 1].firstName + ']' : QString();
    }

    // "A:3" for each entry of the team's riders, then "A>07 C Rider" for each relay partner.
    QStringList rowsOf(const QString &team)
    {
        const QString ofTeam = " JOIN TblTeam t ON t.TeamCode = p.TeamCode WHERE t.TeamName = ? ORDER BY 1";
        return column(db(),
                      "SELECT p.FirstName || ':' || ClassNumber FROM TblEntry e JOIN TblPerson p "
                      "ON p.RiderIndex = e.RiderIndex" +
                          ofTeam,
                      {team}) +
               column(
                   db(),
                   "SELECT p.FirstName || '>' || PartnerNumber || ' ' || PartnerFirst || ' ' || PartnerLast "
                   "FROM TblPairing g JOIN TblPerson p ON p.RiderIndex = g.RiderIndex JOIN TblPerson q "
                   "ON q.RiderIndex = PartnerIndex AND q.FirstName = PartnerFirst" +
                       ofTeam,
                   {team});
    }

private Q_SLOTS:
    void init()
    {
        m_meet = std::make_unique<MeetFile>();
        MeetBuilder b(db());
        m_blue = b.addTeam("Blue", "B");
        m_red = b.addTeam("Red", "B");
        // Numbers sort as text: D (none), C, A, E, B.
        for (const auto &[first, number] : {std::pair{"A", "1"}, std::pair{"B", "2"}, std::pair{"C", "07"},
                                            std::pair{"D", ""}, std::pair{"E", "10"}})
            m_rider[first] = b.addRider(m_blue, first, "Rider", number);
        m_rider["X"] = b.addRider(m_red, "X", "Redd", "9");
    }
    void cleanup() { m_meet.reset(); }

    void load_ridersEntriesAndPartnersAsStored()
    {
        MeetBuilder b(db());
        b.addEntry(3, m_rider["A"]);
        b.addEntry(3, m_rider["A"]); // a duplicate row
        b.addEntry(17, m_rider["C"]);
        b.addPairing(m_rider["C"], m_rider["E"]);
        b.addEntry(17, m_rider["B"]);
        b.addPairing(m_rider["B"], m_rider["X"]);
        b.addEntry(1, m_rider["X"]);
        // E is renumbered after the pairing; X leaves the meet.
        Sql::exec(db(), "renumber", "UPDATE TblPerson SET RiderNumber = '11' WHERE FirstName = 'E'");
        Sql::exec(db(), "drop", "DELETE FROM TblPerson WHERE FirstName = 'X'");

        const EntrySheet sheet(db(), m_blue);
        QStringList order;
        for (const EntryRider &r : sheet.riders())
            order << EntrySheet::rowCaption(r).whole();
        QCOMPARE(order, (QStringList{"D Rider - ()", "C Rider - (07)", "A Rider - (1)", "E Rider - (11)",
                                     "B Rider - (2)"}));
        QStringList entries;
        for (const EntrySheet::Cell &c : sheet.storedEntries())
            entries << QStringLiteral("%1:%2").arg(c.row).arg(c.cls);
        entries.sort();
        QCOMPARE(entries, (QStringList{"2:17", "3:3", "3:3", "5:17"}));
        // The partner's number as it stands now; the stored copy once the partner is gone.
        QCOMPARE(sheet.storedPartners(), (QStringList{"", "11", "", "", "9"}));
        QCOMPARE(sheet.partnerChoices(), (QStringList{"07", "1", "11", "2"}));
    }

    void submit_relayChecksInTheirOrder_data()
    {
        QTest::addColumn<QStringList>("ticks");
        QTest::addColumn<QString>("refusal"); // and the rider whose partner box is at fault; empty: saved
        QTest::addColumn<QStringList>("stored");
        const QString missing = EntrySheet::PartnerMissing;
        const QString twice = EntrySheet::TwoRelayTeams;
        QTest::newRow("empty partner") << QStringList{"A="} << missing + " [A]" << QStringList{};
        QTest::newRow("blank partner") << QStringList{"A= "} << missing + " [A]" << QStringList{};
        QTest::newRow("same partner twice, by value")
            << QStringList{"A=9", "B=09"} << twice + " [B]" << QStringList{};
        QTest::newRow("mutual pair") << QStringList{"A=2", "B=1"} << twice + " [B]" << QStringList{};
        QTest::newRow("mutual pair, one box empty")
            << QStringList{"A=2", "B="} << missing + " [B]" << QStringList{};
        QTest::newRow("names himself by value") << QStringList{"C=7"} << twice + " [C]" << QStringList{};
        QTest::newRow("empty before unknown")
            << QStringList{"A=55", "B="} << missing + " [B]" << QStringList{};
        QTest::newRow("unknown number")
            << QStringList{"A:1", "E=55"} << EntrySheet::unknownPartner("55") + " [E]" << QStringList{};
        QTest::newRow("partner of another team")
            << QStringList{"A=9"} << QString() << QStringList{"A:17", "A>9 X Redd"};
        QTest::newRow("partner found by value")
            << QStringList{"A=7", "A:2"} << QString() << QStringList{"A:17", "A:2", "A>07 C Rider"};
        QTest::newRow("two pairs") << QStringList{"A=2", "E=07"} << QString()
                                   << QStringList{"A:17", "E:17", "A>2 B Rider", "E>07 C Rider"};
        QTest::newRow("failure part-way")
            << QStringList{"B:3", "C:5", "A=2"} << "(forced failure)" << QStringList{};
    }
    void submit_relayChecksInTheirOrder()
    {
        QFETCH(QStringList, ticks);
        QFETCH(QString, refusal);
        QFETCH(QStringList, stored);
        MeetBuilder(db()).addEntry(4, m_rider["D"]);
        const QString before = MeetFixture::dump(db());
        if (refusal == u"(forced failure)") {
            MeetQuery::forceFailure(db(), "INSERT ON TblPairing");
            QVERIFY_THROWS_EXCEPTION(DbError, submit(ticks));
            QCOMPARE(MeetFixture::dump(db()), before);
            return;
        }
        QCOMPARE(submit(ticks), refusal);
        if (!refusal.isEmpty())
            QCOMPARE(MeetFixture::dump(db()), before);
        else
            QCOMPARE(rowsOf("Blue"), stored);
    }

    void submit_replacesOnlyTheTeamsRows()
    {
        MeetBuilder b(db());
        b.addEntry(1, m_rider["A"]);
        b.addEntry(17, m_rider["A"]);
        b.addPairing(m_rider["A"], m_rider["B"]);
        b.addEntry(17, m_rider["X"]);
        b.addPairing(m_rider["X"], m_rider["A"]); // another team's pairing naming a Blue rider stays
        const QStringList red = rowsOf("Red");
        QCOMPARE(red, (QStringList{"X:17", "X>1 A Rider"}));

        QCOMPARE(submit({"B:2", "D:2"}), QString());
        QCOMPARE(rowsOf("Blue"), (QStringList{"B:2", "D:2"}));
        QCOMPARE(submit({}), QString());
        QCOMPARE(rowsOf("Blue"), QStringList{});
        QCOMPARE(rowsOf("Red"), red);
    }

    // Another station's change is told as a change; the team's riders all gone, as deleted, with
    // nothing left to open again.
    void submit_overtaken_toldAsChangedOrDeleted()
    {
        for (const bool allGone : {false, true}) {
            init();
            const EntrySheet sheet(db(), m_blue);
            Sql::exec(db(), "test", allGone ? "DELETE FROM TblPerson WHERE TeamCode = ?"
                                            : "UPDATE TblPerson SET LastName = 'Other' WHERE TeamCode = ?",
                      {m_blue});
            const QString before = MeetFixture::dump(db());
            try {
                sheet.submit(GridMarks(int(sheet.riders().size())), QStringList(sheet.riders().size()));
                QFAIL("an overtaken sheet was saved");
            } catch (const DbError &e) {
                QCOMPARE(e.kind(), allGone ? DbError::Kind::Gone : DbError::Kind::Conflict);
                QVERIFY2(e.userText().contains(allGone ? "deleted this team's riders" : "changed this team's"),
                         qPrintable(e.userText()));
            }
            QCOMPARE(MeetFixture::dump(db()), before);
            cleanup();
        }
    }
};

QTEST_GUILESS_MAIN(TstEntrySheet)
#include "tst_entrysheet.moc"
