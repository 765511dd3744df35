#pragma once

class FrmMain;
struct AppState;

// Registers every activity screen of the main menu and the actions of the Utilities entries.
void registerActivities(FrmMain &main, AppState &app);
