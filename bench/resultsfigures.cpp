// The results of the large meet: a division's team standings, the rider results of the whole
// meet and a division's judges' cards, each computed, laid out and written to PDF.
#include "benchkit.h"

#include "common/labelfiles.h"
#include "db/classtable.h"
#include "judging/judgescards.h"
#include "judging/riderresults.h"
#include "judging/rptteamstandings.h"
#include "judging/standingstable.h"
#include "reports/classpictures.h"
#include "reports/korvconnection.h"
#include "reports/paginator.h"
#include "reports/reportpdf.h"

#include <QFileInfo>

#include <algorithm>
#include <cstdio>

namespace Bench {

bool resultsFigures(const Context &context)
{
    constexpr int Runs = 7;
    DbConnection connection;
    connection.open(context.largePath, DbConnection::Mode::ReadWrite);
    const QSqlDatabase db = connection.database();
    const auto written = [](const Report::Document &doc, const QString &pdf) {
        return !doc.pages.empty() && !Report::writePdf(doc, pdf).has_value();
    };
    bool ok = true;

    const QString standingsPdf = context.work.filePath(QStringLiteral("standings.pdf"));
    int teams = 0;
    report("team_standings", context.scaled(25), medianMs(Runs, {}, [&] {
               const StandingsTable standings = StandingsTable::Build_Standings(db, QStringLiteral("A"));
               Report::Layout rpt = RptTeamStandings::layout(QStringLiteral("A"));
               ClassPictures::set(rpt, u"PageHeader", ClassTable::read(db),
                                  LabelFiles::folder(context.largeFolder));
               ok = ok && written(Report::paginate(rpt, standings.rows.shaped()), standingsPdf);
               teams = standings.rows.size();
           }));

    KORVConnection korv;
    korv.setDataSource(context.largePath);
    korv.setCommand(RiderResults::query());
    const QString resultsPdf = context.work.filePath(QStringLiteral("riderresults.pdf"));
    int pages = 0;
    report("rider_results", context.size, medianMs(Runs, {}, [&] {
               korv.open(RiderResults::Command);
               const Report::Document doc =
                   Report::paginate(RiderResults::RptIndividualResults(), korv.rows(RiderResults::Command));
               ok = ok && written(doc, resultsPdf);
               pages = int(doc.pages.size());
               korv.close(RiderResults::Command);
           }));
    std::fprintf(stderr, "rider_results: %d pages, %.1f KB of PDF a page\n", pages,
                 double(QFileInfo(resultsPdf).size()) / 1024.0 / std::max(1, pages));

    const QString cardsPdf = context.work.filePath(QStringLiteral("cards.pdf"));
    report("judges_cards", 34, medianMs(Runs, {}, [&] {
               const MemoryTable cards = JudgesCards::Build_Cards(db, QStringLiteral("C"));
               ok = ok && written(Report::paginate(JudgesCards::RptJudgesCards(QStringLiteral("C")),
                                                   cards.shaped()),
                                  cardsPdf);
           }));
    return ok && teams == context.scaled(25) && pages >= context.scaled(100);
}

} // namespace Bench
