// Snapshots of the meet: the keeping rule over a show day, the order of writing whatever the
// clock says, the restore that keeps the present, damaged copies and leftovers, files that are no
// snapshots, and the net that asks (in words) when a snapshot cannot be taken.
#include "meetfile.h"
#include "scriptedmessages.h"
#include "testengine.h"

#include "db/journal.h"
#include "db/snapshotsource.h"
#include "shell/safetynet.h"

#include <unistd.h>

namespace {

// One byte of the file's second page flipped: the header of a table's first page.
void damage(const QString &path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    const QByteArray head = f.read(18);
    const int pageSize =
        (uchar(head[16]) << 8 | uchar(head[17])) == 1 ? 65536 : uchar(head[16]) << 8 | uchar(head[17]);
    char c = 0;
    QVERIFY(f.seek(pageSize) && f.getChar(&c) && f.seek(pageSize) && f.putChar(char(c ^ 0x5A)));
}

// The meet, failing like a full disk, or writing a damaged copy, while asked to.
class FailingSource : public SnapshotSource
{
public:
    explicit FailingSource(const DbConnection &meet)
        : m_meet(TestEngine::onServer() ? std::unique_ptr<SnapshotSource>(new ServerMeetSource(meet))
                                        : std::make_unique<MeetFileSource>(meet))
    {
    }
    void copyTo(const QString &path) override
    {
        if (failing)
            throw DbError("Taking a snapshot of the meet", {}, "database or disk is full");
        m_meet->copyTo(path);
        if (damaging)
            damage(path);
    }
    void replaceFrom(const QString &path, const QString &journalLine) override
    {
        m_meet->replaceFrom(path, journalLine);
    }
    std::int64_t changeCount() override { return m_meet->changeCount(); }
    bool failing = false;
    bool damaging = false;

private:
    std::unique_ptr<SnapshotSource> m_meet;
};

// A meet file with its net: snapshots into the folder "Snapshots" beside it, one second apart.
struct NetFixture
{
    NetFixture()
    {
        meet.open(MeetFixture::createMeet(dir.path()), DbConnection::Mode::ReadWrite);
        auto owned = std::make_unique<FailingSource>(meet);
        source = owned.get();
        net.attach(std::move(owned), folder());
        net.setClock([this] { return clock = clock.addSecs(1); });
    }
    QSqlDatabase db() const { return meet.database(); }
    QString folder() const { return dir.filePath("Snapshots"); }
    QStringList taken() const
    {
        QStringList whats;
        for (const Snapshot &s : net.store().list(false))
            whats << s.what;
        return whats;
    }
    static QString dumpOf(const QString &path)
    {
        DbConnection file;
        file.open(path, DbConnection::Mode::ReadOnly);
        return MeetFixture::dump(file.database());
    }

    QTemporaryDir dir;
    DbConnection meet;
    SafetyNet net;
    FailingSource *source = nullptr;
    QDateTime clock{QDate(2026, 12, 7), QTime(7, 0)};
    ScriptedMessages messages;
};

} // namespace

