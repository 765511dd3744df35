// Pagination: where sections fall on the pages, read from the page model with fixed text sizes.
#include "fixedmeasurer.h"

#include "reports/paginator.h"
#include "reports/reportpack.h"

#include <QtTest>

using Report::Document;
using Report::Layout;
using Report::Page;

namespace {

// Letter paper, half-inch margins: a page header and footer of 400 twips leave 13600 twips
// (34 lines of 400) between them. Landscape pages are read through the reports that print them.
constexpr int Line = 400;
constexpr int FooterTop = 15840 - 720 - Line;

Layout plainLayout()
{
    Layout l;
    l.pageHeader.height = Line;
    l.pageHeader.label("LblHead", "Rider List", {0, 0, 3000, 300});
    l.pageFooter.height = Line;
    l.pageFooter.label("LblPage", "Page %p of %P", {0, 0, 3000, 300});
    l.detail.height = Line;
    l.detail.field("txtN", "N", {0, 0, 2000, 300});
    return l;
}

Layout groupedLayout()
{
    Layout l = plainLayout();
    Report::Group &g = l.addGroup("TeamHeader", "TeamFooter");
    g.header.height = Line;
    g.header.field("txtTeam", "Team", {0, 0, 3000, 300});
    return l;
}

ShapedRows numbers(int n)
{
    ResultRows rows{{"N"}, {}};
    for (int i = 1; i <= n; ++i)
        rows.rows.push_back({i});
    return ShapedRows::flat(rows);
}

// Teams "T1".. with the given numbers of riders, numbered on from 1.
ShapedRows teams(const QVector<int> &riders)
{
    ResultRows parents{{"Team"}, {}}, children{{"Team", "N"}, {}};
    int n = 0;
    for (int t = 1; t <= riders.size(); ++t) {
        parents.rows.push_back({QStringLiteral("T%1").arg(t)});
        for (int r = 0; r < riders[t - 1]; ++r)
            children.rows.push_back({QStringLiteral("T%1").arg(t), ++n});
    }
    return Shaping::relate(ShapedRows::flat(parents), ShapedRows::flat(children), "Team", "Team");
}

Document layOut(const Layout &l, const ShapedRows &rows)
{
    return Report::paginate(l, rows, FixedMeasurer());
}

QStringList texts(const Page &page, QStringView control)
{
    QStringList out;
    for (const auto *p : page.byName(control))
        out << p->text;
    return out;
}

int topOf(const Page &page, QStringView control, const QString &text)
{
    for (const auto *p : page.byName(control))
        if (p->text == text)
            return p->rect.top();
    return -1;
}

} // namespace

