#include "judging/frmriderresults.h"

#include "judging/riderresults.h"

FrmRiderResults::FrmRiderResults(AppState &app, QWidget *parent)
    : ReportActivity(app, QStringLiteral("Rider Results"), parent)
{
    setObjectName(QStringLiteral("FrmRiderResults"));
}

void FrmRiderResults::Load_Report()
{
    if (!ReportWindow::fromCommand(m_app, RiderResults::query(), RiderResults::RptIndividualResults(),
                                   endsWithReport(), RiderResults::NoTeams))
        endActivity();
}
