#pragma once

#include "judging/judgeassignments.h"
#include "shell/checkgrid.h"

#include <memory>

class QPlainTextEdit;

// The judge assignment grid of one division: a row per judge, a column per class, at most two
// judges a class. Submit rewrites the division's assignments when every class has none or two.
class FrmJudgeAssignments : public CheckGrid
{
    Q_OBJECT

public:
    FrmJudgeAssignments(AppState &app, QWidget *owner, QList<QWidget *> openers, QWidget *focusAfter);
    ~FrmJudgeAssignments() override;

    // Builds the grid with the division's stored assignments. False when it could not (no
    // judges, or the meet could not be read; the user has been told) and the window has closed.
    bool InitializeForm(const QString &division);

protected:
    void CmdApply_Click() override;

private:
    std::unique_ptr<JudgeAssignments> m_assignments;
    QPlainTextEdit *m_title;
};
