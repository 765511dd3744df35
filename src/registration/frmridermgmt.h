#pragma once

#include "registration/riderregistry.h"
#include "shell/listscreen.h"

class QComboBox;
class QLineEdit;

// Riders: search by last name, first name, number or team; add, edit, delete; the two
// printed rider lists.
class FrmRiderMgmt : public ListScreen
{
    Q_OBJECT

public:
    FrmRiderMgmt(AppState &app, QWidget *parent);

    // Repeats the last search (the list keeps its lines while the search box is empty).
    void rebuild() override;

    void CmdSearch_Click();
    void CmdAdd_Click();
    void CmdEdit_Click();
    void CmdDelete_Click();
    void CmdReportbyTeam_Click();
    void CmdReportbyNumber_Click();

private:
    std::int32_t selectedRider() const;
    class FrmRider *makeForm();

    QVector<RiderFound> m_found;
    QComboBox *m_searchBy;
    QLineEdit *m_searchFor;
    QListWidget *m_results;
    QPushButton *m_add = nullptr;
};
