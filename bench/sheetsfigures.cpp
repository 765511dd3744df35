// The ring paperwork of the large meet: a full class's sheets in three splits, and every team's
// slot sheet of a division.
#include "benchkit.h"
#include "meetfixture.h"

#include "db/dbconnection.h"
#include "db/sql.h"
#include "db/writetransaction.h"
#include "entries/classsheetreports.h"
#include "entries/runningorder.h"
#include "entries/slotsheetreports.h"
#include "reports/paginator.h"
#include "reports/reportpdf.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace Bench {
namespace {

constexpr int Runs = 7;

// A meet whose division B has every one of its riders (a quarter of the meet) entered in the Flag Race.
QString fullClassMeet(const Context &context)
{
    const QString path = MeetFixture::createMeet(context.freshFolder(QStringLiteral("full-class")));
    DbConnection connection;
    connection.open(path, DbConnection::Mode::ReadWrite);
    MeetBuilder builder(connection.database());
    builder.buildLargeMeet({context.scaled(100), 10, 0, 0, false});
    const ResultRows riders = Sql::select(
        connection.database(), QStringLiteral("Reading division B"),
        QStringLiteral("SELECT RiderIndex FROM TblPerson INNER JOIN TblTeam ON TblPerson.TeamCode = "
                       "TblTeam.TeamCode WHERE Division = 'B'"));
    WriteTransaction tx(connection.database(), QStringLiteral("Entering the class"));
    for (int r = 0; r < riders.size(); ++r)
        builder.addEntry(14, std::int32_t(riders.integer(r, u"RiderIndex")));
    tx.commit();
    return path;
}

} // namespace

bool sheetsFigures(const Context &context)
{
    int listed = 0;
    {
        DbConnection connection;
        connection.open(fullClassMeet(context), DbConnection::Mode::ReadWrite);
        const RunningOrder order(connection.database(), QStringLiteral("B"));
        const int division = context.size / 4;
        report("class_sheets_3_splits", division, medianMs(Runs, {}, [&] {
                   listed = 0;
                   const std::vector<MemoryTable> splits =
                       order.Build_Splits(14, 3, RunningOrder::Order::Random);
                   for (int s = 0; s < 3; ++s) {
                       const Report::Document doc = Report::paginate(
                           ClassSheetReports::sheet(14, QStringLiteral("B"), QStringLiteral("14 - Flag Race"),
                                                    s + 1, 3),
                           splits[std::size_t(s)].shaped());
                       if (!Report::writePdf(doc,
                                             context.work.filePath(QStringLiteral("split%1.pdf").arg(s + 1))))
                           listed += splits[std::size_t(s)].size();
                   }
               }));
    }

    DbConnection connection;
    connection.open(context.largePath, DbConnection::Mode::ReadWrite);
    const QSqlDatabase db = connection.database();
    const QString pdf = context.work.filePath(QStringLiteral("slotsheets.pdf"));
    int pages = 0;
    int riders = 0;
    report("slot_sheets_all", context.size / 4, medianMs(Runs, {}, [&] {
               Report::Layout rpt = SlotSheetReports::RptSlotSheets();
               SlotSheetReports::putImages(rpt, db, context.largeFolder);
               const ShapedRows teams = SlotSheetReports::allQuery(QStringLiteral("B")).run(db);
               const Report::Document doc = Report::paginate(rpt, teams);
               pages = Report::writePdf(doc, pdf) ? 0 : int(doc.pages.size());
               riders = 0;
               for (const ShapedRows &team : teams.children)
                   riders += team.size();
           }));
    if (pages > 0)
        std::fprintf(stderr, "slot_sheets_all: %d pages, %.1f KB of PDF a page\n", pages,
                     double(QFileInfo(pdf).size()) / 1024.0 / pages);
    return listed == context.size / 4 && pages > 0 && riders == context.size / 4;
}

} // namespace Bench
