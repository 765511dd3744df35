#pragma once

#include <QString>

#include <functional>

class QWidget;
struct AppState;

// "Export Roster": asks for a folder and writes the roster's four spreadsheet files into it,
// asking first before it replaces files of an earlier export. The main menu, disabled while it
// runs, is enabled again however it ends.
namespace ExportRoster {

// Answers the chosen folder, or "" when the user cancels.
using FolderDialog = std::function<QString()>;

void run(AppState &app, QWidget *mainMenu, const FolderDialog &chooseFolder);

// The folder dialog the program uses.
QString chooseFolder(const AppState &app);

} // namespace ExportRoster
