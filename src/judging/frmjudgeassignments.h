#pragma once

#include "judging/judgeassignments.h"
#include "shell/checkgrid.h"

#include <memory>

class QPlainTextEdit;

// The judge assignment grid of one division: a row per judge, a column per class, at most two
// judges a class. Submit rewrites the division's assignments when every class has none or two.
// Untouched, the grid reads the division again when the user comes back to it from another program.
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
    bool hasChanges() const override { return !m_assignments || ticksChanged(); }
    void readAgain() override;

private:
    // The division's assignments as they stand, or null when that failed (the user has been told).
    std::unique_ptr<JudgeAssignments> read(const QString &action, const QString &division) const;
    // Builds the grid with the judges and the stored assignments.
    void fill();

    std::unique_ptr<JudgeAssignments> m_assignments;
    QPlainTextEdit *m_title;
};
