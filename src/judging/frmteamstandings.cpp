#include "judging/frmteamstandings.h"

#include "common/labelfiles.h"
#include "common/messageservice.h"
#include "db/classtable.h"
#include "db/writetransaction.h"
#include "judging/rptteamstandings.h"
#include "judging/standingstable.h"
#include "reports/classpictures.h"
#include "shell/appstate.h"
#include "shell/boundary.h"

FrmTeamStandings::FrmTeamStandings(AppState &app, QWidget *parent)
    : ReportActivity(app, QStringLiteral("Standings"), parent)
{
    setObjectName(QStringLiteral("FrmTeamStandings"));
}

void FrmTeamStandings::Load_Report()
{
    Boundary::run(*m_app.messages, QStringLiteral("Opening the standings"), [this] {
        std::optional<StandingsTable> standings;
        QVector<StoredClass> classes;
        {
            const ReadTransaction oneState(m_app.MeetDb(), QStringLiteral("Opening the standings"));
            standings = StandingsTable::Build_Standings(m_app.MeetDb(), m_division);
            classes = ClassTable::read(m_app.MeetDb());
        }
        if (!standings->nothing.isEmpty()) {
            m_app.messages->tell(standings->nothing);
            return;
        }
        Report::Layout rpt = RptTeamStandings::layout(m_division);
        ClassPictures::set(rpt, u"PageHeader", classes, LabelFiles::folder(m_app.AppFolder));
        ReportWindow::show(m_app, rpt, standings->rows.shaped(), {window()});
    });
    endActivity();
}
