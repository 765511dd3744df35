#pragma once

#include "import/rosterimport.h"
#include "shell/ownedwindow.h"

#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTabWidget;
class QTreeWidget;
struct AppState;

// The spreadsheet import wizard, in three steps: choose the files (teams, coaches, riders, judges,
// any of them), correct which column holds which field, and look at what would arrive before
// importing it all at once. The main menu is enabled again when the wizard closes.
class FrmSpreadsheetImport : public OwnedWindow
{
    Q_OBJECT

public:
    enum class Step { Files, Columns, Preview };

    FrmSpreadsheetImport(AppState &app, QWidget *mainMenu);

    // Shows the wizard at its first step.
    static FrmSpreadsheetImport *open(AppState &app, QWidget *mainMenu);

    // Asks for the file of one kind; answers its path, or "" when the user cancels. Tests
    // replace it.
    std::function<QString(RosterFields::Kind)> Get_Import_File;

    Step step() const { return m_step; }

    void CmdBrowse_Click(RosterFields::Kind kind);
    void CmdBack_Click();
    void CmdNext_Click();
    void CmdImport_Click();

private:
    QWidget *filesPage();
    QWidget *previewPage();
    QWidget *columnsTab(const RosterSheet &sheet);
    void showStep(Step step);
    bool readFiles();
    bool takeColumns();
    bool makePreview();

    AppState &m_app;
    Step m_step = Step::Files;
    QLabel *m_stepCaption;
    QStackedWidget *m_pages;
    std::array<QLineEdit *, 4> m_files{};
    QTabWidget *m_columns;
    QTreeWidget *m_preview;
    QCheckBox *m_update;
    QPushButton *m_back;
    QPushButton *m_next;
    QPushButton *m_import;

    QVector<RosterSheet> m_sheets;
    QVector<QVector<QComboBox *>> m_columnBoxes; // per sheet, per field
    std::optional<RosterImport> m_roster;
    RosterImport::Preview m_previewed;
};
