#include "app/activities.h"

#include "app/frmmain.h"
#include "import/frmdataimport.h"
#include "registration/frmassignnumbers.h"
#include "registration/frmcoachmgmt.h"
#include "registration/frmjudgemgmt.h"
#include "registration/frmridermgmt.h"
#include "registration/frmteammgmt.h"
#include "shell/appstate.h"

void registerActivities(FrmMain &main, AppState &app)
{
    main.registerActivity(1, [&app](FrmMain &m) { return new FrmTeamMgmt(app, &m); });
    main.registerActivity(2, [&app](FrmMain &m) { return new FrmCoachMgmt(app, &m); });
    main.registerActivity(3, [&app](FrmMain &m) { return new FrmRiderMgmt(app, &m); });
    main.registerActivity(4, [&app](FrmMain &m) { return new FrmJudgeMgmt(app, &m); });

    main.setUtilityAction(FrmMain::Utility::ImportTeams, [&app, &main] {
        auto *wizard = new FrmDataImport(app, &main);
        wizard->Import_Data();
    });
    main.setUtilityAction(FrmMain::Utility::AssignRiderNumbers,
                          [&app, &main] { FrmAssignNumbers::open(app, &main); });
}
