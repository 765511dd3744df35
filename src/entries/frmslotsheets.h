#pragma once

#include "reports/reportlayout.h"
#include "shell/activityscreen.h"

#include <optional>

class QComboBox;
struct AppState;

// The slot sheets: a blank entry form for every team of the division at once, or for the team
// chosen in the list.
class FrmSlotSheets : public ActivityScreen
{
    Q_OBJECT

public:
    static constexpr int Width = 8400;
    static constexpr int Height = 3600;

    FrmSlotSheets(AppState &app, QWidget *parent);

    // Keeps the division and reads its teams again.
    void Set_Division(const QString &division) override;
    void Load_Team_List();

    void CmdAll_Click();
    void CmdSingle_Click();

protected:
    // The division's teams read again, the chosen one kept.
    bool readAgain() override;

private:
    // The sheet with its images, or nothing when they could not be read (the user was told).
    std::optional<Report::Layout> sheetWithImages() const;

    AppState &m_app;
    QString m_division;
    QComboBox *m_team;
};
