// The class sheets and slot sheets as the user opens them: one preview per split with its own
// riders and titles, the relay's partners, the slot sheets' groups, order and images. Read from
// the page model.
#include "meetharness.h"
#include "printfit.h"

#include "common/labelfiles.h"
#include "entries/frmclasssheets.h"
#include "entries/frmlabelbuilder.h"
#include "entries/frmslotsheets.h"
#include "reports/frmreportpreview.h"

#include <algorithm>

namespace {

// The open previews, by caption.
std::vector<const FrmReportPreview *> previewWindows()
{
    std::vector<const FrmReportPreview *> open;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *preview = qobject_cast<FrmReportPreview *>(w); preview && preview->isVisible())
            open.push_back(preview);
    std::sort(open.begin(), open.end(),
              [](const auto *a, const auto *b) { return a->windowTitle() < b->windowTitle(); });
    return open;
}

std::vector<Report::Document> previews()
{
    std::vector<Report::Document> docs;
    for (const FrmReportPreview *preview : previewWindows())
        docs.push_back(preview->document());
    return docs;
}

} // namespace

class TstRingSheets : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MeetHarness> m;

    FrmClassSheets *classSheets() { return m->open<FrmClassSheets>("B"); }
    void print(FrmClassSheets *screen, int classNumber, int splits)
    {
        screen->findChild<QComboBox *>("CbClass")->setCurrentIndex(classNumber - 1);
        screen->findChild<QComboBox *>("CbSplits")->setCurrentIndex(splits - 1);
        MeetHarness::click(screen, "CmdSequential");
    }
    FrmSlotSheets *slotSheets(const QString &division) { return m->open<FrmSlotSheets>(division); }

