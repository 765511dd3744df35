// Peak memory: a process of its own opens every report of the large meet in its preview, as
// the office would through the day, keeps them all open and says its peak resident memory.
#include "benchkit.h"
#include "scriptedmessages.h"

#include "app/printpack.h"
#include "app/startup.h"
#include "common/labelfiles.h"
#include "db/classtable.h"
#include "entries/classsheetreports.h"
#include "entries/runningorder.h"
#include "entries/slotsheetreports.h"
#include "judging/judgeagenda.h"
#include "judging/judgescards.h"
#include "judging/meetcheck.h"
#include "judging/placingsreports.h"
#include "judging/riderresults.h"
#include "judging/rptteamstandings.h"
#include "judging/standingstable.h"
#include "registration/rosterreports.h"
#include "reports/classpictures.h"
#include "shell/appstate.h"
#include "shell/reportwindow.h"

#include <QApplication>
#include <QFile>
#include <QProcess>

#include <cstdio>

namespace Bench {
namespace {

// VmHWM of /proc/self/status, in MB.
double peakResidentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').front().toDouble() / 1024.0;
    return 0;
}

// Every report of one division: its class sheets (the first class in three splits, every class
// in the pack), placings, judges' cards, slot sheets, agenda, standings and meet check.
void openDivision(AppState &app, const QString &division)
{
    const QSqlDatabase db = app.MeetDb();
    const std::vector<MemoryTable> splits =
        RunningOrder(db, division).Build_Splits(1, 3, RunningOrder::Order::Random);
    for (int s = 0; s < 3; ++s)
        ReportWindow::show(app, ClassSheetReports::sheet(1, division, QStringLiteral("1 - Class"), s + 1, 3),
                           splits[std::size_t(s)].shaped(), {});
    ReportWindow::show(app, PrintPack::classSheets(db, division, {}, RunningOrder::Order::Random), {});
    ReportWindow::show(app, PrintPack::placings(db, division), {});
    ReportWindow::show(app, PrintPack::cardsAndSlotSheets(db, division, app.AppFolder), {});
    ReportWindow::fromCommand(app, PlacingsReports::placingsQuery(1, division),
                              PlacingsReports::placingsLayout(1, QStringLiteral("Class"), division), {}, {});
    ReportWindow::fromRows(app, [&] { return JudgesCards::Build_Cards(db, division).shaped(); },
                           JudgesCards::RptJudgesCards(division), {}, {});
    Report::Layout slots = SlotSheetReports::RptSlotSheets();
    SlotSheetReports::putImages(slots, db, app.AppFolder);
    ReportWindow::fromCommand(app, SlotSheetReports::allQuery(division), slots, {}, {});
    ReportWindow::fromCommand(app, JudgeAgenda::query(division), JudgeAgenda::RptJudgeAgenda(division), {},
                              {});
    const StandingsTable standings = StandingsTable::Build_Standings(db, division);
    Report::Layout rpt = RptTeamStandings::layout(division);
    ClassPictures::set(rpt, u"PageHeader", ClassTable::read(db), LabelFiles::folder(app.AppFolder));
    ReportWindow::show(app, rpt, standings.rows.shaped(), {});
    const std::vector<MeetCheck::Problem> problems = MeetCheck::run(db, division);
    ReportWindow::fromRows(app, [&] { return MeetCheck::rows(problems); },
                           MeetCheck::RptMeetCheck(division, problems), {}, {});
}

} // namespace

int openEveryReport(const QString &folder)
{
    ScriptedMessages messages;
    AppState app;
    app.messages = &messages;
    if (Startup::run(app, {12000, 9000}, folder) != Startup::Outcome::Ready)
        return 1;
    // The whole meet's lists and results, then every division's reports.
    ReportWindow::fromCommand(app, RosterReports::teamListQuery(), RosterReports::RptTeamList(), {}, {});
    ReportWindow::fromCommand(app, RosterReports::coachListQuery(), RosterReports::RptCoachList(), {}, {});
    ReportWindow::fromCommand(app, RosterReports::riderListByTeamQuery(), RosterReports::RptRiderListbyTeam(),
                              {}, {});
    ReportWindow::fromRows(app, [&] { return RosterReports::riderListByNumber(app.MeetDb()).shaped(); },
                           RosterReports::RptRiderListbyNumber(), {}, {});
    ReportWindow::fromCommand(app, RiderResults::query(), RiderResults::RptIndividualResults(), {}, {});
    openDivision(app, QStringLiteral("A"));
    QCoreApplication::processEvents();
    const int previews = int(QApplication::topLevelWidgets().size());
    std::printf("%.1f %d\n", peakResidentMb(), previews);
    return messages.log.isEmpty() ? 0 : 1;
}

bool memoryFigures(const Context &context)
{
    QProcess process;
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(QCoreApplication::applicationFilePath(),
                  {QString::fromLatin1(EveryReportOption), context.largeFolder});
    if (!process.waitForFinished(600000) || process.exitCode() != 0)
        return false;
    const QList<QByteArray> said = process.readAllStandardOutput().trimmed().split(' ');
    const double mb = said.value(0).toDouble();
    reportValue("peak_rss_all_reports", "mb", mb);
    std::fprintf(stderr, "peak_rss_all_reports: %s report windows open\n", said.value(1).constData());
    return mb > 0;
}

} // namespace Bench
