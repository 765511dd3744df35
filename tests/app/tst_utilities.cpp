// The Utilities pop-up: the label's colours, closing when the focus goes, and what its entries
// do to the main menu.
#include "menufixture.h"

#include "app/frmutilities.h"

#include <QAccessible>
#include <QLineEdit>

namespace {
QColor back(const QWidget *w)
{
    return w->palette().color(QPalette::Window);
}
QColor text(const QWidget *w)
{
    return w->palette().color(QPalette::Active, QPalette::WindowText);
}

FrmUtilities *openPopup(MenuFixture &f)
{
    f.click(QStringLiteral("LblUtilities"));
    FrmUtilities *popup = f.main->utilitiesWindow();
    if (popup && !QTest::qWaitForWindowExposed(popup))
        qWarning("pop-up not exposed");
    return popup;
}

// The entries a screen reader finds in the Utilities window, as buttons named by their captions;
// the focused one marked.
QStringList spokenEntries(const FrmUtilities *popup)
{
    QAccessibleInterface *program = QAccessible::queryAccessibleInterface(qApp);
    for (int w = 0; w < program->childCount(); ++w) {
        QAccessibleInterface *window = program->child(w);
        if (window->object() != popup)
            continue;
        QStringList entries;
        for (int i = 0; i < window->childCount(); ++i)
            if (QAccessibleInterface *entry = window->child(i);
                entry->role() == QAccessible::Button && !entry->state().disabled)
                entries << entry->text(QAccessible::Name) +
                               (entry->state().focused ? QStringLiteral(" *") : QString());
        return entries;
    }
    return {QStringLiteral("the window is not listed")};
}
} // namespace

