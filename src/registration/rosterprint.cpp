#include "registration/rosterprint.h"

#include "registration/rosterreports.h"
#include "shell/appstate.h"
#include "shell/reportwindow.h"

namespace RosterPrint {

void showTeamList(AppState &app, QWidget *opener)
{
    ReportWindow::fromCommand(app, RosterReports::teamListQuery(), RosterReports::RptTeamList(), {opener},
                              {});
}

void showCoachList(AppState &app, QWidget *opener)
{
    ReportWindow::fromCommand(app, RosterReports::coachListQuery(), RosterReports::RptCoachList(), {opener},
                              RosterReports::NoCoaches);
}

void showRidersByTeam(AppState &app, QWidget *opener)
{
    ReportWindow::fromCommand(app, RosterReports::riderListByTeamQuery(), RosterReports::RptRiderListbyTeam(),
                              {opener}, RosterReports::NoRidersByTeam);
}

void showRidersByNumber(AppState &app, QWidget *opener)
{
    ReportWindow::fromRows(
        app, [&] { return RosterReports::riderListByNumber(app.MeetDb()).shaped(); },
        RosterReports::RptRiderListbyNumber(), {opener}, RosterReports::NoRidersByNumber);
}

} // namespace RosterPrint
