// The show's server dies: from the server cut and its standby promoted to the next save stored
// there, on a pair of throwaway servers of the figure's own (the server's pass only, once a
// round). Stations save on the pair first, so that they hold connections to the server as a show
// day's do.
#include "benchkit.h"

#include "testengine.h"

#include "db/dbconnection.h"
#include "db/sql.h"
#include "db/writetransaction.h"

#include <QDir>
#include <QElapsedTimer>

#include <cstdio>

namespace Bench {

bool failoverFigure(const Context &context)
{
    if (named("").isEmpty() || context.size != Sizes.front())
        return true;
    qputenv("TROTWISE_PGSERVER_SCRIPT", TROTWISE_PGSERVER_SCRIPT);
    // In /tmp, where the server's own user reaches it.
    QTemporaryDir folder(QDir::temp().filePath(QStringLiteral("trotwise-failover-XXXXXX")));
    TestEngine::ServerPair pair(folder.path());
    if (!pair.ready())
        return false;
    try {
        DbConnection stations[2];
        for (DbConnection &s : stations)
            s.open(pair.both(), DbConnection::Mode::ReadWrite);
        Sql::exec(stations[0].database(), QStringLiteral("meet"),
                  QStringLiteral("CREATE TABLE saves (n integer)"));
        const auto save = [&](int n) {
            const QSqlDatabase db = stations[n % 2].database();
            WriteTransaction::run(db, QStringLiteral("Saving"), [&] {
                Sql::exec(db, QStringLiteral("save"), QStringLiteral("INSERT INTO saves VALUES (?)"), {n});
            });
        };
        for (int n = 1; n <= 4; ++n)
            save(n);
        QElapsedTimer clock;
        clock.start();
        if (!pair.failOver())
            return false;
        save(5);
        report("failover", 1, {double(clock.nsecsElapsed()) / 1e6, 0});
        DbConnection check;
        check.open(pair.standby(), DbConnection::Mode::ReadOnly);
        return Sql::scalar(check.database(), QStringLiteral("count"),
                           QStringLiteral("SELECT count(*) FROM saves"))
                   .toInt() == 5;
    } catch (const DbError &e) {
        std::fprintf(stderr, "failover: %s\n", e.what());
        return false;
    }
}

} // namespace Bench
