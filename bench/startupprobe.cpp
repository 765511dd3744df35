// The program's own start-up, timed to the main menu's first paint: trotwise-startup-probe FOLDER
// starts as the program does with FOLDER as its own folder (an existing meet there, or a new one
// built), and ends once the main menu is painted.
#include "firstpaint.h"

#include "app/programstart.h"
#include "app/trotwiseapplication.h"

int main(int argc, char *argv[])
{
    TrotwiseApplication application(argc, argv);
    return ProgramStart::run(application, QCoreApplication::arguments().value(1), FirstPaint::watch);
}
