#pragma once

#include <QString>

#include <functional>

class QWidget;
class TrotwiseApplication;

// The program with its windows: start-up on its data folder (made when missing), then the main
// menu shown with every activity, then the event loop. Answers the exit status.
namespace ProgramStart {

// shown, when given, sees the main menu as soon as it is shown (the benchmark times the first
// paint through it).
int run(TrotwiseApplication &application, const QString &appFolder,
        const std::function<void(QWidget &mainMenu)> &shown = {});

} // namespace ProgramStart
