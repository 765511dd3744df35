#pragma once

#include "db/meetcopy.h"

#include "shell/ownedwindow.h"
#include "shell/snapshotstore.h"

#include <vector>

class QLabel;
class QTreeWidget;
struct AppState;

// Utilities "Snapshots": the copies of the meet in the snapshot folder, newest first, with what
// came after each and how many teams, riders, entries and placings it holds; a copy that fails
// the engine's check is shown damaged and is not restored. Restore keeps the
// present meet as a snapshot, then replaces the meet by the chosen one; the screens open on the
// old meet are closed, so that the next one reads the restored meet. The main menu is disabled
// while the window is open.
class FrmSnapshots : public OwnedWindow
{
    Q_OBJECT

public:
    static inline const QString NothingChosen = QStringLiteral("Choose the snapshot to restore.");
    // After what came next, on the line of a snapshot that fails its check.
    static inline const QString Damaged = QStringLiteral(" (damaged)");

    // Shows the window over the main menu.
    static FrmSnapshots *open(AppState &app, QWidget *mainMenu);

    void CmdTakeSnapshot_Click();
    void CmdRestore_Click();

Q_SIGNALS:
    // The meet has been replaced: whatever shows rows of the old one must go.
    void restored();

private:
    FrmSnapshots(AppState &app, QWidget *mainMenu);
    void Load_List();
    // While a whole-meet copy runs (on a server meet: a snapshot, a restore), the folder's line
    // tells how far it has come; it names the folder again once the copy is over.
    MeetCopy::ShowingProgress showingProgress(const QString &doing);
    void showFolder();

    AppState &m_app;
    QTreeWidget *m_list;
    QLabel *m_folder;
    std::vector<Snapshot> m_snapshots; // line i of the list
};
