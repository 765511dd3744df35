#include "app/activities.h"

#include "app/appstate.h"
#include "app/frmmain.h"

void registerActivities(FrmMain &main, AppState &app)
{
    // Slots 1-12 (FrmMain::registerActivity) and the Utilities entries
    // (FrmMain::setUtilityAction) are registered here as their screens are written.
    Q_UNUSED(main)
    Q_UNUSED(app)
}
