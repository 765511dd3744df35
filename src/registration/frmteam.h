#pragma once

#include "registration/teamroster.h"
#include "shell/editform.h"

class QComboBox;
class QLineEdit;

// One team's name, division, district and region, added or edited.
class FrmTeam : public EditForm
{
    Q_OBJECT

public:
    FrmTeam(AppState &app, QWidget *owner, QList<QWidget *> openers, QWidget *focusAfter);

    void Initialize_Add();
    // Answers false (after telling the user) when the team is no longer there. Throws DbError.
    bool Initialize_Edit(std::int32_t team);

    static int divisionLine(const QString &division);

protected:
    std::optional<QString> firstFailure() const override;
    bool write() override;

private:
    TeamRecord record() const;

    std::int32_t m_code = -1; // -1 in add mode
    ReadMark m_asRead;        // the record as the editor read it: what a save compares with
    QLineEdit *m_name;
    QComboBox *m_division;
    QLineEdit *m_district;
    QLineEdit *m_region;
};
