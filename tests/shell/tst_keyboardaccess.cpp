// Every window as a keyboard or screen-reader user meets it: the accessibility tree, walked down
// from the window, lists every control; each input, list and tree carries a name (its label's
// text, or a name of its own), each button a caption; a combo box gives its current line as its
// value, its lines as the items of its list, and takes the focus when asked; and Tab reaches
// every control the user can see and use.
#include "programfixture.h"

#include "app/frmutilities.h"

#include <QAccessible>

namespace {

using P = ProgramFixture;

bool isInput(QAccessible::Role role)
{
    return role == QAccessible::EditableText || role == QAccessible::ComboBox || role == QAccessible::List ||
           role == QAccessible::Tree || role == QAccessible::SpinBox;
}

bool isControl(QAccessible::Role role)
{
    return isInput(role) || role == QAccessible::Button || role == QAccessible::CheckBox ||
           role == QAccessible::RadioButton;
}

// A button by its caption; an input by what the screen reader says as its name: its label's
// text, or the name its window gave it.
bool named(QAccessibleInterface *control, const QWidget *widget)
{
    const QString name = control->text(QAccessible::Name).trimmed();
    if (name.isEmpty() || !isInput(control->role()))
        return !name.isEmpty();
    for (const auto &[label, relation] : control->relations(QAccessible::Label))
        if (label->text(QAccessible::Name) == name)
            return true;
    return name == widget->accessibleName();
}

// What a combo box fails to give: "no value", "no lines", "no focus".
QStringList comboFaults(QAccessibleInterface *a, QComboBox *box)
{
    QStringList out;
    if (a->text(QAccessible::Value) != box->currentText())
        out << QStringLiteral("no value");
    QAccessibleInterface *list = a->childCount() > 0 ? a->child(0) : nullptr;
    bool lines = list && list->childCount() == box->count();
    for (int i = 0; lines && i < box->count(); ++i)
        lines = list->child(i)->text(QAccessible::Name) == box->itemText(i);
    if (!lines)
        out << QStringLiteral("no lines");
    if (box->isEnabled()) {
        a->actionInterface()->doAction(QAccessibleActionInterface::setFocusAction());
        if (!box->hasFocus())
            out << QStringLiteral("no focus");
    }
    return out;
}

// The controls the window's accessibility tree lists, walked down from the window.
void listed(QAccessibleInterface *node, QSet<QWidget *> &controls)
{
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface *child = node->child(i);
        if (!child || child->state().invisible)
            continue;
        if (isControl(child->role()))
            controls << qobject_cast<QWidget *>(child->object());
        if (child->role() != QAccessible::ComboBox)
            listed(child, controls);
    }
}

// The names of the window's controls that fail: "unlisted X", "unnamed X", "X: no value",
// "unreached X".
QStringList faults(QWidget *window)
{
    window->activateWindow();
    if (!QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }))
        return {window->objectName() + QStringLiteral(" not active")};
    QSet<QWidget *> inTree;
    listed(QAccessible::queryAccessibleInterface(window), inTree);
    QList<QWidget *> controls;
    QStringList out;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
        if (!w->isVisible() || w->window() != window || !a || !isControl(a->role()))
            continue;
        if (!inTree.contains(w))
            out << QStringLiteral("unlisted ") + w->objectName();
        if (!named(a, w))
            out << QStringLiteral("unnamed ") + w->objectName();
        if (auto *box = qobject_cast<QComboBox *>(w))
            for (const QString &fault : comboFaults(a, box))
                out << w->objectName() + QStringLiteral(": ") + fault;
        if (w->isEnabled())
            controls << w;
    }
    QSet<QWidget *> reached;
    for (int i = 0; i < 2 * controls.size() + 2; ++i) {
        QWidget *focus = QApplication::focusWidget();
        reached << focus;
        QTest::keyClick(focus ? focus : window, Qt::Key_Tab);
    }
    for (QWidget *w : controls)
        if (!reached.contains(w))
            out << QStringLiteral("unreached ") + w->objectName();
    return out;
}

} // namespace

