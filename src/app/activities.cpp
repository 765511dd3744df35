#include "app/activities.h"

#include "app/frmcopymeet.h"
#include "app/frmmain.h"
#include "entries/frmclasssheets.h"
#include "entries/frmentries.h"
#include "entries/frmslotsheets.h"
#include "import/frmdataimport.h"
#include "judging/frmjudgeclassmgmt.h"
#include "judging/frmjudgescards.h"
#include "judging/frmplacings.h"
#include "judging/frmriderresults.h"
#include "judging/frmteamstandings.h"
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
    main.registerActivity(5, [&app](FrmMain &m) { return new FrmJudgeClassMgmt(app, &m); });
    main.registerActivity(6, [&app](FrmMain &m) { return new FrmSlotSheets(app, &m); });
    main.registerActivity(7, [&app](FrmMain &m) { return new FrmJudgesCards(app, &m); });
    main.registerActivity(8, [&app](FrmMain &m) { return new FrmEntries(app, &m); });
    main.registerActivity(9, [&app](FrmMain &m) { return new FrmClassSheets(app, &m); });
    main.registerActivity(10, [&app](FrmMain &m) { return new FrmPlacings(app, &m); });
    main.registerActivity(11, [&app](FrmMain &m) { return new FrmTeamStandings(app, &m); });
    main.registerActivity(12, [&app](FrmMain &m) { return new FrmRiderResults(app, &m); });

    main.setUtilityAction(FrmMain::Utility::ImportTeams, [&app, &main] {
        auto *wizard = new FrmDataImport(app, &main);
        wizard->Import_Data();
    });
    main.setUtilityAction(FrmMain::Utility::AssignRiderNumbers,
                          [&app, &main] { FrmAssignNumbers::open(app, &main); });
    for (const auto &[which, target] :
         {std::pair{FrmMain::Utility::CopyMeetToServer, FrmCopyMeet::Target::Server},
          std::pair{FrmMain::Utility::CopyMeetToFile, FrmCopyMeet::Target::File}})
        main.setUtilityAction(which,
                              [&app, &main, target] { (new FrmCopyMeet(app, &main, target))->show(); });
}
