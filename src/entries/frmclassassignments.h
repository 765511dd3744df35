#pragma once

#include "entries/entrysheet.h"
#include "shell/checkgrid.h"

#include <memory>

class QComboBox;
class QPlainTextEdit;

// The entry grid of one team: a row per rider in rider-number order, a column per class, and
// the relay partner's number beside each rider, open while the rider is entered in the relay.
// Submit checks the pairings and replaces the team's entries and pairings as a whole. Untouched,
// the grid reads the team again when the user comes back to it from another program.
class frmClassAssignments : public CheckGrid
{
    Q_OBJECT

public:
    frmClassAssignments(AppState &app, QWidget *owner, QList<QWidget *> openers, QWidget *focusAfter);
    ~frmClassAssignments() override;

    // Builds the grid with the team's stored entries. False when it could not (the user has
    // been told) and the window has closed again.
    bool InitializeForm(std::int32_t team);

    QComboBox *partnerBox(int row) const { return m_partners[row - 1]; }

protected:
    void cellChanged(int row, int cls) override;
    void CmdApply_Click() override;
    bool hasChanges() const override;
    void readAgain() override;

private:
    // The team's sheet as it stands, or null when that failed (the user has been told).
    std::unique_ptr<EntrySheet> read(const QString &action) const;
    // Builds the grid with the sheet's riders and stored entries.
    void fill();
    QComboBox *makePartnerBox(int row, const QStringList &choices);

    std::int32_t m_teamCode = -1;
    std::unique_ptr<EntrySheet> m_sheet;
    QPlainTextEdit *m_team;
    QVector<QComboBox *> m_partners;
};
