#pragma once

#include "registration/contactform.h"
#include "registration/judgeroster.h"

class QPlainTextEdit;

// One judge's contact details and notes, added or edited.
class FrmJudge : public ContactForm
{
    Q_OBJECT

public:
    FrmJudge(AppState &app, QWidget *owner, QList<QWidget *> openers, QWidget *focusAfter);

    void Initialize_Add();
    // Answers false (after telling the user) when the judge is no longer there. Throws DbError.
    bool Initialize_Edit(std::int32_t judgeId);

protected:
    std::optional<QString> firstFailure() const override;
    bool write() override;

private:
    JudgeRecord record() const;

    std::int32_t m_id = -1;
    ReadMark m_asRead; // the record as the editor read it: what a save compares with
    QPlainTextEdit *m_memo;
};
