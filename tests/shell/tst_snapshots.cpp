// Snapshots of the meet: the keeping rule over a show day, the restore that keeps the present,
// files that are no snapshots, and the net that asks when a snapshot cannot be taken.
#include "meetfile.h"
#include "scriptedmessages.h"

#include "db/snapshotsource.h"
#include "shell/safetynet.h"

namespace {

// The meet file, failing like a full disk while asked to.
class FailingSource : public MeetFileSource
{
public:
    using MeetFileSource::MeetFileSource;
    void copyTo(const QString &path) override
    {
        if (failing)
            throw DbError("Taking a snapshot of the meet", {}, "database or disk is full");
        MeetFileSource::copyTo(path);
    }
    bool failing = false;
};

// A meet file with its net: snapshots into the folder "Snapshots" beside it, one second apart.
struct NetFixture
{
    NetFixture()
    {
        meet.open(MeetFixture::createMeet(dir.path()), DbConnection::Mode::ReadWrite);
        auto owned = std::make_unique<FailingSource>(meet);
        source = owned.get();
        net.attach(std::move(owned), dir.filePath("Snapshots"));
        net.setClock([this] { return clock = clock.addSecs(1); });
    }
    QSqlDatabase db() const { return meet.database(); }
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
    void keepingRule_overAShowDay_keepsTheLast50AndTheNewestOfEachHourBefore()
    {
        // A snapshot every four minutes from 06:00 to 06:00, let go by the rule after each one.
        std::vector<QDateTime> kept; // newest first
        QDateTime t(QDate(2026, 12, 7), QTime(6, 0));
        for (int i = 0; i < 360; ++i, t = t.addSecs(240)) {
            kept.insert(kept.begin(), t);
            const std::vector<bool> keep = SnapshotStore::kept(kept);
            std::vector<QDateTime> next;
            for (std::size_t k = 0; k < kept.size(); ++k)
                if (keep[k])
                    next.push_back(kept[k]);
            kept = next;
        }
        // The last 50 run back from 05:56 to 02:40; before them one an hour: 02:36, then xx:56
        // back to 06:56.
        QCOMPARE(int(kept.size()), 50 + 21);
        for (int i = 0; i < 50; ++i)
            QCOMPARE(kept[i], QDateTime(QDate(2026, 12, 8), QTime(5, 56)).addSecs(-240 * i));
        QCOMPARE(kept[50], QDateTime(QDate(2026, 12, 8), QTime(2, 36)));
        for (int h = 1; h < 21; ++h)
            QCOMPARE(kept[50 + h], QDateTime(QDate(2026, 12, 8), QTime(1, 56)).addSecs(-3600 * (h - 1)));
    }

    void restore_bringsTheSnapshotBackAndKeepsThePresent()
    {
        NetFixture f;
        MeetBuilder b(f.db());
        const auto acorn = b.addTeam("Acorn", "A");
        b.addEntry(1, b.addRider(acorn, "Ann", "Lee", "1"));
        const QString before = MeetFixture::dump(f.db());
        const Snapshot chosen = f.net.take("before numbering all riders");

        b.addTeam("Blue", "B");
        Sql::exec(f.db(), "change", "DELETE FROM TblEntry");
        const QString present = MeetFixture::dump(f.db());
        DbConnection reports; // another connection to the meet file, as the report data source has
        reports.open(f.meet.location(), DbConnection::Mode::ReadOnly);

        const Snapshot kept = f.net.restore(chosen);
        QCOMPARE(MeetFixture::dump(f.db()), before);
        QCOMPARE(MeetFixture::dump(reports.database()), before);
        QCOMPARE(NetFixture::dumpOf(kept.path), present);
        QCOMPARE(kept.what, "before restoring 2026-12-07 07-00-01");

        const std::vector<Snapshot> listed = f.net.store().list(true);
        QCOMPARE(int(listed.size()), 2);
        QCOMPARE(listed[1].what, chosen.what);
        QCOMPARE((QList<int>{listed[0].teams, listed[0].riders, listed[0].entries, listed[0].placings}),
                 (QList<int>{2, 1, 0, 0}));
        QCOMPARE((QList<int>{listed[1].teams, listed[1].riders, listed[1].entries}), (QList<int>{1, 1, 1}));
    }

    void foreignFiles_areNeitherRestoredNorLetGo()
    {
        NetFixture f;
        QDir().mkpath(f.dir.filePath("Snapshots"));
        const auto write = [&](const QString &name) {
            QFile file(f.dir.filePath("Snapshots/" + name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("not a meet");
        };
        write("2026-12-07 06-00-00 broken.mdb");
        write("notes.txt");
        const Snapshot broken = f.net.store().list(true).front();
        QCOMPARE(broken.teams, -1);
        const QString before = MeetFixture::dump(f.db());
        QVERIFY_THROWS_EXCEPTION(DbError, f.net.restore(broken));
        QCOMPARE(MeetFixture::dump(f.db()), before);
        QCOMPARE(f.taken(), QStringList{"broken"}); // nothing was kept, as nothing was replaced

        // 55 more within the next hour: the last 50 stay, the newest of the five before them, the
        // broken one alone in its hour, and the files of other names.
        for (int i = 0; i < 55; ++i)
            f.net.take(QString::number(i));
        QCOMPARE(f.taken().mid(49), (QStringList{"5", "4", "broken"}));
        QVERIFY(QFile::exists(f.dir.filePath("Snapshots/notes.txt")));
        QCOMPARE(SnapshotStore::parse(SnapshotStore::fileName(f.clock, " team A/B: \"x\"\t*? "))->what,
                 "team A-B- -x- --");
    }

    void net_asksWhenNoSnapshotCanBeTaken_andCountsSavesAndChanges()
    {
        NetFixture f;
        f.source->failing = true;
        f.messages.answer({false, true});
        QVERIFY(!f.net.before(f.messages, "numbering all riders"));
        QVERIFY(f.net.before(f.messages, "numbering all riders"));
        QCOMPARE(f.messages.log[0].text,
                 "The meet could not be copied to the snapshot folder before numbering all "
                 "riders:\n\ndatabase or disk is full\n\nGo on without a snapshot?");
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
