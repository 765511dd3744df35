#pragma once

#include "judging/meetcheck.h"
#include "shell/activityscreen.h"

#include <vector>

class QComboBox;
class QLabel;
class QTreeWidget;
struct AppState;

// "Meet Check" (Reports): the problems of the division chosen on the main menu, or of another
// division or the whole meet chosen here, each with the screen to mend it on; "Ready" when there
// are none. Print Preview checks again and opens the printed check.
class FrmMeetCheck : public ActivityScreen
{
    Q_OBJECT

public:
    static constexpr int Width = 8400;
    static constexpr int Height = 6300;

    FrmMeetCheck(AppState &app, QWidget *parent);

    // The menu's division, or the whole meet for "".
    void Set_Division(const QString &division) override;

    void CmdCheck_Click();
    void CmdPreview_Click();

private:
    // "" for the whole meet.
    QString division() const;

    AppState &m_app;
    QComboBox *m_scope;
    QLabel *m_verdict;
    QTreeWidget *m_problems;
    std::vector<MeetCheck::Problem> m_found;
};
