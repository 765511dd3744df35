// The rider screens and the number assignment window through the real windows.
#include "meetharness.h"

#include "registration/frmassignnumbers.h"
#include "registration/frmrider.h"
#include "registration/frmridermgmt.h"

#include <QGroupBox>
#include <QSet>
#include <QTreeWidget>

namespace {

constexpr auto type = &MeetHarness::type;

QTreeWidgetItem *findNode(QTreeWidget *tree, const QString &key)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if (FrmAssignNumbers::nodeKey(*it) == key)
            return *it;
    return nullptr;
}

} // namespace

class TstRiderScreens : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MeetHarness> m;
    std::int32_t m_blue = -1;
    std::int32_t m_red = -1;

    QWidget *riderForm() { return MeetHarness::window("FrmRider"); }

    void search(FrmRiderMgmt *screen, int by, const QString &text)
    {
        screen->findChild<QComboBox *>("LbSearchBy")->setCurrentIndex(by);
        type(screen, "TxtSearchFor", text);
        MeetHarness::click(screen, "CmdSearch");
    }

    static QStringList lines(QWidget *screen)
    {
        return MeetHarness::lines(screen->findChild<QListWidget *>("LbResults"));
    }

private Q_SLOTS:
    void init()
    {
        m = std::make_unique<MeetHarness>();
        m_blue = m->build().addTeam("Blue", "B");
        m_red = m->build().addTeam("Red", "A");
    }
    void cleanup() { m.reset(); }

    void save_checksInOrderThenStoresAsTyped()
    {
        m->build().addRider(m_blue, "Ann", "Lee", "07");
        auto *screen = m->open<FrmRiderMgmt>();
        MeetHarness::click(screen, "CmdAdd");
        QVERIFY(m->main.isEnabled()); // the rider screen stays usable

        // Nothing typed and no team: the team comes first.
        m->confirm(riderForm(), "CmdSave");
        QCOMPARE(m->messages.last()->text, "A team must be selected in the Team box");

        // A missing name comes before an invalid number.
        type(riderForm(), "RiderListBoxArray_0", "abc");
        type(riderForm(), "RiderListBoxArray_2", "Ray");
        riderForm()->findChild<QComboBox *>("LbTeamCode")->setCurrentIndex(0);
        m->confirm(riderForm(), "CmdSave");
        QCOMPARE(m->messages.last()->kind, ScriptedMessages::Kind::Warn);
        QVERIFY(m->messages.last()->text.startsWith("The rider cannot be saved due to missing information."));
        type(riderForm(), "RiderListBoxArray_1", "Bo");

        for (const auto &[typed, message] :
             {std::pair{"abc", "The specified rider number is invalid."},
              std::pair{"7", "The specified rider number is currently assigned to another rider."},
              std::pair{"7.4", "The specified rider number is currently assigned to another rider."}}) {
            type(riderForm(), "RiderListBoxArray_0", typed);
            m->confirm(riderForm(), "CmdSave");
            QCOMPARE(m->messages.last()->text, QString::fromLatin1(message));
            QVERIFY(riderForm());
        }
        QCOMPARE(MeetQuery::riderNumbers(m->db()), QStringList{"07"});

        type(riderForm(), "RiderListBoxArray_0", "-5");
        m->confirm(riderForm(), "CmdSave");
        QVERIFY(!riderForm());
        QTRY_COMPARE(QApplication::focusWidget(), screen->findChild<QWidget *>("CmdAdd"));
        QCOMPARE(MeetQuery::riderNumbers(m->db()), (QStringList{"07", "-5"}));
        QCOMPARE(m->messages.unscriptedQuestions, 0);
    }

    void edit_keepsItsOwnNumberAndDatabaseFailuresAreNamed()
    {
        m->build().addRider(m_red, "Cy", "Cole", "12");
        auto *screen = m->open<FrmRiderMgmt>();
        MeetHarness::click(screen, "CmdEdit");
        QCOMPARE(m->messages.last()->text, "You must first select the rider you want to edit.");
        search(screen, 0, "col");
        screen->findChild<QListWidget *>("LbResults")->setCurrentRow(0);
        MeetHarness::click(screen, "CmdEdit");
        QWidget *f = riderForm();
        QCOMPARE(f->findChild<QLineEdit *>("RiderListBoxArray_0")->text(), "12");
        QCOMPARE(f->findChild<QComboBox *>("LbTeamCode")->currentText(), "Red");

        MeetQuery::forceFailure(m->db(), "UPDATE ON TblPerson", "disk I/O error");
        type(f, "RiderListBoxArray_2", "Coleman");
        m->confirm(f, "CmdSave");
        QCOMPARE(m->messages.last()->kind, ScriptedMessages::Kind::Fail);
        QVERIFY(m->messages.last()->text.contains("disk I/O error"));
        QVERIFY(riderForm());

        Sql::exec(m->db(), "untrap", "DROP TRIGGER temp.forced");
        m->confirm(f, "CmdSave");
        QVERIFY(!riderForm());
        QTRY_COMPARE(QApplication::focusWidget(), screen->findChild<QWidget *>("CmdAdd"));
        // The screen repeats its search when the form closes.
        QCOMPARE(lines(screen), QStringList{"12 - Coleman, Cy (Red)"});
    }

    void search_andDeleteRefusedForEnteredRiders()
    {
        auto b = m->build();
        const auto ann = b.addRider(m_blue, "Ann", "O'Brien", "1");
        b.addRider(m_red, "Bo", "Brink", "2");
        b.addEntry(3, ann);
        auto *screen = m->open<FrmRiderMgmt>();
        search(screen, 0, "");
        QCOMPARE(lines(screen), QStringList{});
        search(screen, 3, "red");
        QCOMPARE(lines(screen), QStringList{"2 - Brink, Bo (Red)"});

        auto *results = screen->findChild<QListWidget *>("LbResults");
        results->selectionModel()->setCurrentIndex(results->model()->index(0, 0),
                                                   QItemSelectionModel::NoUpdate);
        MeetHarness::click(screen, "CmdDelete");
        QCOMPARE(m->messages.last()->text, "You must first select the rider you want to delete.");
        search(screen, 1, "ann");
        results->setCurrentRow(0);
        MeetHarness::click(screen, "CmdDelete");
        QCOMPARE(m->messages.last()->text, "You may not delete a rider who is entered in a class.");

        Sql::exec(m->db(), "unenter", "DELETE FROM TblEntry");
        m->confirm(screen, "CmdDelete");
        QCOMPARE(m->messages.last()->text,
                 QStringLiteral(
                     "You are about to delete the selected rider. This action cannot be undone. Are you "
                     "sure you want to continue?"));
        QCOMPARE(MeetQuery::riderNumbers(m->db()), QStringList{"2"});
        QCOMPARE(lines(screen), QStringList{});
    }

    void riderScreen_repeatsItsSearchWhenTheMainMenuComesBack()
    {
        const auto ann = m->build().addRider(m_blue, "Ann", "Lee", "1");
        auto *screen = m->open<FrmRiderMgmt>();
        search(screen, 0, "lee");
        QCOMPARE(lines(screen), QStringList{"1 - Lee, Ann (Blue)"});
        m->main.setEnabled(false); // the number assignment is open
        Sql::exec(m->db(), "renumber", "UPDATE TblPerson SET RiderNumber = '99' WHERE RiderIndex = ?", {ann});
        m->main.setEnabled(true);
        QCOMPARE(lines(screen), QStringList{"99 - Lee, Ann (Blue)"});
    }

    void assign_randomSequentialAndRefusals()
    {
        auto b = m->build();
        for (int i = 0; i < 20; ++i)
            b.addRider(i % 2 ? m_blue : m_red, QStringLiteral("R%1").arg(i), QStringLiteral("L%1").arg(i));
        m->main.setEnabled(false); // as the Utilities entry leaves it
        auto *w = FrmAssignNumbers::open(m->app, &m->main);
        MeetHarness::click(w, "CmdRandom");
        QVERIFY(w->findChild<QGroupBox *>("FraRandom")->isVisible());
        type(w, "TxtRandRange1", "x");
        type(w, "TxtRandRange2", "10");
        MeetHarness::click(w, "CmdRandSubmit");
        QCOMPARE(m->messages.last()->text, "The range provided is invalid. Please check it and try again.");
        type(w, "TxtRandRange1", "20");
        type(w, "TxtRandRange2", "2");
        MeetHarness::click(w, "CmdRandSubmit");
        QCOMPARE(m->messages.last()->text,
                 "The range provided is not large enough for the current number of riders");
        QCOMPARE(MeetQuery::riderNumbers(m->db()), QStringList(20, QString()));

        type(w, "TxtRandRange1", "500");
        type(w, "TxtRandRange2", "1");
        MeetHarness::click(w, "CmdRandSubmit");
        QCOMPARE(m->messages.last()->text, "The random number assignment was successful.");
        QVERIFY(w->findChild<QGroupBox *>("FraButtons")->isVisible());
        const QStringList drawn = MeetQuery::riderNumbers(m->db());
        QCOMPARE(QSet<QString>(drawn.begin(), drawn.end()).size(), 20);
        for (const QString &n : drawn)
            QVERIFY(n.toInt() >= 1 && n.toInt() <= 500);

        MeetHarness::click(w, "cmdSequential");
        type(w, "TxtSeqRange1", "-5");
        type(w, "TxtSeqRange2", "14");
        MeetHarness::click(w, "CmdSeqSubmit");
        QCOMPARE(m->messages.last()->text, "The sequential number assignment was successful.");
        // Red (division A) first: its riders by last name L0, L10, L12... take -5, -4, ...
        QCOMPARE(MeetQuery::column(m->db(), "SELECT LastName FROM TblPerson WHERE RiderNumber = '-5'"),
                 QStringList{"L0"});

        w->close();
        QVERIFY(m->main.isEnabled());
    }

    void assign_individuallyByValueWithTheNodeMarkedWhileEdited()
    {
        auto b = m->build();
        const auto ann = b.addRider(m_blue, "Ann", "Lee", "07");
        b.addRider(m_blue, "Bo", "Ray", "8");
        b.addRider(999, "Di", "Lost", "");
        auto *w = FrmAssignNumbers::open(m->app, &m->main);
        auto *tree = w->findChild<QTreeWidget *>("TVNumberAssign");
        QTreeWidgetItem *annNode = findNode(tree, QStringLiteral("Rider%1").arg(ann));
        QVERIFY(annNode);
        QCOMPARE(annNode->text(0), "(07) Ann Lee");
        QVERIFY(findNode(tree, "NoTeam")); // riders whose team is gone can still be numbered

        w->TVNumberAssign_NodeClick(annNode); // ignored while the buttons show
        QVERIFY(!w->findChild<QGroupBox *>("FraEditNumber")->isVisible());
        MeetHarness::click(w, "CmdIndividual");
        w->TVNumberAssign_NodeClick(annNode);
        QVERIFY(w->findChild<QGroupBox *>("FraEditNumber")->isVisible());
        QVERIFY(!tree->isEnabled() && annNode->font(0).bold());
        QCOMPARE(annNode->foreground(0).color(), QColor(255, 0, 0));

        for (const auto &[typed, told] :
             {std::pair{"", "You must provide a valid rider number."},
              std::pair{"8", "The specified number is already in use by another rider."},
              std::pair{"x1", "The specified rider number is invalid"}}) {
            type(w, "TxtRiderNumber", typed);
            MeetHarness::click(w, "CmdEditSubmit");
            QCOMPARE(m->messages.last()->text, told);
        }
        type(w, "TxtRiderNumber", "7"); // its own number, written as 7
        MeetHarness::click(w, "CmdEditSubmit");
        QCOMPARE(annNode->text(0), "(7) Ann Lee");
        QVERIFY(tree->isEnabled() && !annNode->font(0).bold());
        QVERIFY(w->findChild<QGroupBox *>("FraIndividual")->isVisible());
        QCOMPARE(MeetQuery::riderNumbers(m->db()), (QStringList{"7", "8", ""}));
    }
};

QTEST_MAIN(TstRiderScreens)
#include "tst_riderscreens.moc"
