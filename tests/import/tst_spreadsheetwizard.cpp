// The spreadsheet import wizard walked through its steps, and "Export Roster" as the user meets it.
#include "meetharness.h"

#include "import/exportroster.h"
#include "import/frmspreadsheetimport.h"

#include <QCheckBox>
#include <QTabWidget>

class TstSpreadsheetWizard : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MeetHarness> m;

    QString file(const QString &name, const QByteArray &bytes)
    {
        QFile f(m->dir.filePath(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(name));
        return f.fileName();
    }

private Q_SLOTS:
    void init() { m = std::make_unique<MeetHarness>(); }
    void cleanup()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m.reset();
    }

    void wizard_filesColumnsPreviewImport()
    {
        auto b = m->build();
        const auto blue = b.addTeam("Blue", "B");
        b.addRider(blue, "Ann", "Lee", "7");
        // A spreadsheet in another language: the first name's heading is not known.
        const QString riders = file("riders.csv", "Pr\xE9nom;Last Name;Team;Division;City\r\n"
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
        file("out/Teams.csv", "old");
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

QTEST_MAIN(TstSpreadsheetWizard)
#include "tst_spreadsheetwizard.moc"