class TstReportPagination : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void details_fillPagesExactly_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("onLastPage");
        QTest::newRow("none") << 0 << 1 << 0;
        QTest::newRow("exactly one page") << 34 << 1 << 34;
        QTest::newRow("one over") << 35 << 2 << 1;
        QTest::newRow("exactly two pages") << 68 << 2 << 34;
    }
    void details_fillPagesExactly()
    {
        QFETCH(int, rows);
        QFETCH(int, pages);
        QFETCH(int, onLastPage);
        const Document doc = layOut(plainLayout(), numbers(rows));

        QCOMPARE(int(doc.pages.size()), pages);
        QCOMPARE(int(texts(doc.pages.back(), u"txtN").size()), onLastPage);
        int printed = 0;
        for (const Page &page : doc.pages) {
            // Header and footer on every page, the footer at the foot, the count exact.
            QCOMPARE(texts(page, u"LblHead"), QStringList{"Rider List"});
            QCOMPARE(texts(page, u"LblPage"),
                     QStringList{QStringLiteral("Page %1 of %2").arg(page.number).arg(pages)});
            QCOMPARE(page.byName(u"LblPage").front()->rect.top(), FooterTop);
            for (const auto *p : page.byName(u"txtN")) {
                QCOMPARE(p->text, QString::number(++printed));
                QVERIFY(p->rect.top() >= 720 + Line && p->rect.top() + Line <= FooterTop);
            }
        }
        QCOMPARE(printed, rows);
    }

    void groupHeader_staysWithItsFirstLine_data()
    {
        QTest::addColumn<QVector<int>>("riders");
        QTest::addColumn<QString>("team");
        QTest::addColumn<int>("page");
        // Team 1 takes 1 + n lines of the 34; team 2's header follows it.
        QTest::newRow("header and first line fit") << QVector<int>{31, 3} << "T2" << 1;
        QTest::newRow("only the header fits") << QVector<int>{32, 3} << "T2" << 2;
        QTest::newRow("page full") << QVector<int>{33, 3} << "T2" << 2;
        QTest::newRow("a team without riders may end a page") << QVector<int>{32, 0, 1} << "T2" << 1;
        QTest::newRow("the team after it moves") << QVector<int>{32, 0, 1} << "T3" << 2;
    }
    void groupHeader_staysWithItsFirstLine()
    {
        QFETCH(QVector<int>, riders);
        QFETCH(QString, team);
        QFETCH(int, page);
        const Document doc = layOut(groupedLayout(), teams(riders));
        int found = 0;
        for (const Page &p : doc.pages)
            if (texts(p, u"txtTeam").contains(team))
                found = p.number;
        QCOMPARE(found, page);
        // No page ends with a header whose first line is on the next one.
        for (const Page &p : doc.pages) {
            const auto &last = p.items[p.items.size() - 2]; // before the page footer
            if (last.name == u"txtTeam")
                QVERIFY(riders[last.text.mid(1).toInt() - 1] == 0);
        }
    }

    // teams: riders per team; pages: the team headers each page prints, a page a string.
    void repeatingHeader_opensEveryPageItsGroupRunsOnto_data()
    {
        QTest::addColumn<QVector<int>>("riders");
        QTest::addColumn<bool>("repeats");
        QTest::addColumn<QStringList>("pages");
        QTest::newRow("a team over two pages") << QVector<int>{40, 3} << true << QStringList{"T1", "T1 T2"};
        QTest::newRow("only its footer on the next page")
            << QVector<int>{33} << true << QStringList{"T1", "T1"};
        QTest::newRow("without repeating") << QVector<int>{40, 3} << false << QStringList{"T1", "T2"};
    }
    void repeatingHeader_opensEveryPageItsGroupRunsOnto()
    {
        QFETCH(QVector<int>, riders);
        QFETCH(bool, repeats);
        QFETCH(QStringList, pages);
        Layout l = groupedLayout();
        l.groups[0].header.repeatOnEachPage = repeats;
        l.groups[0].footer.height = Line;
        l.groups[0].footer.label("LblEnd", "end", {0, 0, 1000, 300});
        const Document doc = layOut(l, teams(riders));
        QStringList got;
        for (const Page &page : doc.pages) {
            got << texts(page, u"txtTeam").join(u' ');
            if (repeats) { // below the page header, before the lines it heads
                QCOMPARE(page.items[1].name, "txtTeam");
                QCOMPARE(page.items[1].rect.top(), 720 + Line);
            }
        }
        QCOMPARE(got, pages);
    }

    void nestedHeaders_moveTogether()
    {
        Layout l = groupedLayout();
        Report::Group &rider = l.addGroup("RiderHeader", "RiderFooter");
        rider.header.height = Line;
        rider.header.field("txtRider", "Rider", {0, 0, 3000, 300});
        l.detail.items.front().column = "Class";

        // Team 1 fills 32 of the 34 lines; team 2's header and its rider's header would fit
        // together only without the rider's first class.
        ResultRows placings{{"Team", "Rider", "Class"}, {}};
        for (int c = 1; c <= 30; ++c)
            placings.rows.push_back({"T1", "R1", c});
        placings.rows.push_back({"T2", "R2", 1});
        ShapedRows meet = Shaping::groupBy(ShapedRows::flat(placings), {"Team", "Rider"}, "Riders");
        meet = Shaping::groupBy(meet, {"Team"}, "Teams");

        const Document doc = layOut(l, meet);
        QCOMPARE(int(doc.pages.size()), 2);
        QCOMPARE(texts(doc.pages[1], u"txtTeam"), QStringList{"T2"});
        QCOMPARE(texts(doc.pages[1], u"txtRider"), QStringList{"R2"});
        QCOMPARE(topOf(doc.pages[1], u"txtTeam", "T2"), 720 + Line);
    }

    void reportHeaderAndFooter_firstAndLastPage()
    {
        Layout l = plainLayout();
        l.reportHeader.height = 800;
        l.reportHeader.label("LblRptTitle", "Complete Rider's List", {0, 0, 5000, 400});
        l.reportFooter.height = Line;
        l.reportFooter.label("lblTotalEntries", "Total Entries:", {0, 0, 2000, 300});

        // Page 1 holds 32 lines below the title, so the report footer opens page 2.
        const Document doc = layOut(l, numbers(32));
        QCOMPARE(topOf(doc.pages[0], u"LblRptTitle", "Complete Rider's List"), 720);
        QCOMPARE(topOf(doc.pages[0], u"LblHead", "Rider List"), 720 + 800);
        QCOMPARE(doc.pages[1].texts(), QStringList({"Rider List", "Total Entries:", "Page 2 of 2"}));

        QCOMPARE(int(layOut(l, numbers(31)).pages.size()), 1);
    }

    void growingField_pushesWhatIsBelowIt()
    {
        Layout l = plainLayout();
        l.detail.height = 300;
        l.detail.items.front().rect = {0, 0, 2000, 200}; // 25 characters a line of 192 twips
        l.detail.items.front().canGrow = true;
        l.detail.line("LnRule", {0, 250, 2000, 0});
        l.detail.field("txtBeside", "N", {2500, 0, 500, 200});
        l.detail.rectangle("ShpFrame", {0, 0, 3000, 300});   // around it: stretches
        l.detail.rectangle("ShpAbove", {2500, 0, 500, 150}); // ends above its foot: stays

        ResultRows rows{{"N"}, {{QString(60, u'x')}, {"short"}}};
        const Document doc = layOut(l, ShapedRows::flat(rows));
        const Page &page = doc.pages.front();
        const auto grown = page.byName(u"txtN");
        QCOMPARE(grown[0]->rect.height(), 3 * 192);
        QVERIFY(grown[0]->wrap);
        QCOMPARE(page.byName(u"LnRule")[0]->rect.top(), 1120 + 250 + (3 * 192 - 200));
        QCOMPARE(page.byName(u"txtBeside")[0]->rect.top(), 1120); // beside, not below
        QCOMPARE(grown[1]->rect.top(), 1120 + 300 + (3 * 192 - 200));
        QCOMPARE(grown[1]->rect.height(), 200);
        QCOMPARE(page.byName(u"ShpFrame")[0]->rect.height(), 300 + (3 * 192 - 200));
        QCOMPARE(page.byName(u"ShpFrame")[1]->rect.height(), 300);
        QCOMPARE(page.byName(u"ShpAbove")[0]->rect.height(), 150);
    }

    void pageBreakBefore_startsEachTeamOnANewPage()
    {
        Layout l = groupedLayout();
        l.groups[0].header.pageBreakBefore = true;
        const Document doc = layOut(l, teams({2, 1, 3}));
        QCOMPARE(int(doc.pages.size()), 3); // no empty first page
        QCOMPARE(texts(doc.pages[2], u"txtTeam"), QStringList{"T3"});
        QCOMPARE(texts(doc.pages[2], u"txtN"), QStringList({"4", "5", "6"}));
    }

    void rows_oneForEachDetailLineAndEachTeamWithoutOne()
    {
        const Report::Table table = layOut(groupedLayout(), teams({2, 0, 1})).table;
        QCOMPARE(table.columns, QStringList({"Team", "N"}));
        QCOMPARE(table.rows, QVector<QStringList>({{"T1", "1"}, {"T1", "2"}, {"T2", ""}, {"T3", "3"}}));
    }

    void rows_headedByThePrintedColumnHeadings()
    {
        Layout l;
        // A title stands alone on its line: it heads nothing.
        l.pageHeader.height = 800;
        l.pageHeader.label("LblTitle", "Riders", {1500, 0, 6000, 300});
        const std::pair<const char *, int> headings[] = {
            {"Rider #:", 0}, {"Name:", 1400}, {"Name:", 4000}, {"Farther", 7000}};
        for (const auto &[caption, left] : headings)
            l.pageHeader.label("LblHeading", caption, {left, 400, 1000, 300});
        // "Team:" is the caption of the field on its line, no column heading.
        Report::Section &team = l.addGroup("TeamHeader", "TeamFooter").header;
        team.height = Line;
        team.label("LblTeam", "Team:", {0, 0, 700, 300});
        team.field("txtTeam", "Team", {800, 0, 3000, 300});
        l.detail.height = Line;
        l.detail.field("txtNumber", "Number", {200, 0, 1000, 300}); // within reach of "Rider #:"
        l.detail.field("txtName", "Name", {1400, 0, 100, 300});
        l.detail.field("txtFirst", "First", {1500, 0, 100, 300});   // "Name:" heads one field only
        l.detail.field("txtOther", "Other", {4000, 0, 1000, 300});  // the second "Name"
        l.detail.field("txtFar", "TblX.Far", {7300, 0, 1000, 300}); // out of reach
        l.detail.field("txtOwn", "Own", {9000, 0, 1000, 300}).heading = "Own heading";

        QCOMPARE(layOut(l, teams({})).table.columns,
                 QStringList({"Team", "Rider #", "Name", "First", "Name 2", "Far", "Own heading"}));
    }

    void pack_partsStartOnNewPagesNumberedThrough()
    {
        Layout landscape; // without a page footer of its own
        landscape.orientation = QPageLayout::Landscape;
        landscape.title = "Landscape";
        landscape.detail.height = Line;
        landscape.detail.field("txtN", "N", {0, 0, 2000, 300});
        Layout plain = plainLayout();
        plain.title = "Plain";

        Report::Pack pack("Pack", "Pack B");
        pack.add(plain, numbers(40), FixedMeasurer()); // two pages
        pack.add(landscape, numbers(3), FixedMeasurer());
        pack.add(plain, numbers(1), FixedMeasurer());
        const Document doc = pack.document();

        QCOMPARE(int(doc.pages.size()), 4);
        QVector<int> starts;
        for (const auto &part : doc.parts)
            starts << part.firstPage;
        QCOMPARE(starts, QVector<int>({0, 2, 3}));
        QStringList numbers;
        for (const Page &page : doc.pages) {
            numbers << texts(page, u"LblPage") << texts(page, u"LblPackPage");
            QCOMPARE(page.orientation, page.number == 3 ? QPageLayout::Landscape : QPageLayout::Portrait);
        }
        QCOMPARE(numbers, QStringList({"Page 1 of 4", "Page 2 of 4", "Page 3 of 4", "Page 4 of 4"}));
        QCOMPARE(doc.pages[2].size, QSize(15840, 12240));

        QCOMPARE(doc.table.columns, QStringList({"Report", "N"}));
        QCOMPARE(doc.table.rows.size(), 44);
        QCOMPARE(doc.table.rows[40], QStringList({"Landscape", "1"}));
    }
};

QTEST_GUILESS_MAIN(TstReportPagination)
#include "tst_reportpagination.moc"