class TstUtilities : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void popup_showsBelowHeaderAndClosesWhenFocusGoes_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("click elsewhere on the main menu") << QStringLiteral("click");
        QTest::newRow("escape") << QStringLiteral("escape");
        QTest::newRow("window deactivated") << QStringLiteral("deactivate");
    }
    void popup_showsBelowHeaderAndClosesWhenFocusGoes()
    {
        QFETCH(QString, how);
        MenuFixture f;
        f.openSlot(1);
        QWidget *label = f.find(QStringLiteral("LblUtilities"));
        QPointer<FrmUtilities> popup = openPopup(f);
        QVERIFY(popup && popup->isVisible());
        QCOMPARE(back(label), QColor(0x808080));
        QCOMPARE(text(label), QGuiApplication::palette().color(QPalette::WindowText));
        // Its right edge in line with the label's: left + 10080 + 60 + 1575 - 2400 twips = + 621 px;
        // top + 840 + 330 + 400 twips = + 104.7 px.
        QCOMPARE(popup->pos(), f.main->frameGeometry().topLeft() + QPoint(621, 105));
        for (const char *name : {"LblImport", "LblAssignNum"})
            QCOMPARE(back(popup->findChild<QWidget *>(QLatin1StringView(name))), QColor(0xC0C0C0));

        if (how == QLatin1String("click")) {
            // Through the window system, as a real click arrives while a pop-up is open.
            QWidget *elsewhere = f.find(QStringLiteral("Label2"));
            QTest::mouseClick(f.main->windowHandle(), Qt::LeftButton, {},
                              elsewhere->mapTo(f.main.get(), elsewhere->rect().center()));
        } else if (how == QLatin1String("escape")) {
            QTest::keyClick(popup.data(), Qt::Key_Escape);
        } else {
            QEvent deactivate(QEvent::WindowDeactivate);
            QCoreApplication::sendEvent(popup.data(), &deactivate);
        }
        QVERIFY(!popup || !popup->isVisible());
        QTRY_VERIFY(popup.isNull());
        QCOMPARE(back(label), QColor(0xC0C0C0));
        QCOMPARE(text(label), QColor(0x404040));
        QCOMPARE(f.main->CurrentActivity(), 1); // the open activity is none of its business
        QVERIFY(f.main->isEnabled());
    }

    void entry_closesPopupDisablesMenuThenRunsAction_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("utility");
        QTest::newRow("Import Teams") << QStringLiteral("LblImport") << int(FrmMain::Utility::ImportTeams);
        QTest::newRow("Assign Rider #s")
            << QStringLiteral("LblAssignNum") << int(FrmMain::Utility::AssignRiderNumbers);
    }
    void entry_closesPopupDisablesMenuThenRunsAction()
    {
        QFETCH(QString, name);
        QFETCH(int, utility);
        MenuFixture f;
        auto *division = f.main->findChild<QComboBox *>(QStringLiteral("CbDivision"));
        f.activate();
        division->setFocus();

        // The action opens a window that takes the focus, as an editing screen does.
        QStringList ran;
        std::unique_ptr<QLineEdit> editor;
        f.main->setUtilityAction(FrmMain::Utility(utility), [&] {
            FrmUtilities *popup = f.main->utilitiesWindow();
            ran << QStringLiteral("menu %1, pop-up %2, label %3")
                       .arg(f.main->isEnabled() ? QStringLiteral("enabled") : QStringLiteral("disabled"))
                       .arg(popup && popup->isVisible() ? QStringLiteral("open") : QStringLiteral("closed"))
                       .arg(back(f.find(QStringLiteral("LblUtilities"))).name());
            editor = std::make_unique<QLineEdit>();
            editor->show();
            editor->activateWindow();
        });
        QTest::mouseClick(openPopup(f)->findChild<QWidget *>(name), Qt::LeftButton);
        QCOMPARE(ran, QStringList{QStringLiteral("menu disabled, pop-up closed, label #c0c0c0")});
        QTRY_VERIFY(!f.main->utilitiesWindow());
        QVERIFY(QTest::qWaitForWindowActive(editor.get()));

        // The editing window closes and enables the main menu: the focus is back where it was.
        editor->close();
        f.main->setEnabled(true);
        QTRY_VERIFY(f.main->isActiveWindow());
        QTRY_COMPARE(QApplication::focusWidget(), division);
    }

    void entries_listedForScreenReadersAndChosenByKeys_data()
    {
        QTest::addColumn<int>("next");
        QTest::addColumn<int>("choose");
        QTest::newRow("Tab, Enter") << int(Qt::Key_Tab) << int(Qt::Key_Return);
        QTest::newRow("Down, Space") << int(Qt::Key_Down) << int(Qt::Key_Space);
        QTest::newRow("Up wraps round, Enter") << int(Qt::Key_Up) << int(Qt::Key_Enter);
    }
    void entries_listedForScreenReadersAndChosenByKeys()
    {
        QFETCH(int, next);
        QFETCH(int, choose);
        MenuFixture f;
        QStringList ran;
        f.main->setUtilityAction(FrmMain::Utility::ImportTeams, [&] { ran << QStringLiteral("import"); });
        f.main->setUtilityAction(FrmMain::Utility::AssignRiderNumbers,
                                 [&] { ran << QStringLiteral("assign"); });
        f.activate();
        QWidget *label = f.find(QStringLiteral("LblUtilities"));
        label->setFocus(Qt::TabFocusReason);
        QTest::keyClick(label, Qt::Key_Space);
        FrmUtilities *popup = f.main->utilitiesWindow();
        QVERIFY(popup);
        QTRY_COMPARE(QApplication::activeWindow(), popup);
        QCOMPARE(spokenEntries(popup), (QStringList{"Import Teams *", "Assign Rider #s"}));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(next));
        QCOMPARE(spokenEntries(popup), (QStringList{"Import Teams", "Assign Rider #s *"}));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(choose));
        QCOMPARE(ran, QStringList{"assign"});
    }

    void failingEntry_isToldAndGivesTheMainMenuBack()
    {
        MenuFixture f;
        f.main->setUtilityAction(FrmMain::Utility::AssignRiderNumbers,
                                 [] { throw std::runtime_error("no window"); });
        f.main->Run_Utility(FrmMain::Utility::AssignRiderNumbers);
        QVERIFY(f.main->isEnabled());
        QCOMPARE(f.messages.texts(), QStringList{"Assign Rider #s failed.\n\nno window"});
    }
};

QTEST_MAIN(TstUtilities)
#include "tst_utilities.moc"
