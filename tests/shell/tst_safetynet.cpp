// The safety net as the user meets it: snapshots before the risky steps of the real windows (and
// what happens when none can be taken), the Snapshots window restoring a meet the program then
// shows, the Meet Check screen and the check of the meet file.
#include "programfixture.h"

#include "app/frmsnapshots.h"
#include "db/meetfilecheck.h"
#include "import/frmspreadsheetimport.h"
#include "judging/meetcheck.h"
#include "reports/frmreportpreview.h"
#include "shell/checkgrid.h"
#include "shell/gridcell.h"

#include <QLabel>

namespace {

using P = ProgramFixture;

struct Case
{
    const char *step;                     // the snapshot is "before " + step
    std::function<void(P &)> act;         // the risky step, from its window
    int questionsBefore;                  // asked (and answered Yes) ahead of the snapshot
    std::function<void(P &)> before = {}; // ahead of it (the first nine saves), or empty
};

const std::vector<Case> &cases()
{
    // Unticks cells of the check-box grid window, then submits it.
    const auto untickAndApply = [](const char *form, std::vector<std::pair<int, int>> cells) {
        return [=](P &) {
            auto *grid = qobject_cast<CheckGrid *>(P::in(form));
            QVERIFY(grid);
            for (const auto &[row, cls] : cells)
                grid->cell(row, cls)->click();
            P::press(grid, "CmdApply");
        };
    };
    // Nine saves through the window: the tenth is the risky one.
    const auto nineSaves = [](int slot, const char *box, const char *opener, const char *form,
                              const char *save) {
        return [=](P &p) {
            p.prepareShowDay();
            p.open(slot);
            P::choose(p.screen(), box, 0);
            for (int i = 0; i < 9; ++i) {
                p.press(opener);
                P::press(P::in(form), save);
            }
            p.press(opener);
        };
    };
    static const std::vector<Case> all{
        {"deleting team Blue (B)",
         [](P &p) {
             p.open(1);
             p.pick("LbTeam", 1);
             p.press("CmdDeleteTeam");
         },
         1},
        {"numbering all riders",
         [](P &p) {
             p.openNumbers();
             P::press(p.numbers(), "cmdSequential");
             P::type(p.numbers(), {{"TxtSeqRange1", "5"}, {"TxtSeqRange2", "50"}});
             P::press(p.numbers(), "CmdSeqSubmit");
         },
         0},
        {"importing region 4",
         [](P &p) {
             p.openImport();
             P::press(P::in("FrmDataImport"), "CmdImport");
         },
         0},
        {"importing a spreadsheet roster",
         [](P &p) {
             auto *wizard = FrmSpreadsheetImport::open(p.m.app, p.main.get());
             const QString teams =
                 MeetQuery::writeFile(p.m.dir.filePath("teams.csv"), "Team Name,Division\r\nGrey,C\r\n");
             MeetHarness::type(wizard, QStringLiteral("TxtFile_0"), teams);
             for (const char *button : {"CmdNext", "CmdNext", "CmdImport"})
                 P::press(wizard, button);
         },
         0},
        {"replacing the judges of division A", untickAndApply("FrmJudgeAssignments", {{1, 1}, {2, 1}}), 1,
         [](P &p) {
             p.prepareShowDay();
             p.open(5);
             p.press("CmdAssignclasses");
         }},
        {"saving the entries of Acorn (A)", untickAndApply("frmClassAssignments", {{1, 1}}), 1,
         nineSaves(8, "CbTeamName", "CmdSubmit", "frmClassAssignments", "CmdApply")},
        {"saving the placings of division A, class 1",
         [](P &) {
             P::choose(P::in("FrmPlaceAssign"), "CbPlacing1_0", 1);
             P::press(P::in("FrmPlaceAssign"), "CmdSubmit");
         },
         1, nineSaves(10, "CbClass", "CmdAddPlacings", "FrmPlaceAssign", "CmdSubmit")},
    };
    return all;
}

QStringList snapshots(const P &p)
{
    QStringList whats;
    for (const Snapshot &s : p.m.app.safety.store().list(false))
        whats << s.what;
    return whats;
}

QStringList lines(const QTreeWidget *list, int column)
{
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(column);
    return out;
}

} // namespace

