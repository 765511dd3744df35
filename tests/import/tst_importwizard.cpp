// The import wizard window: cancel in the file dialog, a refused file, the tree, Import and Cancel.
#include "meetharness.h"

#include "import/frmdataimport.h"

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
};

QTEST_MAIN(TstImportWizard)
#include "tst_importwizard.moc"