class TstKeyboardAccess : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ProgramFixture> p;

    void check(QWidget *window)
    {
        QVERIFY(window);
        const QStringList found = faults(window);
        QVERIFY2(found.isEmpty(),
                 qPrintable(window->objectName() + QStringLiteral(": ") + found.join(QStringLiteral(", "))));
    }

private Q_SLOTS:
    void init() { p = std::make_unique<ProgramFixture>(); }
    void cleanup() { p.reset(); }

    void mainMenuPanelsAndActivityScreens()
    {
        check(p->main.get());
        for (int menu = 1; menu <= 4; ++menu) {
            p->main->Show_Menu(menu);
            check(p->main.get());
        }
        p->prepareShowDay();
        for (int slot = FrmMain::FirstSlot; slot <= FrmMain::LastSlot; ++slot) {
            if (!FrmMain::isActivity(slot))
                continue;
            p->open(slot);
            check(p->main.get());
        }
    }

    void editingWindows_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("box"); // its first line chosen before the button
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("window");
        const std::tuple<const char *, int, const char *, const char *, const char *> rows[] = {
            {"team", 1, "", "CmdAddTeam", "FrmTeam"},
            {"coach", 2, "CbTeam", "CmdAddCoach", "FrmCoach"},
            {"rider", 3, "", "CmdAdd", "FrmRider"},
            {"judge", 4, "", "CmdAddJudge", "FrmJudge"},
            {"judge assignments", 5, "", "CmdAssignclasses", "FrmJudgeAssignments"},
            {"entries", 8, "CbTeamName", "CmdSubmit", "frmClassAssignments"},
            {"placings", 10, "CbClass", "CmdAddPlacings", "FrmPlaceAssign"},
        };
        for (const auto &[name, slot, box, button, window] : rows)
            QTest::newRow(name) << slot << QString::fromLatin1(box) << QString::fromLatin1(button)
                                << QString::fromLatin1(window);
    }
    void editingWindows()
    {
        QFETCH(int, slot);
        QFETCH(QString, box);
        QFETCH(QString, button);
        QFETCH(QString, window);
        p->prepareShowDay();
        p->open(slot);
        if (!box.isEmpty())
            P::choose(p->screen(), qPrintable(box), 0);
        p->press(qPrintable(button));
        check(MeetHarness::window(window));
    }

    void numberWindowInEachMode()
    {
        p->openNumbers();
        check(p->numbers());
        for (const char *mode : {"CmdRandom", "CmdRandCancel", "cmdSequential", "CmdSeqCancel"}) {
            P::press(p->numbers(), mode);
            check(p->numbers());
        }
        p->editAnnsNumber();
        check(p->numbers());
    }

    void importReportAndUtilities()
    {
        p->openImport();
        check(P::in("FrmDataImport"));
        P::press(P::in("FrmDataImport"), "CmdCancel");
        p->open(1);
        p->press("CmdTeamReport");
        check(P::in("FrmReportPreview"));
        P::in("FrmReportPreview")->close();
        p->main->activateWindow();
        QTest::mouseClick(p->main->findChild<QWidget *>("LblUtilities"), Qt::LeftButton);
        check(p->main->utilitiesWindow());
    }

    void spreadsheetWizardSteps()
    {
        const QString riders = MeetQuery::writeFile(
            p->m.dir.filePath("riders.csv"), "Team Name,Division,First Name,Last Name\nAcorn,A,Bo,Brown\n");
        p->main->Run_Utility(FrmMain::Utility::ImportSpreadsheet);
        QWidget *wizard = P::in("FrmSpreadsheetImport");
        check(wizard);
        MeetHarness::type(wizard, "TxtFile_2", riders);
        for (int step = 1; step <= 2; ++step) {
            P::press(wizard, "CmdNext");
            check(wizard);
        }
    }
};

QTEST_MAIN(TstKeyboardAccess)
#include "tst_keyboardaccess.moc"
