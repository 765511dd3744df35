#pragma once

class QWidget;
struct AppState;

// The printed team list and complete coach list, opened from the team and coach screens.
// Closing a report gives the focus back to the screen that opened it.
namespace TeamReports {

void showTeamList(AppState &app, QWidget *opener);
void showCoachList(AppState &app, QWidget *opener);

} // namespace TeamReports
