#include "registration/rosterprint.h"

#include "app/appstate.h"
#include "common/messageservice.h"
#include "db/dberror.h"
#include "registration/rosterreports.h"
#include "reports/frmreportpreview.h"
#include "reports/paginator.h"

#include <QPointer>

namespace RosterPrint {
namespace {

void preview(AppState &app, const Report::Layout &layout, const ShapedRows &rows, QWidget *opener,
             const QString &command = {})
{
    auto *window = new FrmReportPreview(Report::paginate(layout, rows), {app.ScreenWidth, app.ScreenHeight},
                                        *app.messages, opener ? opener->window() : nullptr);
    if (!command.isEmpty())
        window->closeCommandOnClose(app.KORV, command);
    QPointer<QWidget> back(opener);
    QObject::connect(window, &FrmReportPreview::closed, [back] {
        if (back) {
            back->activateWindow();
            back->setFocus();
        }
    });
    window->show();
}

// Opens a report command and shows its report, or tells the user there is nothing to print.
void fromCommand(AppState &app, const ShapeQuery &query, const Report::Layout &layout, QWidget *opener,
                 const QString &nothing)
{
    try {
        app.KORV.setCommand(query);
        app.KORV.open(query.name());
        if (!nothing.isEmpty() && app.KORV.rows(query.name()).isEmpty()) {
            app.KORV.close(query.name());
            app.messages->tell(nothing);
            return;
        }
        preview(app, layout, app.KORV.rows(query.name()), opener, query.name());
    } catch (const DbError &e) {
        app.KORV.close(query.name());
        app.messages->fail(e.userText());
    }
}

} // namespace

void showTeamList(AppState &app, QWidget *opener)
{
    fromCommand(app, RosterReports::teamListQuery(), RosterReports::RptTeamList(), opener, {});
}

void showCoachList(AppState &app, QWidget *opener)
{
    fromCommand(app, RosterReports::coachListQuery(), RosterReports::RptCoachList(), opener,
                RosterReports::NoCoaches);
}

void showRidersByTeam(AppState &app, QWidget *opener)
{
    fromCommand(app, RosterReports::riderListByTeamQuery(), RosterReports::RptRiderListbyTeam(), opener,
                RosterReports::NoRidersByTeam);
}

void showRidersByNumber(AppState &app, QWidget *opener)
{
    try {
        const MemoryTable table = RosterReports::riderListByNumber(app.MeetDb());
        if (table.isEmpty()) {
            app.messages->tell(RosterReports::NoRidersByNumber);
            return;
        }
        preview(app, RosterReports::RptRiderListbyNumber(), table.shaped(), opener);
    } catch (const DbError &e) {
        app.messages->fail(e.userText());
    }
}

} // namespace RosterPrint
