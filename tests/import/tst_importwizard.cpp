// The import wizards: the regional file's (cancel in the file dialog, a refused file, the tree,
// Import and Cancel) and the spreadsheets' walked through its steps; "Export Roster" as the user
// meets it.
#include "meetharness.h"

#include "import/exportroster.h"
#include "import/frmdataimport.h"
#include "import/frmspreadsheetimport.h"

#include <QCheckBox>

class TstImportWizard : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MeetHarness> m;

    QString regionFile()
    {
        return MeetQuery::regionalFile(m->dir.path(), "Region4-2006.mdb", [](MeetBuilder &b) {
            const auto blue = b.addTeam("Blue", "B");
            b.addTeam("Acorn", "A");
            b.addCoach(blue, "Hal", "Hart");
            b.addRider(blue, "Bo", "Brown", "12");
        });
    }

    FrmDataImport *start(const QString &chosen)
    {
        m->main.setEnabled(false); // as the Utilities entry leaves it
        auto *wizard = new FrmDataImport(m->app, &m->main);
        wizard->Get_Import_File = [chosen] { return chosen; };
        wizard->Import_Data();
        return wizard;
    }

private Q_SLOTS:
    void init() { m = std::make_unique<MeetHarness>(); }
    void cleanup()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m.reset();
    }

    void cancel_inTheDialogOrTheWizard_importsNothing()
    {
        QPointer<FrmDataImport> wizard = start(QString());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(wizard.isNull() && m->main.isEnabled());
        QVERIFY(m->messages.log.isEmpty());

        // Cancel in the wizard imports nothing.
        MeetHarness::click(start(regionFile()), "CmdCancel");
        QVERIFY(m->main.isEnabled());
        QCOMPARE(MeetQuery::count(m->db(), "TblTeam"), 0);
    }

    void refusedFile_isNamedAndNothingChanges()
    {
        const QString bad = m->dir.filePath("Region5-2006.mdb");
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("random bytes that are no database at all");
        f.close();
        start(bad); // what a refusal leaves of the meet is tested without the window
        QCOMPARE(m->messages.log.size(), 1);
        QVERIFY(m->messages.log[0].text.contains(QDir::toNativeSeparators(bad)));
        QVERIFY(m->main.isEnabled());
    }

    void treeThenImport_copiesTheTeamsAndCloses()
    {
        QPointer<FrmDataImport> wizard = start(regionFile());
        QVERIFY(wizard && wizard->isVisible() && !m->main.isEnabled());
        QCOMPARE(MeetHarness::treeLines(wizard->findChild<QTreeWidget *>("TVImportSelect")),
                 (QStringList{"Region 4", "  A - Acorn", "    Coaches", "    Riders", "  B - Blue",
                              "    Coaches", "      Hal Hart - Head Coach", "    Riders", "      Bo Brown"}));
        MeetHarness::click(wizard, "CmdImport");
        QCOMPARE(m->messages.last()->text, "Data Import Successful");
        QCOMPARE(m->messages.last()->title, "Quendal");
        QVERIFY(m->main.isEnabled());
        QCOMPARE(MeetQuery::column(m->db(), "SELECT TeamName || Region FROM TblTeam"),
                 (QStringList{"Acorn4", "Blue4"}));
    }

    void wizard_filesColumnsPreviewImport()
    {
        auto b = m->build();
        const auto blue = b.addTeam("Blue", "B");
        b.addRider(blue, "Ann", "Lee", "7");
        // A spreadsheet in another language: the first name's heading is not known.
        const QString riders =
            MeetQuery::writeFile(m->dir.filePath("riders.csv"), "Pr\xE9nom;Last Name;Team;Division;City\r\n"
                                                                "Bo;Brown;Blue;B;\"Elm\r\nTown\"\r\n"
                                                                "Ann;Lee;Blue;B;Oak\r\n"
                                                                "Cy;Cole;Nowhere;B;\r\n");
        m->main.setEnabled(false); // as the Utilities entry leaves it
        QPointer<FrmSpreadsheetImport> wizard = FrmSpreadsheetImport::open(m->app, &m->main);
        wizard->Get_Import_File = [&](RosterFields::Kind kind) {
            return kind == RosterFields::Kind::Riders ? riders : QString();
        };

        MeetHarness::click(wizard, "CmdNext");
        MeetHarness::click(wizard, "CmdBrowse_2");
        MeetHarness::click(wizard, "CmdNext");
        QCOMPARE(wizard->step(), FrmSpreadsheetImport::Step::Columns);
        MeetHarness::click(wizard, "CmdNext");
        QCOMPARE(wizard->findChild<QComboBox *>("CbColumn_2_0")->currentText(), "C: Team (Blue)");
        MeetHarness::choose(wizard, "CbColumn_2_3", 1);
        MeetHarness::click(wizard, "CmdNext");
        QCOMPARE(m->messages.texts(),
                 (QStringList{"Choose at least one file.",
                              "Choose the column of the rider file that holds First Name."}));
        QCOMPARE(
            MeetHarness::treeLines(wizard->findChild<QTreeWidget *>("TVPreview")),
            (QStringList{"Riders (riders.csv): 1 new, 1 already there, 1 refused", "  New (1)",
                         "    Line 2: Bo Brown - Blue (B)", "  Already there (1)",
                         "    Line 4: Ann Lee - Blue (B): differs in City", "  Refused (1)",
                         "    Line 5: Cy Cole - Nowhere (B): there is no team \"Nowhere\" in division B"}));

        // Back to the columns and on again keeps the correction.
        MeetHarness::click(wizard, "CmdBack");
        MeetHarness::click(wizard, "CmdNext");
        QCOMPARE(wizard->step(), FrmSpreadsheetImport::Step::Preview);
        wizard->findChild<QCheckBox *>("ChkUpdate")->setChecked(true);
        MeetHarness::click(wizard, "CmdImport");
        QVERIFY(wizard.isNull() || !wizard->isVisible());
        QVERIFY(m->main.isEnabled());
        QCOMPARE(m->messages.last()->text,
                 "Spreadsheet Import Successful\n\nRiders: 1 added, 1 updated, 1 refused lines left out");
        QCOMPARE(
            MeetQuery::column(m->db(), "SELECT FirstName || ' ' || City FROM TblPerson ORDER BY RiderIndex"),
            (QStringList{"Ann Oak", "Bo Elm\r\nTown"}));
    }

    void exportRoster_asksBeforeReplacingAndGivesTheMenuBack()
    {
        m->build().addTeam("Blue", "B");
        const QString folder = m->dir.filePath("out");
        QDir().mkpath(folder);
        MeetQuery::writeFile(QDir(folder).filePath("Teams.csv"), "old");
        const auto exportTo = [&](bool replace) {
            m->messages.answer({replace});
            m->main.setEnabled(false);
            ExportRoster::run(m->app, &m->main, [&] { return folder; });
            QVERIFY(m->main.isEnabled());
        };
        exportTo(false);
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"Teams.csv"});
        exportTo(true);
        QCOMPARE(
            m->messages.texts(),
            (QStringList{"The folder already holds Teams.csv. Exporting the roster replaces it. Are you sure "
                         "you want to continue?",
                         "The folder already holds Teams.csv. Exporting the roster replaces it. Are you sure "
                         "you want to continue?",
                         "The roster was written to " + QDir::toNativeSeparators(folder) +
                             ":\nTeams.csv: 1 team\nCoaches.csv: 0 coaches\nRiders.csv: 0 riders\n"
                             "Judges.csv: 0 judges"}));
        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 4);
    }
};

QTEST_MAIN(TstImportWizard)
#include "tst_importwizard.moc"
