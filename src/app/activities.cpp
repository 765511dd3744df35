#include "app/activities.h"

#include "app/frmcopymeet.h"
#include "app/frmmain.h"
#include "app/frmprintpack.h"
#include "app/frmhistory.h"
#include "app/frmsnapshots.h"
#include "common/messageservice.h"
#include "db/engine.h"
#include "db/meetaddress.h"
#include "db/meetfilecheck.h"
#include "db/snapshotsource.h"
#include "entries/frmclasssheets.h"
#include "entries/frmentries.h"
#include "entries/frmslotsheets.h"
#include "import/exportroster.h"
#include "import/frmdataimport.h"
#include "import/frmspreadsheetimport.h"
#include "judging/frmjudgeclassmgmt.h"
#include "judging/frmjudgescards.h"
#include "judging/frmmeetcheck.h"
#include "judging/frmplacings.h"
#include "judging/frmriderresults.h"
#include "judging/frmteamstandings.h"
#include "registration/frmassignnumbers.h"
#include "registration/frmcoachmgmt.h"
#include "registration/frmjudgemgmt.h"
#include "registration/frmridermgmt.h"
#include "registration/frmteammgmt.h"
#include "reports/frmreportpreview.h"
#include "shell/appstate.h"
#include "shell/formkit.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

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
    main.registerActivity(FrmMain::MeetCheckSlot, [&app](FrmMain &m) { return new FrmMeetCheck(app, &m); });
    main.registerActivity(FrmMain::PrintPackSlot, [&app](FrmMain &m) { return new FrmPrintPack(app, &m); });

    main.setUtilityAction(FrmMain::Utility::ImportTeams, [&app, &main] {
        auto *wizard = new FrmDataImport(app, &main);
        wizard->Import_Data();
    });
    main.setUtilityAction(FrmMain::Utility::ImportSpreadsheet,
                          [&app, &main] { FrmSpreadsheetImport::open(app, &main); });
    main.setUtilityAction(FrmMain::Utility::ExportRoster, [&app, &main] {
        ExportRoster::run(app, &main, [&app] { return ExportRoster::chooseFolder(app); });
    });
    main.setUtilityAction(FrmMain::Utility::AssignRiderNumbers,
                          [&app, &main] { FrmAssignNumbers::open(app, &main); });

    // Snapshots of the meet file go beside it; those of a meet on a server beside the program, in a
    // folder of that meet's own. One is taken every ten minutes while the meet changes.
    const QString location = app.meetConnection.location();
    if (const auto server = MeetAddress::parse(location))
        app.safety.attach(
            std::make_unique<ServerMeetSource>(app.meetConnection),
            QDir(app.AppFolder)
                .filePath(SnapshotStore::FolderName + u'/' + SnapshotStore::fitName(server->display())));
    else
        app.safety.attach(std::make_unique<MeetFileSource>(app.meetConnection),
                          QFileInfo(location).dir().filePath(SnapshotStore::FolderName));
    app.safety.startTimer(&main, *app.messages);
    main.setUtilityAction(FrmMain::Utility::Snapshots, [&app, &main] {
        // A restored meet is read afresh: the open activity and every report shown from the old
        // one are closed.
        QObject::connect(FrmSnapshots::open(app, &main), &FrmSnapshots::restored, &main, [&main] {
            main.Close_Current_Activity();
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *preview = qobject_cast<FrmReportPreview *>(w))
                    preview->close();
        });
    });
    main.setUtilityAction(FrmMain::Utility::CheckMeetFile, [&app, &main] {
        const QString verdict =
            MeetFileCheck::verdict(MeetFileCheck::problems(app.MeetDb()), Engine::onServer(app.MeetDb()));
        FormKit::enableUnchanged(&main);
        app.messages->tell(verdict);
    });
    main.setUtilityAction(FrmMain::Utility::History, [&app, &main] {
        // Rows put back are read afresh, as after a restore.
        QObject::connect(FrmHistory::open(app, &main), &FrmHistory::putBack, &main,
                         [&main] { main.Close_Current_Activity(); });
    });
    for (const auto &[which, target] :
         {std::pair{FrmMain::Utility::CopyMeetToServer, FrmCopyMeet::Target::Server},
          std::pair{FrmMain::Utility::CopyMeetToFile, FrmCopyMeet::Target::File}})
        main.setUtilityAction(which,
                              [&app, &main, target] { (new FrmCopyMeet(app, &main, target))->show(); });
}
