#pragma once

#include "entries/entrysheet.h"
#include "shell/activityscreen.h"

class QComboBox;
struct AppState;

// Rider Entries: the teams of the current division; "Add Entries" opens the entry grid of the
// chosen team, which keeps this screen and the main menu disabled until it closes.
class FrmEntries : public ActivityScreen
{
    Q_OBJECT

public:
    FrmEntries(AppState &app, QWidget *parent);

    void Set_Division(const QString &division) override;
    void CmdSubmit_Click();

protected:
    // The division's teams read again, the chosen one kept.
    bool readAgain() override;

private:
    AppState &m_app;
    QString m_division;
    QVector<EntryTeam> m_teams; // line N of the team box is team N
    QComboBox *m_teamBox;
};
