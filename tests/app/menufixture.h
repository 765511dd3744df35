#pragma once

// The real main menu, shown offscreen, with a scripted message service and activity screens
// that log what is done to them.
#include "scriptedmessages.h"

#include "app/frmmain.h"
#include "common/twips.h"
#include "shell/activityscreen.h"
#include "shell/appstate.h"

#include <QComboBox>
#include <QtTest>

#include <memory>

// Logs "load N", "Set_Division(X)", "show", "Load_Report"; " placed" once at the activity offset.
class RecordingScreen : public ActivityScreen
{
public:
    RecordingScreen(int slot, QStringList &log) : m_log(log) { m_log << QStringLiteral("load %1").arg(slot); }
    void Set_Division(const QString &division) override
    {
        note(QStringLiteral("Set_Division(%1)").arg(division));
    }
    void Load_Report() override { note(QStringLiteral("Load_Report")); }

protected:
    void showEvent(QShowEvent *) override { note(QStringLiteral("show")); }

private:
    void note(const QString &what)
    {
        m_log << (pos() == Twips::point(3070, 1620) ? what + QStringLiteral(" placed") : what);
    }
    QStringList &m_log;
};

struct MenuFixture
{
    ScriptedMessages messages;
    AppState app;
    QStringList log;
    std::unique_ptr<FrmMain> main;

    MenuFixture()
    {
        app.ScreenWidth = 15360; // 1024 x 768 pixels
        app.ScreenHeight = 11520;
        app.messages = &messages;
        main = std::make_unique<FrmMain>(app);
        for (int slot = FrmMain::FirstSlot; slot <= FrmMain::LastSlot; ++slot)
            if (FrmMain::isActivity(slot))
                main->registerActivity(slot,
                                       [this, slot](FrmMain &) { return new RecordingScreen(slot, log); });
        main->show();
        if (!QTest::qWaitForWindowExposed(main.get()))
            qWarning("main menu not exposed");
    }

    QWidget *find(const QString &name) const { return main->findChild<QWidget *>(name); }
    void activate()
    {
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
    }

    // Only what the user can see can be clicked.
    void click(const QString &name)
    {
        QWidget *w = find(name);
        QVERIFY2(w && w->isVisible(), qPrintable(name + QStringLiteral(" is not on screen")));
        QTest::mouseClick(w, Qt::LeftButton);
    }
    void chooseDivision(const QString &code)
    {
        auto *combo = main->findChild<QComboBox *>(QStringLiteral("CbDivision"));
        combo->setCurrentIndex(combo->findText(code));
    }
    // Panel m's menu button, on the visible panel.
    void showMenu(int m)
    {
        static const char *const names[] = {"", "CmdAdmin", "CmdMeetSetup", "CmdEntryBooth", "CmdReports"};
        click(QStringLiteral("%1_%2").arg(QLatin1StringView(names[m])).arg(main->CurrentMenu()));
    }
    void openSlot(int slot)
    {
        if (main->CurrentMenu() != FrmMain::panelOf(slot))
            showMenu(FrmMain::panelOf(slot));
        click(QStringLiteral("CmdActivity_%1").arg(slot));
    }

    QColor back(const QString &name) const { return find(name)->palette().color(QPalette::Button); }
    // What the menu shows of its activities: "activity 3, dark 3, tags 3 0 0 0" (the open one, the
    // activity buttons in dark grey, the activity each panel remembers).
    QString state() const
    {
        QStringList dark;
        for (int s = 1; s <= 12; ++s)
            if (back(QStringLiteral("CmdActivity_%1").arg(s)) == QColor(0x808080))
                dark << QString::number(s);
        return QStringLiteral("activity %1, dark %2, tags %3 %4 %5 %6")
            .arg(main->CurrentActivity())
            .arg(dark.join(u' '))
            .arg(main->panelTag(1))
            .arg(main->panelTag(2))
            .arg(main->panelTag(3))
            .arg(main->panelTag(4));
    }
};