class TstSafetyNet : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void riskyStep_takesASnapshotFirst_orWaitsForTheUser_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("blocked"); // the snapshot folder cannot be made: the user says No
        for (int i = 0; i < int(cases().size()); ++i) {
            QTest::newRow(cases()[i].step) << i << false;
            QTest::newRow(QByteArray(cases()[i].step) + ", no snapshot") << i << true;
        }
    }
    void riskyStep_takesASnapshotFirst_orWaitsForTheUser()
    {
        QFETCH(int, row);
        QFETCH(bool, blocked);
        const Case &c = cases()[row];
        P p;
        if (c.before)
            c.before(p);
        QVERIFY(snapshots(p).isEmpty());
        if (blocked) {
            QFile file(p.m.app.safety.store().folder());
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const QString meet = MeetFixture::dump(p.m.db());
        p.m.messages.clear();
        for (int i = 0; i < c.questionsBefore; ++i)
            p.m.messages.answer({true});
        p.m.messages.answer({!blocked});

        c.act(p);
        const QString step = QLatin1StringView(c.step);
        if (blocked) {
            QCOMPARE(MeetFixture::dump(p.m.db()), meet);
            QVERIFY2(p.m.messages.texts().join('|').contains(
                         "The meet could not be copied to the snapshot folder before " + step + ":\n\n\"" +
                         QDir::toNativeSeparators(p.m.app.safety.store().folder()) +
                         "\" is a file, where the snapshot folder should be"),
                     qPrintable(p.m.messages.texts().join('|')));
        } else {
            QCOMPARE(snapshots(p), QStringList{"before " + step});
            QVERIFY(MeetFixture::dump(p.m.db()) != meet);
        }
    }

    void snapshotsWindow_restoresAndTheProgramReadsTheRestoredMeet()
    {
        P p;
        p.m.app.safety.take(SafetyNet::ByHand);
        Sql::exec(p.m.db(), "change", "DELETE FROM TblTeam WHERE TeamName = 'Blue'");
        p.open(1);
        p.press("CmdTeamReport");
        QVERIFY(P::in("FrmReportPreview"));

        p.main->Run_Utility(FrmMain::Utility::Snapshots);
        QWidget *window = P::in("FrmSnapshots");
        auto *list = window->findChild<QTreeWidget *>("LvSnapshots");
        QCOMPARE(lines(list, 1), QStringList{SafetyNet::ByHand});
        QCOMPARE(lines(list, 2), QStringList{"2"}); // teams
        QVERIFY(!p.main->isEnabled());

        p.m.messages.clear();
        p.m.messages.answer({true});
        P::press(window, "CmdRestore");
        QCOMPARE(p.main->CurrentActivity(), 0);
        QVERIFY(!P::in("FrmReportPreview"));
        QCOMPARE(lines(list, 2), (QStringList{"1", "2"}));
        QVERIFY(list->topLevelItem(0)->text(1).startsWith("before restoring "));
        QCOMPARE(p.m.messages.log.size(), 2); // the question, then what was kept

        // A snapshot damaged since is shown so, and refused without a question.
        {
            QFile f(p.m.app.safety.store().list(false).back().path);
            QVERIFY(f.open(QIODevice::ReadWrite) && f.seek(4096) && f.putChar('\x7f'));
        }
        P::press(window, "CmdTakeSnapshot");
        QCOMPARE(lines(list, 1).last(), SafetyNet::ByHand + FrmSnapshots::Damaged);
        const QString meet = MeetFixture::dump(p.m.db());
        list->setCurrentItem(list->topLevelItem(2));
        p.m.messages.clear();
        P::press(window, "CmdRestore");
        QCOMPARE(p.m.messages.texts().size(), 1);
        QVERIFY(p.m.messages.texts().front().contains("is damaged and cannot be restored"));
        QCOMPARE(MeetFixture::dump(p.m.db()), meet);

        P::press(window, "CmdClose");
        QVERIFY(p.main->isEnabled());
        p.open(1);
        QCOMPARE(MeetHarness::lines(p.screen()->findChild<QListWidget *>("LbTeam")),
                 (QStringList{"Acorn (A)", "Blue (B)"}));
    }

    void meetCheck_followsTheDivisionAndPrints()
    {
        P p;
        p.open(FrmMain::MeetCheckSlot);
        const auto shown = [&](const char *name) { return p.screen()->findChild<QWidget *>(name); };
        QCOMPARE(qobject_cast<QComboBox *>(shown("CbScope"))->currentText(), MeetCheck::WholeMeet);
        QCOMPARE(qobject_cast<QLabel *>(shown("LblVerdict"))->text(), MeetCheck::Ready);

        p.prepareShowDay(); // division A, where class 1 now has an entry and no placings
        QCOMPARE(qobject_cast<QComboBox *>(shown("CbScope"))->currentText(), "Division A");
        QCOMPARE(lines(qobject_cast<QTreeWidget *>(shown("LvProblems")), 1),
                 QStringList{"Entry Booth > Placings"});
        p.press("CmdPreview");
        auto *preview = MeetHarness::window<FrmReportPreview>("FrmReportPreview");
        QVERIFY(preview);
        QCOMPARE(preview->document().printedBy(u"LblVerdict"), QStringList{"One problem to mend"});
    }

    void checkMeetFile_tellsWhetherTheFileIsSound()
    {
        P p;
        p.main->Run_Utility(FrmMain::Utility::CheckMeetFile);
        QCOMPARE(p.m.messages.last()->text, MeetFileCheck::Sound);
        QVERIFY(p.main->isEnabled());
        Sql::exec(p.m.db(), "damage", "DROP TABLE TblPairing");
        p.main->Run_Utility(FrmMain::Utility::CheckMeetFile);
        QVERIFY(p.m.messages.last()->text.contains("it is not a complete meet: it has no table TblPairing"));

        // A page header damaged: the engine cannot even run its checks, which is a verdict too.
        const QString copy = p.m.dir.filePath("damaged.mdb");
        QVERIFY(QFile::copy(p.m.db().databaseName(), copy));
        {
            QFile f(copy);
            QVERIFY(f.open(QIODevice::ReadWrite) && f.seek(4096) && f.putChar('\x7f'));
        }
        DbConnection damaged;
        damaged.open(copy, DbConnection::Mode::ReadOnly);
        QCOMPARE(
            MeetFileCheck::verdict(MeetFileCheck::problems(damaged.database())),
            "The meet file is damaged:\n\n- the engine cannot read it: database disk image is malformed\n"
            "- it is not a complete meet: it has no table TblPairing\n\n"
            "Restore a snapshot (Utilities, Snapshots) taken before the damage.");
    }
};

QTEST_MAIN(TstSafetyNet)
#include "tst_safetynet.moc"
