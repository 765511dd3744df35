#pragma once

#include "registration/coachroster.h"
#include "registration/contactform.h"

class QComboBox;

// One coach of a team, added or edited. A coach stays with the team it was added to.
class FrmCoach : public ContactForm
{
    Q_OBJECT

public:
    FrmCoach(AppState &app, QWidget *owner, QList<QWidget *> openers, QWidget *focusAfter);

    void Initialize_Add(std::int32_t teamCode);
    // Answers false (after telling the user) when the coach is no longer there. Throws DbError.
    bool Initialize_Edit(std::int32_t coachCode);

protected:
    std::optional<QString> firstFailure() const override;
    bool write() override;

private:
    CoachRecord record() const;

    std::int32_t m_code = -1;
    ReadMark m_asRead; // the record as the editor read it: what a save compares with
    std::int32_t m_team = -1;
    QComboBox *m_position;
};
