#pragma once

class QWidget;
struct AppState;

// Opens the roster's printed lists in the preview. Closing a preview gives the focus back to
// the screen that opened it; a list with nothing to print says so instead.
namespace RosterPrint {

void showTeamList(AppState &app, QWidget *opener);
void showCoachList(AppState &app, QWidget *opener);
void showRidersByTeam(AppState &app, QWidget *opener);
void showRidersByNumber(AppState &app, QWidget *opener);

} // namespace RosterPrint