private Q_SLOTS:
    void init() { m = std::make_unique<MeetHarness>(); }
    void cleanup() { m.reset(); }

    void classSheets_onePreviewPerSplit_data()
    {
        QTest::addColumn<int>("classNumber");
        QTest::addColumn<int>("splits");
        QTest::addColumn<QStringList>("titles");   // printed
        QTest::addColumn<QStringList>("captions"); // of the previews
        QTest::addColumn<QStringList>("totals");
        QTest::addColumn<bool>("timed");
        const QString flag = QStringLiteral("Rider List for Division B, Class: 14 - Flag Race");
        QTest::newRow("one split, timed")
            << 14 << 1 << QStringList{flag} << QStringList{flag} << QStringList{"2"} << true;
        QTest::newRow("three splits, one empty")
            << 14 << 3 << QStringList{flag + ", (Split: 1)", flag + ", (Split: 2)", flag + ", (Split: 3)"}
            << QStringList{flag + ", (Split: 1 of 3)", flag + ", (Split: 2 of 3)", flag + ", (Split: 3 of 3)"}
            << QStringList{"1", "1", "0"} << true;
        QTest::newRow("class 13, untimed")
            << 13 << 2 << QStringList{} << QStringList{} << QStringList{"1", "1"} << false;
        QTest::newRow("class 16, timed")
            << 16 << 1 << QStringList{} << QStringList{} << QStringList{"2"} << true;
    }
    // Asked for twice: the same previews show the second draw.
    void classSheets_onePreviewPerSplit()
    {
        QFETCH(int, classNumber);
        QFETCH(int, splits);
        QFETCH(QStringList, titles);
        QFETCH(QStringList, captions);
        QFETCH(QStringList, totals);
        QFETCH(bool, timed);
        auto b = m->build();
        const auto team = b.addTeam("Blue", "B");
        b.addEntry(classNumber, b.addRider(team, "Ann", "Lee", "9"));
        b.addEntry(classNumber, b.addRider(b.addTeam("Gold", "B"), "Bo", "Kay", "10"));
        b.addEntry(classNumber, b.addRider(b.addTeam("Red", "A"), "Cy", "Moe", "11"));
        FrmClassSheets *screen = classSheets();
        print(screen, classNumber, splits);
        print(screen, classNumber, splits);

        // Each split's preview a caption lower and further right than the one before.
        QStringList gotCaptions;
        const auto windows = previewWindows();
        for (std::size_t s = 0; s < windows.size(); ++s) {
            gotCaptions << windows[s]->windowTitle();
            QCOMPARE(windows[s]->pos(), windows[0]->pos() + QPoint(28, 28) * int(s));
        }
        if (!captions.isEmpty())
            QCOMPARE(gotCaptions, captions);

        const std::vector<Report::Document> docs = previews();
        QStringList gotTitles, gotTotals, riders;
        for (const Report::Document &doc : docs) {
            gotTitles << doc.printedBy(u"RhTitle");
            gotTotals << doc.printedBy(u"fcTotalEntries");
            riders << doc.printedBy(u"Text1");
            QCOMPARE(doc.printedBy(u"LblTime").size(), timed ? 1 : 0);
            QCOMPARE(doc.pages[0].byName(u"LnTime").size(),
                     timed ? size_t(doc.printedBy(u"Text1").size()) : 0);
        }
        if (!titles.isEmpty())
            QCOMPARE(gotTitles, titles);
        QCOMPARE(gotTotals, totals);
        riders.sort();
        QCOMPARE(riders, (QStringList{"10", "9"}));
    }

    void relaySheet_eachRiderWithThePartner()
    {
        auto b = m->build();
        const auto team = b.addTeam("Blue", "B");
        const auto ann = b.addRider(team, "Ann", "Lee", "7");
        b.addEntry(17, ann);
        b.addPairing(ann, b.addRider(team, "Cy", "Pax", "12"));
        b.addEntry(17, b.addRider(team, "Bob", "Moe", "8"));
        print(classSheets(), 17, 1);
        const std::vector<Report::Document> docs = previews();
        QCOMPARE(docs.size(), size_t(1));
        QStringList row;
        for (const char *field :
             {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "FncRiderTotal"})
            row << docs[0].printedBy(QString::fromLatin1(field));
        QCOMPARE(row, (QStringList{"7", "Ann", "Lee", "12", "Cy", "Pax", "Blue", "1"}));
        // Exported under the printed headings, the partner's told apart from the rider's.
        QCOMPARE(docs[0].table.columns, QStringList({"Rider#", "Firstname", "LastName", "Partner #",
                                                     "Partner Firstname", "Partner LastName", "TeamName"}));
    }

    // One entry is a class: a single rider's sheet prints, and so does the relay's (empty) sheet
    // while its only entry names no partner yet.
    void classSheets_aSingleEntryIsNoEmptyClass()
    {
        auto b = m->build();
        const auto team = b.addTeam("Blue", "B");
        b.addEntry(5, b.addRider(team, "Ann", "Lee", "7"));
        b.addEntry(17, b.addRider(team, "Bob", "Moe", "8"));
        FrmClassSheets *screen = classSheets();
        print(screen, 5, 1);
        print(screen, 17, 1);
        QCOMPARE(m->messages.texts(), QStringList{});
        const std::vector<Report::Document> docs = previews();
        QCOMPARE(docs.size(), size_t(2));
        QCOMPARE(docs[0].printedBy(u"Text1") + docs[1].printedBy(u"Text1"), QStringList{"7"});
    }

    void classSheets_printTheLongestNamesWhole()
    {
        auto b = m->build();
        const auto team = b.addTeam(PrintFit::longest("Cedar Ridge"), "B");
        const auto ann = b.addRider(team, PrintFit::longest("Annabel"), PrintFit::longest("Lee"), "101");
        b.addPairing(ann, b.addRider(team, PrintFit::longest("Bo"), PrintFit::longest("Kay"), "102"));
        FrmClassSheets *screen = classSheets();
        for (const int c : {14, 17}) {
            b.addEntry(c, ann);
            print(screen, c, 1);
        }
        QString cut;
        for (const Report::Document &doc : previews())
            cut += PrintFit::cut(doc, {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7"});
        QCOMPARE(previews().size(), size_t(2));
        QCOMPARE(cut, QString());
    }

    void slotSheets_createAll_groupsByDivisionAndTeamName()
    {
        auto b = m->build();
        const auto blue = b.addTeam("Blue", "B");
        b.addRider(blue, "Nine", "N", "9");
        b.addRider(b.addTeam("Blue", "B"), "Ten", "T", "10");
        b.addRider(b.addTeam("O'Brien", "B"), "Ola", "O", "1");
        b.addRider(b.addTeam("Blue", "A"), "Other", "Division", "2");
        MeetHarness::click(slotSheets("B"), "CmdAll");
        const std::vector<Report::Document> docs = previews();
        QCOMPARE(docs.size(), size_t(1));
        const Report::Document &doc = docs[0];
        QCOMPARE(doc.orientation, QPageLayout::Landscape);
        QCOMPARE(doc.printedBy(u"txtTeamName"), (QStringList{"Blue", "O'Brien"}));
        QCOMPARE(doc.printedBy(u"txtRiderNumber"), (QStringList{"10", "9", "1"}));
        QCOMPARE(doc.pages.size(), size_t(2));
        // A box under every column for each rider and in the closing row.
        QCOMPARE(doc.pages[0].byName(u"ShpBox18").size(), size_t(2));
        QCOMPARE(doc.pages[0].byName(u"ShpClose18").size(), size_t(1));
    }

    void slotSheets_createSingle_byNameEachTeamItsOwnSheet()
    {
        auto b = m->build();
        b.addRider(b.addTeam("O'Brien", "B"), "Ola", "O", "1");
        b.addRider(b.addTeam("O'Brien", "B"), "Pia", "P", "2");
        b.addRider(b.addTeam("O'Brien", "C"), "Quin", "Q", "3");
        b.addTeam("Acorn", "B");
        FrmSlotSheets *screen = slotSheets("B");
        auto *team = screen->findChild<QComboBox *>("CbTeam");
        QCOMPARE(team->count(), 3);
        QCOMPARE(team->currentIndex(), -1);
        team->setCurrentIndex(1);
        MeetHarness::click(screen, "CmdSingle");
        QCOMPARE(previews()[0].printedBy(u"txtDivision"), (QStringList{"B", "B", "C"}));
        QCOMPARE(previews()[0].printedBy(u"txtFirstName"), (QStringList{"Ola", "Pia", "Quin"}));
    }

    void refusals_openNoPreview()
    {
        m->build().addEntry(5, m->build().addRider(m->build().addTeam("Red", "A"), "Cy", "Moe", "11"));
        m->build().addTeam("Empty", "D");
        FrmClassSheets *classes = classSheets();
        MeetHarness::click(classes, "CmdRandom");
        print(classes, 5, 1);
        FrmSlotSheets *slots = slotSheets("D");
        MeetHarness::click(slots, "CmdSingle");
        MeetHarness::click(slots, "CmdAll");
        QCOMPARE(m->messages.texts(),
                 (QStringList{"Please Enter Which Class the Class Sheet is for",
                              "There are currently no riders entered in the specified class.",
                              "You must select the team you want to print a slot sheet for.",
                              "There are currently no teams or riders entered in the D Division."}));
        QVERIFY(previews().empty());
    }

    // A team of 30 riders runs onto a second page, headed again; the longest names print whole.
    void slotSheets_everyPageHeadedByTheTeamAndTheClassImagesOrNumbers()
    {
        QDir(m->dir.path()).mkpath(LabelFiles::FolderName);
        FrmLabelBuilder(LabelFiles::folder(m->dir.path())).Build_Labels(m->db());
        QVERIFY(QFile::remove(LabelFiles::folder(m->dir.path()) + "/reportFR.bmp"));
        auto b = m->build();
        const QString name = PrintFit::longest("Cedar Ridge");
        const auto team = b.addTeam(name, "B");
        for (int r = 1; r <= 30; ++r)
            b.addRider(team, r == 30 ? PrintFit::longest("Ann") : "Ann",
                       r == 30 ? PrintFit::longest("Lee") : "Lee", QString::number(100 + r));
        MeetHarness::click(slotSheets("B"), "CmdAll");
        const Report::Document doc = previews().at(0);
        QCOMPARE(doc.printedBy(u"txtRiderNumber").size(), 30);
        QCOMPARE(doc.pages.size(), size_t(2));
        for (const Report::Page &page : doc.pages) {
            QCOMPARE(page.byName(u"txtTeamName").at(0)->text, name);
            QCOMPARE(page.byName(u"txtDivision").at(0)->text, "B");
            for (int c = 1; c <= 17; ++c) {
                const Report::Primitive *box = page.byName(QStringLiteral("Class%1").arg(c)).at(0);
                QCOMPARE(box->kind, c == 14 ? Report::Primitive::Kind::Text : Report::Primitive::Kind::Image);
                QCOMPARE(box->text, c == 14 ? QStringLiteral("14") : QString());
            }
            QCOMPARE(page.byName(u"RelayPartner").at(0)->kind, Report::Primitive::Kind::Image);
        }
        QCOMPARE(PrintFit::cut(doc, {"LblTitle", "txtTeamName", "txtDivision", "txtRiderNumber",
                                     "txtFirstName", "txtLastName"}),
                 QString());
    }
};

QTEST_MAIN(TstRingSheets)
#include "tst_ringsheets.moc"