class TstSnapshots : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keepingRule_overAShowDayAndMore_keepsTheLast50AndTheNewestOfEachHourBefore()
    {
        // A snapshot every four minutes for thirty hours from 06:00, let go by the rule after each.
        std::vector<QDateTime> kept; // newest first
        QDateTime t(QDate(2026, 12, 7), QTime(6, 0));
        for (int i = 0; i < 450; ++i, t = t.addSecs(240)) {
            kept.insert(kept.begin(), t);
            const std::vector<bool> keep = SnapshotStore::kept(kept);
            std::vector<QDateTime> next;
            for (std::size_t k = 0; k < kept.size(); ++k)
                if (keep[k])
                    next.push_back(kept[k]);
            kept = next;
        }
        // The last 50 run back from 11:56 to 08:40 of the second day; before them one an hour:
        // 08:36, then xx:56 back to 06:56 of the first day (hours 6 to 8 of both days kept).
        QCOMPARE(int(kept.size()), 50 + 1 + 26);
        for (int i = 0; i < 50; ++i)
            QCOMPARE(kept[i], QDateTime(QDate(2026, 12, 8), QTime(11, 56)).addSecs(-240 * i));
        QCOMPARE(kept[50], QDateTime(QDate(2026, 12, 8), QTime(8, 36)));
        for (int h = 1; h <= 26; ++h)
            QCOMPARE(kept[50 + h], QDateTime(QDate(2026, 12, 8), QTime(7, 56)).addSecs(-3600 * (h - 1)));
    }

    void restore_bringsTheSnapshotBackAndKeepsThePresent()
    {
        NetFixture f;
        MeetBuilder b(f.db());
        const auto acorn = b.addTeam("Acorn", "A");
        b.addEntry(1, b.addRider(acorn, "Ann", "Lee", "1"));
        const QString before = MeetFixture::dump(f.db());
        Journal::writeLine(f.db(), "t", Journal::Kind::Roster, "Team Acorn");
        const Snapshot chosen = f.net.take("before numbering all riders");
        QCOMPARE(QFileInfo(chosen.path).fileName(),
                 "0001 2026-12-07 07-00-01 before numbering all riders.mdb");

        b.addTeam("Blue", "B");
        Journal::writeLine(f.db(), "t", Journal::Kind::Roster, "Team Blue");
        Sql::exec(f.db(), "change", "DELETE FROM TblEntry");
        const QString present = MeetFixture::dump(f.db());
        DbConnection reports; // another connection to the meet file, as the report data source has
        reports.open(f.meet.location(), DbConnection::Mode::ReadOnly);

        const Snapshot kept = f.net.restore(chosen);
        QCOMPARE(MeetFixture::dump(f.db()), before);
        QCOMPARE(MeetFixture::dump(reports.database()), before);
        QCOMPARE(NetFixture::dumpOf(kept.path), present);
        QCOMPARE(kept.what, "before restoring 2026-12-07 07-00-01");
        // The snapshot's journal comes back with it, and the restore's line names both snapshots.
        const auto journal = [](const QSqlDatabase &db) {
            return MeetQuery::column(db, "SELECT Kind || ': ' || What FROM TblJournal ORDER BY JournalID");
        };
        QCOMPARE(journal(f.db()),
                 (QStringList{"Roster: Team Acorn",
                              "Restore: Snapshot " + QFileInfo(chosen.path).fileName() +
                                  " restored; the meet before it is kept as snapshot " +
                                  QFileInfo(kept.path).fileName()}));
        DbConnection keptMeet;
        keptMeet.open(kept.path, DbConnection::Mode::ReadOnly);
        QCOMPARE(journal(keptMeet.database()), (QStringList{"Roster: Team Acorn", "Roster: Team Blue"}));

        const std::vector<Snapshot> listed = f.net.store().list(true);
        QCOMPARE(int(listed.size()), 2);
        QCOMPARE(listed[1].what, chosen.what);
        QCOMPARE((QList<int>{listed[0].teams, listed[0].riders, listed[0].entries, listed[0].placings}),
                 (QList<int>{2, 1, 0, 0}));
        QCOMPARE((QList<int>{listed[1].teams, listed[1].riders, listed[1].entries}), (QList<int>{1, 1, 1}));
        QCOMPARE(listed[1].damage, QString());
    }

    // A laptop's clock corrected, a time zone changed: the snapshot just taken and the one a
    // restore keeps are the newest, listed first and never let go.
    void clockSetBack_changesNeitherOrderNorKeeping()
    {
        NetFixture f;
        f.clock = QDateTime(QDate(2026, 12, 7), QTime(6, 57, 59));
        f.net.take("at 06:58");
        f.clock = QDateTime(QDate(2026, 12, 7), QTime(7, 0));
        for (int i = 0; i < 50; ++i)
            f.net.take(QString::number(i));
        MeetBuilder(f.db()).addTeam("Acorn", "A");
        f.clock = QDateTime(QDate(2026, 12, 7), QTime(6, 54, 59));
        const Snapshot late = f.net.take("clock set back");
        QVERIFY(QFile::exists(late.path));
        QCOMPARE(f.taken().mid(0, 3), (QStringList{"clock set back", "49", "48"}));

        const Snapshot chosen = f.net.store().list(false)[20];
        const Snapshot kept = f.net.restore(chosen);
        QVERIFY(QFile::exists(kept.path));
        QCOMPARE(f.taken().mid(0, 2), (QStringList{kept.what, "clock set back"}));
        QCOMPARE(NetFixture::dumpOf(kept.path), NetFixture::dumpOf(late.path));
    }

    // The oldest kept snapshot is let go by the snapshot a restore keeps first: it must have been
    // read back by then.
    void restore_ofTheOldestKept_readsItBeforeAnythingIsLetGo()
    {
        NetFixture f;
        MeetBuilder b(f.db());
        for (int i = 0; i < 51; ++i) {
            f.net.take(QString::number(i));
            b.addTeam(QStringLiteral("Team %1").arg(i), "A");
        }
        const std::vector<Snapshot> listed = f.net.store().list(false);
        QCOMPARE(int(listed.size()), 51);
        const QString oldest = NetFixture::dumpOf(listed.back().path);
        f.net.restore(listed.back());
        QCOMPARE(MeetFixture::dump(f.db()), oldest);
        QVERIFY(!QFile::exists(listed.back().path));
    }

    void damagedSnapshot_isListedSoAndNeverRestored()
    {
        NetFixture f;
        MeetBuilder(f.db()).addTeam("Acorn", "A");
        const Snapshot chosen = f.net.take("before numbering all riders");
        MeetBuilder(f.db()).addTeam("Blue", "B");
        damage(chosen.path);
        const Snapshot listed = f.net.store().list(true).front();
        QVERIFY2(!listed.damage.isEmpty(), "listed as sound");

        const QString meet = MeetFixture::dump(f.db());
        QVERIFY_THROWS_EXCEPTION(DbError, f.net.restore(listed));
        QCOMPARE(MeetFixture::dump(f.db()), meet);
        QCOMPARE(f.taken(), QStringList{"before numbering all riders"}); // nothing was kept or replaced

        // A copy damaged as it is written is not kept: the meet itself may be damaged.
        f.source->damaging = true;
        f.messages.answer({false});
        QVERIFY(!f.net.before(f.messages, "deleting team Blue (B)"));
        QVERIFY2(f.messages.log[0].text.contains("the copy fails the engine's check"),
                 qPrintable(f.messages.log[0].text));
        QCOMPARE(QDir(f.folder()).entryList(QDir::Files), QStringList{QFileInfo(chosen.path).fileName()});
    }

    // The restore a damaged meet file needs: the damaged meet is kept as it is, listed so.
    void restore_ofADamagedMeet_keepsItAndPutsItRight()
    {
        if (TestEngine::onServer())
            QSKIP("the server keeps its own pages");
        NetFixture f;
        MeetBuilder(f.db()).addTeam("Acorn", "A");
        const Snapshot sound = f.net.take("sound");
        const QString before = MeetFixture::dump(f.db());
        const QString path = f.meet.location();
        f.meet.close();
        damage(path);
        f.meet.open(path, DbConnection::Mode::ReadWrite);
        const Snapshot kept = f.net.restore(sound);
        QCOMPARE(MeetFixture::dump(f.db()), before);
        QCOMPARE(f.net.store().list(true).front().what, kept.what);
        QVERIFY(!f.net.store().list(true).front().damage.isEmpty());
    }

    // What a snapshot cut short left is removed by the next one, and nothing else.
    void leftoversOfAnInterruptedSnapshot_areRemovedByTheNext()
    {
        NetFixture f;
        QDir().mkpath(f.folder());
        const QStringList left{
            "0007 2026-12-07 06-00-00 x.mdb.partial", "0007 2026-12-07 06-00-00 x.mdb.partial-journal",
            ".0007 2026-12-07 06-00-00 x.mdb.partial.4242.copying", "notes.txt", "mine.mdb"};
        for (const QString &name : left)
            MeetQuery::writeFile(QDir(f.folder()).filePath(name), "left");
        f.net.take("next");
        QStringList there = QDir(f.folder()).entryList(QDir::Files | QDir::Hidden);
        there.removeAll(".taking.lock");
        QCOMPARE(there, (QStringList{"0001 2026-12-07 07-00-01 next.mdb", "mine.mdb", "notes.txt"}));
    }

    // Files that are no snapshots, and snapshots of earlier versions named by their time alone
    // (listed after the numbered ones, by that time, and kept by the same rule).
    void foreignAndOlderFiles_areNeitherRestoredNorLetGoOutOfTurn()
    {
        NetFixture f;
        QDir().mkpath(f.folder());
        MeetQuery::writeFile(QDir(f.folder()).filePath("2026-12-07 06-00-00 broken.mdb"), "not a meet");
        MeetQuery::writeFile(QDir(f.folder()).filePath("notes.txt"), "not a meet");
        QDir().mkpath(f.dir.filePath("older"));
        const QString older = MeetFixture::createMeetFile(f.dir.filePath("older"));
        for (const char *name : {"2026-12-06 10-20-00 old b.mdb", "2026-12-06 10-40-00 old c.mdb",
                                 "2026-12-06 09-10-00 old a.mdb"})
            QVERIFY(QFile::copy(older, QDir(f.folder()).filePath(name)));
        QCOMPARE(f.taken(), (QStringList{"broken", "old c", "old b", "old a"}));
        const Snapshot broken = f.net.store().list(true).front();
        QCOMPARE(broken.teams, -1);
        QVERIFY(!broken.damage.isEmpty());
        const QString before = MeetFixture::dump(f.db());
        QVERIFY_THROWS_EXCEPTION(DbError, f.net.restore(broken));
        QCOMPARE(MeetFixture::dump(f.db()), before);
        QCOMPARE(f.taken().size(), 4); // nothing was kept, as nothing was replaced

        // 55 more within the next hour: the last 50 stay, the newest of the five before them, the
        // broken one alone in its hour, the newest of two in an hour, and the files of other names.
        for (int i = 0; i < 55; ++i)
            f.net.take(QString::number(i));
        QCOMPARE(f.taken().mid(49), (QStringList{"5", "4", "broken", "old c", "old a"}));
        QCOMPARE(QFileInfo(f.net.store().list(false).front().path).fileName().left(5), "0055 ");
        QVERIFY(QFile::exists(QDir(f.folder()).filePath("notes.txt")));
        QCOMPARE(SnapshotStore::parse(SnapshotStore::fileName(12, f.clock, " team A/B: \"x\"\t*? "))->what,
                 "team A-B- -x- --");
    }

    // What keeps a snapshot from being written is said in words, and the user asked.
    void folderProblems_areToldInWords_data()
    {
        QTest::addColumn<QString>("problem");
        QTest::addColumn<QString>("told"); // after "...before numbering all riders:\n\n"; %1 the folder
        QTest::newRow("full") << "full"
                              << "the disk of the snapshot folder \"%1\" is full";
        QTest::newRow("a file in its place") << "file"
                                             << "\"%1\" is a file, where the snapshot folder should be";
        QTest::newRow("read-only") << "read-only"
                                   << (geteuid() == 0
                                           ? QString() // the super-user writes anyway
                                           : "the snapshot folder \"%1\" is read-only: nothing may be "
                                             "written in it");
    }
    void folderProblems_areToldInWords()
    {
        QFETCH(QString, problem);
        QFETCH(QString, told);
        NetFixture f;
        if (problem == "full") {
            f.source->failing = true;
        } else if (problem == "file") {
            MeetQuery::writeFile(f.folder(), "in the way");
        } else {
            QDir().mkpath(f.folder());
            QFile::setPermissions(f.folder(), QFile::ReadOwner | QFile::ExeOwner);
        }
        f.messages.answer({false});
        const bool went = f.net.before(f.messages, "numbering all riders");
        QFile::setPermissions(f.folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (told.isEmpty()) {
            QVERIFY(went && f.messages.log.isEmpty());
            return;
        }
        QVERIFY(!went);
        QCOMPARE(f.messages.log.size(), 1);
        QCOMPARE(f.messages.log[0].text,
                 "The meet could not be copied to the snapshot folder before numbering all "
                 "riders:\n\n" +
                     told.arg(QDir::toNativeSeparators(f.folder())) + "\n\nGo on without a snapshot?");
    }

    void net_asksWhenNoSnapshotCanBeTaken_andCountsSavesAndChanges()
    {
        NetFixture f;
        f.source->failing = true;
        f.messages.answer({false, true});
        QVERIFY(!f.net.before(f.messages, "numbering all riders"));
        QVERIFY(f.net.before(f.messages, "numbering all riders"));
        // A failing timed snapshot is told once, not every ten minutes.
        MeetBuilder(f.db()).addTeam("Acorn", "A");
        f.net.takeIfChanged(f.messages);
        f.net.takeIfChanged(f.messages);
        QCOMPARE(f.messages.log.size(), 3);
        QCOMPARE(f.messages.log[2].kind, ScriptedMessages::Kind::Warn);
        QVERIFY(f.taken().isEmpty());

        f.source->failing = false;
        f.net.takeIfChanged(f.messages); // changed since the last snapshot
        f.net.takeIfChanged(f.messages); // nothing changed since
        for (int save = 1; save <= 25; ++save)
            QVERIFY(f.net.beforeSave(f.messages, QStringLiteral("save %1").arg(save)));
        QCOMPARE(f.taken(), (QStringList{"before save 20", "before save 10", SafetyNet::EveryTenMinutes}));
        QCOMPARE(f.messages.log.size(), 3);
    }
};

QTEST_GUILESS_MAIN(TstSnapshots)
#include "tst_snapshots.moc"
