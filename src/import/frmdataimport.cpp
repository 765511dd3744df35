#include "import/frmdataimport.h"

#include "common/messageservice.h"
#include "common/twips.h"
#include "shell/appstate.h"
#include "shell/boundary.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QPushButton>
#include <QTreeWidget>

using namespace FormKit;

FrmDataImport::FrmDataImport(AppState &app, QWidget *mainMenu)
    : OwnedWindow(mainMenu, {mainMenu}, mainMenu), m_app(app)
{
    setObjectName(QStringLiteral("FrmDataImport"));
    setWindowTitle(QStringLiteral("Data Import Wizard"));
    setInnerSize(this, 6585, 7485);
    title(this, QStringLiteral("LblTitle"), QStringLiteral("Data Import Wizard"), 120, 240, 6375, 495);
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("TVImportSelect"));
    m_tree->setAccessibleName(QStringLiteral("Content of the chosen file"));
    m_tree->setHeaderHidden(true);
    m_tree->setGeometry(Twips::rect(720, 960, 5175, 5295));
    connect(button(this, QStringLiteral("CmdImport"), QStringLiteral("Import"), 1080, 6600, 1695, 615),
            &QPushButton::clicked, this, &FrmDataImport::CmdImport_Click);
    connect(button(this, QStringLiteral("CmdCancel"), QStringLiteral("Cancel"), 3720, 6600, 1695, 615),
            &QPushButton::clicked, this, &FrmDataImport::CmdCancel_Click);

    Get_Import_File = [this] {
        // Not owned by the main menu, which is disabled while the wizard runs.
        return QFileDialog::getOpenFileName(nullptr, DialogTitle, m_app.AppFolder, DialogFilter, nullptr,
                                            QFileDialog::ReadOnly | QFileDialog::HideNameFilterDetails);
    };
}

void FrmDataImport::Import_Data()
{
    Load_Import_Tree(Get_Import_File ? Get_Import_File() : QString());
}

void FrmDataImport::Load_Import_Tree(const QString &path)
{
    if (path.isEmpty()) {
        close();
        return;
    }
    std::optional<QString> refusal;
    if (!Boundary::run(*m_app.messages, QStringLiteral("Reading the regional file"),
                       [&] { refusal = m_import.load(path); })) {
        close();
        return;
    }
    if (refusal) {
        m_app.messages->fail(*refusal);
        close();
        return;
    }
    m_tree->clear();
    auto *root = new QTreeWidgetItem(m_tree, {RegionalImport::rootText(m_import.region())});
    for (const RegionalImport::Team &team : m_import.teams()) {
        auto *t = new QTreeWidgetItem(root, {RegionalImport::teamText(team)});
        auto *coaches = new QTreeWidgetItem(t, {QStringLiteral("Coaches")});
        auto *riders = new QTreeWidgetItem(t, {QStringLiteral("Riders")});
        for (const auto &c : team.coaches)
            new QTreeWidgetItem(coaches, {RegionalImport::coachText(c)});
        for (const auto &r : team.riders)
            new QTreeWidgetItem(riders, {RegionalImport::riderText(r)});
    }
    m_tree->expandAll();
    show();
    centreOnScreen(this, m_app);
    unsetCursor();
}

void FrmDataImport::CmdImport_Click()
{
    // All or nothing: after a failure the wizard stays open, to try again or cancel.
    RegionalImport::Outcome outcome;
    if (!m_app.safety.before(*m_app.messages, QStringLiteral("importing region ") + m_import.region()))
        return;
    if (!Boundary::run(
            *m_app.messages, QStringLiteral("Importing the regional file"),
            [&] { outcome = m_import.importInto(m_app.MeetDb()); }, QStringLiteral("Nothing was imported.")))
        return;
    m_app.messages->tell(outcome.message());
    close();
}

void FrmDataImport::CmdCancel_Click()
{
    close();
}

void FrmDataImport::closeEvent(QCloseEvent *event)
{
    m_import.close();
    OwnedWindow::closeEvent(event);
}
