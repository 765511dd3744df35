#pragma once

#include "registration/riderregistry.h"
#include "registration/teamroster.h"
#include "shell/editform.h"

#include <array>

class QComboBox;
class QLineEdit;

// One rider's number, name, address and team, added or edited.
class FrmRider : public EditForm
{
    Q_OBJECT

public:
    // RiderListBoxArray(0..5): number, first, last, address, city, zip.
    enum Box { Number = 0, First, Last, Address, City, Zip };

    FrmRider(AppState &app, QWidget *owner, QWidget *focusAfter);

    // Both read the team list, once, when the window opens; they throw DbError.
    void Initialize_Add();
    bool Initialize_Edit(std::int32_t riderIndex);
    bool ValidTeam();

protected:
    bool checksPass() override;
    bool write() override;

private:
    RiderRecord record() const;
    void loadTeams();

    std::int32_t m_index = -1;
    ReadMark m_asRead;           // the record as the editor read it: what a save compares with
    QVector<TeamRecord> m_teams; // read once, when the window opens
    std::array<QLineEdit *, 6> m_boxes{};
    QComboBox *m_team;
};
