#pragma once

#include "shell/activityscreen.h"

class QPushButton;
struct AppState;

// Judge's Class Assignments: for the current division, the assignment grid and the judging
// agenda.
class FrmJudgeClassMgmt : public ActivityScreen
{
    Q_OBJECT

public:
    FrmJudgeClassMgmt(AppState &app, QWidget *parent);

    void Set_Division(const QString &division) override;
    void CmdAssignclasses_Click();
    void CmdDisplayReport_Click();

private:
    AppState &m_app;
    QString m_division;
    QPushButton *m_report;
};
