#include "judging/frmjudgeclassmgmt.h"

#include "judging/frmjudgeassignments.h"
#include "judging/judgeagenda.h"
#include "shell/appstate.h"
#include "shell/formkit.h"
#include "shell/reportwindow.h"

#include <QPushButton>

using namespace FormKit;

FrmJudgeClassMgmt::FrmJudgeClassMgmt(AppState &app, QWidget *parent) : ActivityScreen(parent), m_app(app)
{
    setObjectName(QStringLiteral("FrmJudgeClassMgmt"));
    setWindowTitle(QStringLiteral("Ring Assigments"));
    setInnerSize(this, 8400, 6480);
    title(this, QStringLiteral("LblTitle"), QStringLiteral("Judge's Class Assignments"), 120, 240, 8160, 735);
    connect(button(this, QStringLiteral("CmdAssignclasses"), QStringLiteral("Create Judging Assignments"),
                   2280, 2160, 3840, 615),
            &QPushButton::clicked, this, &FrmJudgeClassMgmt::CmdAssignclasses_Click);
    m_report = button(this, QStringLiteral("CmdDisplayReport"), QStringLiteral("Judging Agenda Report"), 2280,
                      3240, 3840, 615);
    connect(m_report, &QPushButton::clicked, this, &FrmJudgeClassMgmt::CmdDisplayReport_Click);
}

void FrmJudgeClassMgmt::Set_Division(const QString &division)
{
    m_division = division;
}

void FrmJudgeClassMgmt::CmdAssignclasses_Click()
{
    auto *grid = new FrmJudgeAssignments(m_app, window(), {window(), this}, m_report);
    if (grid->InitializeForm(m_division)) {
        grid->show();
        grid->unsetCursor();
    }
}

void FrmJudgeClassMgmt::CmdDisplayReport_Click()
{
    ReportWindow::fromCommand(m_app, JudgeAgenda::query(m_division), JudgeAgenda::RptJudgeAgenda(m_division),
                              {m_report}, JudgeAgenda::NoAssignments);
}
