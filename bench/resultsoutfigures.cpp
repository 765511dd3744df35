// Results going out of the large meet: a division's class sheet pack (all seventeen classes)
// written to one PDF, and the whole meet published as a folder of web pages.
#include "benchkit.h"

#include "app/printpack.h"
#include "db/dbconnection.h"
#include "judging/resultspages.h"
#include "reports/reportpdf.h"

#include <QDir>
#include <QFileInfo>

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
    return ok && parts == 17 && QFileInfo::exists(QDir(folder).filePath(QStringLiteral("riders-D.html")));
}

} // namespace Bench
