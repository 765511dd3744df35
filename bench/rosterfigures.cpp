// The roster of the large meet: the riders by team through the report data source, searching,
// numbering and listing the riders, and a region's file imported.
#include "benchkit.h"
#include "meetfixture.h"

#include "common/randomsource.h"
#include "db/dbconnection.h"
#include "db/sql.h"
#include "import/regionalimport.h"
#include "registration/numberassigner.h"
#include "registration/riderregistry.h"
#include "registration/rosterreports.h"
#include "reports/korvconnection.h"
#include "reports/paginator.h"
#include "reports/reportpdf.h"
#include "samplereport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace Bench {
namespace {

constexpr int Runs = 7;

// Every rider, grouped by team, read through the report data source, laid out with page footers
// and written to PDF.
bool ridersByTeam(const Context &context)
{
    KORVConnection korv;
    korv.setDataSource(context.largePath);
    korv.setCommand(SampleReport::riderQuery());
    const QString pdf = context.work.filePath(QStringLiteral("riders.pdf"));
    int pages = 0;
    int rows = 0;
    const Timing ms = medianMs(Runs, {}, [&] {
        korv.open(QStringLiteral("RiderListbyTeam"));
        const ShapedRows &teams = korv.rows(QStringLiteral("RiderListbyTeam"));
        const Report::Document doc = Report::paginate(SampleReport::riderList(), teams);
        if (!Report::writePdf(doc, pdf).has_value())
            pages = int(doc.pages.size());
        rows = 0;
        for (const ShapedRows &team : teams.children)
            rows += team.size();
        korv.close(QStringLiteral("RiderListbyTeam"));
    });
    report("report_riders_by_team", rows, ms);
    std::fprintf(stderr, "report_riders_by_team: %d pages, %.1f KB of PDF a page\n", pages,
                 double(QFileInfo(pdf).size()) / 1024.0 / std::max(1, pages));
    return pages > 0 && rows == context.size;
}

// Numbering is all riders or none, from a range of three-character numbers (-99 to 999): a meet
// larger than that keeps its first 1,000 riders for the figures that number them all.
bool numbering(const Context &context)
{
    const QString path =
        QDir(context.freshFolder(QStringLiteral("numbering"))).filePath(QStringLiteral("numbering.mdb"));
    QFile::copy(context.largePath, path);
    DbConnection connection;
    connection.open(path, DbConnection::Mode::ReadWrite);
    const QSqlDatabase db = connection.database();
    Sql::exec(db, QStringLiteral("Keeping the first riders"),
              QStringLiteral("DELETE FROM TblPerson WHERE RiderIndex > 1000"));

    const NumberAssigner assigner(db);
    const int riders = assigner.riderCount();
    report("assign_random", riders, medianMs(Runs, {}, [&] {
               assigner.applyNumbers(
                   NumberAssigner::randomRange(-99, 999, riders, RandomSource::generator()));
           }));
    report("assign_sequential", riders, medianMs(Runs, {}, [&] {
               assigner.applyNumbers(NumberAssigner::sequentialRange(-99, 999, riders));
           }));
    return riders == 1000;
}

// Searching, the numbering tree and the riders by number, on the whole meet.
bool riderLists(const Context &context)
{
    DbConnection connection;
    connection.open(context.largePath, DbConnection::Mode::ReadWrite);
    const QSqlDatabase db = connection.database();

    int found = 0;
    report("rider_search", context.size, medianMs(Runs, {}, [&] {
               found =
                   RiderRegistry(db).search(RiderRegistry::SearchBy::LastName, QStringLiteral("ar")).size();
           }));

    int teams = 0;
    report("number_tree", context.size,
           medianMs(Runs, {}, [&] { teams = NumberAssigner(db).tree().size(); }));

    const QString pdf = context.work.filePath(QStringLiteral("bynumber.pdf"));
    bool written = true;
    report("rider_list_by_number", context.size, medianMs(Runs, {}, [&] {
               const MemoryTable table = RosterReports::riderListByNumber(db);
               const Report::Document doc =
                   Report::paginate(RosterReports::RptRiderListbyNumber(), table.shaped());
               written = written && !Report::writePdf(doc, pdf).has_value();
           }));
    return found > 0 && teams == context.scaled(100) && written;
}

// A regional file of 40 teams, 120 coaches and 600 riders at 1,000 (in proportion at the other
// sizes): read into its tree and imported into an empty meet, together.
bool importRegion(const Context &context)
{
    const QString folder = context.freshFolder(QStringLiteral("region"));
    const QString built = MeetFixture::createMeet(folder);
    {
        DbConnection c;
        c.open(built, DbConnection::Mode::ReadWrite);
        MeetBuilder(c.database()).buildLargeMeet({context.scaled(40), 15, 3, 0, false});
    }
    const QString regional = QDir(folder).filePath(QStringLiteral("Region4-2006.mdb"));
    QFile::rename(built, regional);

    const QString meetFolder = context.freshFolder(QStringLiteral("import-meet"));
    const QString emptyMeet = MeetFixture::createMeet(meetFolder);
    const QString target = QDir(meetFolder).filePath(QStringLiteral("target.mdb"));
    int imported = 0;
    const Timing ms = medianMs(
        Runs,
        [&] {
            QFile::remove(target);
            QFile::copy(emptyMeet, target);
        },
        [&] {
            DbConnection meet;
            meet.open(target, DbConnection::Mode::ReadWrite);
            RegionalImport import;
            if (import.load(regional))
                return;
            imported = import.importInto(meet.database()).riders;
        });
    report("import_region", imported, ms);
    return imported == context.scaled(600);
}

} // namespace

bool rosterFigures(const Context &context)
{
    return ridersByTeam(context) && numbering(context) && riderLists(context) && importRegion(context);
}

} // namespace Bench
