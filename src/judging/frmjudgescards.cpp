#include "judging/frmjudgescards.h"

#include "judging/judgescards.h"
#include "shell/appstate.h"

FrmJudgesCards::FrmJudgesCards(AppState &app, QWidget *parent)
    : ReportActivity(app, QStringLiteral("Judges Cards"), parent)
{
    setObjectName(QStringLiteral("FrmJudgesCards"));
}

void FrmJudgesCards::Load_Report()
{
    const auto build = [this] { return JudgesCards::Build_Cards(m_app.MeetDb(), m_division).shaped(); };
    if (!ReportWindow::fromRows(m_app, build, JudgesCards::RptJudgesCards(m_division), endsWithReport(),
                                JudgesCards::noCards(m_division)))
        endActivity();
}
