#pragma once

#include "registration/coachroster.h"
#include "registration/teamroster.h"
#include "shell/listscreen.h"

class QComboBox;

// The coaches of one team at a time: choose the team, see its coaches, add, edit, delete, and
// print the complete coach list of every team.
class FrmCoachMgmt : public ListScreen
{
    Q_OBJECT

public:
    FrmCoachMgmt(AppState &app, QWidget *parent);

    void rebuild() override;

    std::int32_t selectedTeam() const { return m_team; }

    void CbTeam_Click(int line);
    void CmdAddCoach_Click();
    void CmdEditCoach_Click();
    void CmdDeleteCoach_Click();
    void CmdCoachReport_Click();

private:
    class FrmCoach *makeForm();

    std::int32_t m_team = -1;
    QVector<TeamRecord> m_teams;
    QComboBox *m_teamBox;
    QLabel *m_currentTeam;
    QListWidget *m_coaches;
};
