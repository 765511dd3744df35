#pragma once

#include "registration/judgeroster.h"
#include "shell/listscreen.h"

// The judges of the meet by last name, with Add, Edit and Delete.
class FrmJudgeMgmt : public ListScreen
{
    Q_OBJECT

public:
    FrmJudgeMgmt(AppState &app, QWidget *parent);

    void rebuild() override;

    void CmdAddJudge_Click();
    void CmdEditJudge_Click();
    void CmdDeleteJudge_Click();

private:
    class FrmJudge *makeForm();

    QListWidget *m_list;
};
