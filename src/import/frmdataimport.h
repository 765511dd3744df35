#pragma once

#include "import/regionalimport.h"
#include "shell/ownedwindow.h"

#include <QWidget>

#include <functional>

class QTreeWidget;
struct AppState;

// The regional import wizard: pick a region's export file, see its teams with their coaches and
// riders, import them all. The main menu is enabled again when the wizard closes.
class FrmDataImport : public OwnedWindow
{
    Q_OBJECT

public:
    static inline const QString DialogTitle = QStringLiteral("Select Import File");
    static inline const QString DialogFilter =
        QStringLiteral("Trotwise Regional Export File (*.mdb) (Region*-2006.mdb Region*-2006.MDB)");

    FrmDataImport(AppState &app, QWidget *mainMenu);

    // Asks for the file; answers its path, or "" when the user cancels. Tests replace it.
    std::function<QString()> Get_Import_File;

    void Import_Data();
    void Load_Import_Tree(const QString &path);
    void CmdImport_Click();
    void CmdCancel_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    AppState &m_app;
    RegionalImport m_import;
    QTreeWidget *m_tree;
};
