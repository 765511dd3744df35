// The safety net on the large meet: a snapshot of it taken through the engine's online backup
// and checked (the folder keeping its last 50), the Snapshots window's list of them (each checked
// and counted; n is how many), and the meet check of the whole meet.
#include "benchkit.h"

#include "db/dbconnection.h"
#include "db/snapshotsource.h"
#include "judging/meetcheck.h"
#include "shell/safetynet.h"

#include <QDateTime>

#include <cstdio>

namespace Bench {

bool safetyFigures(const Context &context)
{
    constexpr int Runs = 15;
    DbConnection meet;
    meet.open(context.largePath, DbConnection::Mode::ReadWrite);

    SafetyNet net;
    net.attach(std::make_unique<MeetFileSource>(meet), context.freshFolder(QStringLiteral("Snapshots")));
    QDateTime clock(QDate(2026, 12, 7), QTime(7, 0));
    net.setClock([&clock] { return clock = clock.addSecs(60); });
    report("snapshot", context.size, medianMs(Runs, {}, [&] { net.take(QStringLiteral("bench")); }));
    // The Snapshots window's list when first opened: every snapshot checked and counted (after
    // that, only a snapshot taken by another program or changed since is read again).
    std::vector<Snapshot> kept;
    report("snapshot_list", int(net.store().list(false).size()),
           medianMs(Runs, {}, [&] { kept = SnapshotStore(net.store().folder()).list(true); }));

    std::size_t problems = 0;
    report("meet_check", context.size,
           medianMs(Runs, {}, [&] { problems = MeetCheck::run(meet.database(), {}).size(); }));
    std::fprintf(stderr, "meet_check: %zu problems in the large meet\n", problems);
    return int(kept.size()) >= Runs && kept.front().riders == context.size;
}

} // namespace Bench
