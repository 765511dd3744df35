#pragma once

class QWidget;
struct AppState;

// The two printed rider lists: by team, and by number in two columns. Each tells the user
// when there are no riders instead of showing an empty report.
namespace RiderReports {

void showByTeam(AppState &app, QWidget *opener);
void showByNumber(AppState &app, QWidget *opener);

} // namespace RiderReports
