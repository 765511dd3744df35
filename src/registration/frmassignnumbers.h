#pragma once

#include "registration/numberassigner.h"
#include "shell/ownedwindow.h"
#include "shell/returnwatch.h"

#include <QWidget>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
struct AppState;

// Rider numbers for the whole meet: at random or in sequence from a range, or one rider at a
// time in the tree of teams and riders. The main menu stays disabled until this window closes.
// The tree is read again when the user comes back to the window from another program, unless a
// rider's number is being keyed in.
class FrmAssignNumbers : public OwnedWindow
{
    Q_OBJECT

public:
    FrmAssignNumbers(AppState &app, QWidget *mainMenu);

    // Builds the tree and shows the window; when the meet cannot be read it throws DbError and
    // the window never opens.
    static FrmAssignNumbers *open(AppState &app, QWidget *mainMenu);

    // Reads the teams and riders again and shows them. Throws DbError, the tree left as it was.
    void Build_Tree();

    void CmdRandom_Click();
    void cmdSequential_Click();
    void CmdIndividual_Click();
    void CmdIndividualExit_Click();
    void CmdEditSubmit_Click();
    void CmdEditCancel_Click();
    void TVNumberAssign_NodeClick(QTreeWidgetItem *node);

    static QString nodeKey(const QTreeWidgetItem *node);

protected:
    void showEvent(QShowEvent *event) override;
    bool event(QEvent *event) override;

private:
    enum class Mode { Random, Sequential };
    QGroupBox *rangeFrame(const QString &name, const QString &caption, const QString &prefix, Mode mode);
    void submitRange(Mode mode);
    void leaveRange(Mode mode);
    void showOnly(QGroupBox *frame);
    void endRiderEdit();
    // Build_Tree through the error boundary, the same line current and the view scrolled as
    // before where they are still there.
    void readAgain();

    AppState &m_app;
    QTreeWidget *m_tree;
    QGroupBox *m_buttons;
    QGroupBox *m_random;
    QGroupBox *m_sequential;
    QGroupBox *m_individual;
    QGroupBox *m_editNumber;
    QLineEdit *m_riderNumber;
    QTreeWidgetItem *m_current = nullptr;
    ReturnWatch m_return;
};
