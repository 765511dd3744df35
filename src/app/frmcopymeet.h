#pragma once

#include "shell/ownedwindow.h"

#include <functional>

class QLineEdit;
class QLabel;
struct AppState;

// Utilities "Copy Meet to Server" and "Copy Meet to File": the whole meet copied from where it is
// open into an empty database on a server, or into a meet file (a new one, or one replaced in
// whole). The main menu is enabled again when the window closes; a copy that fails leaves the
// window open, and the target as it was.
class FrmCopyMeet : public OwnedWindow
{
    Q_OBJECT

public:
    enum class Target { Server, File };

    FrmCopyMeet(AppState &app, QWidget *mainMenu, Target target);

    // Asks for the file to copy into; answers its path, or "" when the user cancels. Tests
    // replace it.
    std::function<QString()> Choose_File;

    void CmdBrowse_Click();
    void CmdCopy_Click();

private:
    AppState &m_app;
    Target m_target;
    QLineEdit *m_where;
    QLabel *m_progress;
};
