#pragma once

#include "registration/teamroster.h"
#include "shell/listscreen.h"

// The team roster: every team by name, with Add, Edit, Delete and the printed team list.
class FrmTeamMgmt : public ListScreen
{
    Q_OBJECT

public:
    FrmTeamMgmt(AppState &app, QWidget *parent);

    void rebuild() override;

    void CmdAddTeam_Click();
    void CmdEditTeam_Click();
    void CmdDeleteTeam_Click();
    void CmdTeamReport_Click();

private:
    class FrmTeam *makeForm();

    QListWidget *m_list;
};
