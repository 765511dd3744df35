#pragma once

// The program as the user meets it: the real main menu with every activity and Utilities entry
// registered, on a fresh meet holding a little of everything, with helpers that do what the
// user does (open an activity, pick a line, type, press a button).
#include "meetharness.h"

#include "app/activities.h"
#include "app/frmmain.h"
#include "import/frmdataimport.h"
#include "registration/frmassignnumbers.h"
#include "shell/activityscreen.h"

#include <QTreeWidget>

#include <memory>

class ProgramFixture
{
public:
    ProgramFixture()
    {
        auto b = m.build();
        acorn = b.addTeam("Acorn", "A");
        blue = b.addTeam("Blue", "B"); // no riders: it may be deleted
        b.addCoach(acorn, "Hal", "Hart");
        ann = b.addRider(acorn, "Ann", "Lee", "1");
        judge = b.addJudge("Jo", "Judge");
        main = std::make_unique<FrmMain>(m.app);
        registerActivities(*main, m.app);
        main->show();
        if (!QTest::qWaitForWindowExposed(main.get()))
            qWarning("main menu not exposed");
    }

    // Division A chosen, where Ann is entered in class 1 and two judges judge it.
    void prepareShowDay()
    {
        auto b = m.build();
        b.addEntry(1, ann);
        b.assignJudge(judge, 1, "A");
        b.assignJudge(b.addJudge("Kai", "Kerr"), 1, "A");
        choose(main.get(), "CbDivision", 0);
    }

    // The activity of a slot, opened afresh.
    void open(int slot)
    {
        main->Select_Activity(0);
        main->Select_Activity(slot);
    }
    QWidget *screen() const { return main->activityScreen(main->CurrentActivity()); }

    // The visible top-level window of that name, or null.
    static QWidget *in(const char *window) { return MeetHarness::window(QLatin1StringView(window)); }

    void pick(const char *list, int line) { screen()->findChild<QListWidget *>(list)->setCurrentRow(line); }
    static void choose(QWidget *form, const char *box, int line)
    {
        MeetHarness::choose(form, QLatin1StringView(box), line);
    }
    using Boxes = std::vector<std::pair<const char *, const char *>>;
    static void type(QWidget *form, const Boxes &boxes)
    {
        for (const auto &[box, text] : boxes)
            MeetHarness::type(form, QLatin1StringView(box), QLatin1StringView(text));
    }
    static void press(QWidget *window, const char *button)
    {
        QVERIFY2(window, button);
        MeetHarness::click(window, QLatin1StringView(button));
    }
    void press(const char *button) { press(screen(), button); }

    FrmAssignNumbers *numbers() const { return MeetHarness::window<FrmAssignNumbers>("FrmAssignNumbers"); }
    void openNumbers() { main->Run_Utility(FrmMain::Utility::AssignRiderNumbers); }
    // The number window in its individual mode, editing Ann's number.
    void editAnnsNumber()
    {
        openNumbers();
        press(numbers(), "CmdIndividual");
        auto *tree = numbers()->findChild<QTreeWidget *>("TVNumberAssign");
        for (QTreeWidgetItemIterator it(tree); *it; ++it)
            if (FrmAssignNumbers::nodeKey(*it) == QStringLiteral("Rider%1").arg(ann))
                numbers()->TVNumberAssign_NodeClick(*it);
    }

    // The import wizard showing a region's file of one team, as "Import Teams" leaves it.
    void openImport()
    {
        const QString file = MeetQuery::regionalFile(m.dir.path(), "Region4-2006.mdb",
                                                     [](MeetBuilder &b) { b.addTeam("Grey", "C"); });
        main->setUtilityAction(FrmMain::Utility::ImportTeams, [this, file] {
            auto *wizard = new FrmDataImport(m.app, main.get());
            wizard->Get_Import_File = [file] { return file; };
            wizard->Import_Data();
        });
        main->Run_Utility(FrmMain::Utility::ImportTeams);
    }

    MeetHarness m;
    std::unique_ptr<FrmMain> main; // goes before the meet
    std::int32_t acorn = -1;
    std::int32_t blue = -1;
    std::int32_t ann = -1;
    std::int32_t judge = -1;
};
