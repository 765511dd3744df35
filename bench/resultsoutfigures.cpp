// Results going out of the large meet: a division's class sheet pack (all seventeen classes)
// written to one PDF, the whole meet published as a folder of web pages, and a look of the
// publishing loop (the screen's every few minutes, --every) at the meet at rest: the meet's mark
// read, nothing built, nothing written.
#include "benchkit.h"

#include "app/printpack.h"
#include "db/dbconnection.h"
#include "judging/resultspages.h"
#include "judging/resultspublisher.h"
#include "reports/reportpdf.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <sys/stat.h>

namespace Bench {

bool resultsOutFigures(const Context &context)
{
    constexpr int Runs = 7;
    DbConnection connection;
    connection.open(context.largePath, DbConnection::Mode::ReadWrite);
    const QSqlDatabase db = connection.database();
    bool ok = true;

    const QString packPdf = context.work.filePath(QStringLiteral("classsheets-pack.pdf"));
    int parts = 0;
    report("print_pack_class_sheets", 17, medianMs(Runs, {}, [&] {
               const Report::Document pack =
                   PrintPack::classSheets(db, QStringLiteral("B"), {}, RunningOrder::Order::Random);
               ok = ok && !Report::writePdf(pack, packPdf).has_value();
               parts = int(pack.parts.size());
           }));

    const QString folder = context.work.filePath(QStringLiteral("results"));
    report("publish_results", context.size, medianMs(Runs, {}, [&] {
               ok = ok && ResultsPages::publish(db, folder).startsWith(QStringLiteral("Published 13 pages"));
           }));

    // The loop publishes once; then, with nothing written to the meet, its looks write nothing.
    // (A server counts rows written once each station is idle: its count settles first.)
    const auto identity = [&] {
        struct stat st = {};
        return ::stat(QFile::encodeName(folder).constData(), &st) == 0 ? st.st_ino : 0;
    };
    ResultsPublisher publisher(folder);
    using Kind = ResultsPublisher::Outcome::Kind;
    ok = ok && publisher.publishIfChanged(db).kind == Kind::Published;
    for (int settle = 0; settle < 30 && publisher.publishIfChanged(db).kind != Kind::Unchanged; ++settle)
        QThread::msleep(500);
    const auto before = identity();
    report("publish_every_idle_look", context.size,
           medianMs(Runs, {}, [&] { ok = ok && publisher.publishIfChanged(db).kind == Kind::Unchanged; }));
    ok = ok && identity() == before;
    return ok && parts == 17 && QFileInfo::exists(QDir(folder).filePath(QStringLiteral("riders-D.html")));
}

} // namespace Bench
