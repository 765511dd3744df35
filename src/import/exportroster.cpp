#include "import/exportroster.h"

#include "common/messageservice.h"
#include "import/rosterexport.h"
#include "shell/appstate.h"
#include "shell/boundary.h"
#include "shell/formkit.h"

#include <QFileDialog>
#include <QScopeGuard>

namespace ExportRoster {

void run(AppState &app, QWidget *mainMenu, const FolderDialog &chooseFolder)
{
    // The meet is only read: the main menu comes back as it was.
    FormKit::OpenerLock lock({mainMenu}, mainMenu);
    const auto done = qScopeGuard([&] { lock.release(true); });
    const QString folder = chooseFolder ? chooseFolder() : QString();
    if (folder.isEmpty())
        return;
    if (const QStringList there = RosterExport::present(folder);
        !there.isEmpty() &&
        !app.messages->ask(QStringLiteral("The folder already holds %1. Exporting the roster replaces %2. "
                                          "Are you sure you want to continue?")
                               .arg(there.join(QStringLiteral(", ")),
                                    there.size() == 1 ? QStringLiteral("it") : QStringLiteral("them"))))
        return;
    RosterExport::Outcome outcome;
    if (!Boundary::run(*app.messages, QStringLiteral("Exporting the roster"),
                       [&] { outcome = RosterExport::write(app.MeetDb(), folder); }))
        return;
    if (!outcome.failure.isEmpty())
        app.messages->fail(outcome.failure);
    else
        app.messages->tell(outcome.message(folder));
}

QString chooseFolder(const AppState &app)
{
    // Not owned by the main menu, which is disabled while this runs.
    return QFileDialog::getExistingDirectory(
        nullptr, QStringLiteral("Select the Folder for the Roster Files"), app.AppFolder);
}

} // namespace ExportRoster
