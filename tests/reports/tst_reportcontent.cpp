// What the sections print: fields from every level, counts and sums over groups and the report,
// field values as they are, and picture boxes with and without their files.
#include "fixedmeasurer.h"

#include "reports/paginator.h"

#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

using Report::Document;
using Report::Layout;
using Report::Page;

namespace {

Document layOut(const Layout &l, const ShapedRows &rows)
{
    return Report::paginate(l, rows, FixedMeasurer());
}

// Teams, their riders and the riders' placings, related as the rider results read them.
ShapedRows meet()
{
    const auto flat = [](QStringList columns, QVector<QVector<QVariant>> rows) {
        return ShapedRows::flat(ResultRows{std::move(columns), std::move(rows)});
    };
    const ShapedRows teams = flat({"TeamCode", "TeamName"}, {{1, "Blue"}, {2, "Red"}, {3, "Gold"}});
    const ShapedRows riders =
        flat({"RiderIndex", "TeamCode", "RiderNumber", "Rider"},
             {{10, 1, "7", "Ann Lee"}, {11, 1, QVariant(), "Bo Kay"}, {12, 2, "9", "Cy Ray"}});
    const ShapedRows placings =
        flat({"RiderIndex", "TblPlacing.ClassNumber", "TblClass.ClassNumber", "Points"},
             {{10, 3, 3, 10.0}, {10, 3, 3, 8.0}, {12, 5, 5, 9.5}, {12, 6, 6, QVariant()}});
    return Shaping::relate(teams, Shaping::relate(riders, placings, "RiderIndex", "RiderIndex"), "TeamCode",
                           "TeamCode");
}

Layout resultsLayout()
{
    Layout l;
    Report::Group &team = l.addGroup("RptTeam_Header", "RptTeam_Footer");
    team.header.height = 300;
    team.header.field("txtTeamName", "TeamName", {0, 0, 3000, 285});
    team.footer.height = 300;
    team.footer.sum("FncTeamPoints", "Points", {0, 0, 1000, 285});
    team.footer.count("FncTeamRiders", "RiderNumber", {1000, 0, 1000, 285});
    team.footer.count("FncTeamPlacings", "Points", {2000, 0, 1000, 285});
    Report::Group &rider = l.addGroup("RptRider_Header", "RptRider_Footer");
    rider.header.height = 300;
    rider.header.field("txtFirstName", "Rider", {0, 0, 3000, 285});
    rider.footer.height = 300;
    rider.footer.sum("FncRiderPoints", "Points", {0, 0, 1000, 285});
    l.detail.height = 300;
    l.detail.field("txtTblPlacingClassNumber", "TblPlacing.ClassNumber", {0, 0, 500, 285});
    l.detail.field("txtTeamOfLine", "TeamName", {500, 0, 2000, 285}); // from the team's level
    l.detail.sum("FncLinePoints", "Points", {2500, 0, 500, 285});
    l.reportFooter.height = 300;
    l.reportFooter.sum("FncAllPoints", "Points", {0, 0, 1000, 285});
    l.reportFooter.count("FncAllRiders", "RiderNumber", {1000, 0, 1000, 285});
    return l;
}

} // namespace

class TstReportContent : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sumsCountsAndFields_readTheirGroupOrTheLevelsAbove()
    {
        const Document doc = layOut(resultsLayout(), meet());

        // Team sums reach the placings through the riders; a team without riders has 0.
        QCOMPARE(doc.printedBy(u"FncTeamPoints"), QStringList({"18", "9.5", "0"}));
        // Counts count the values there are: a rider without a number is not counted,
        // a placing without points neither.
        QCOMPARE(doc.printedBy(u"FncTeamRiders"), QStringList({"1", "1", "0"}));
        QCOMPARE(doc.printedBy(u"FncTeamPlacings"), QStringList({"2", "1", "0"}));
        // A rider without placings sums to 0.
        QCOMPARE(doc.printedBy(u"FncRiderPoints"), QStringList({"18", "0", "9.5"}));
        QCOMPARE(doc.printedBy(u"FncLinePoints"), QStringList({"10", "8", "9.5", "0"}));
        QCOMPARE(doc.printedBy(u"FncAllPoints"), QStringList{"27.5"});
        QCOMPARE(doc.printedBy(u"FncAllRiders"), QStringList{"2"});

        // Fields read their level, then the levels above.
        QCOMPARE(doc.printedBy(u"txtTeamName"), QStringList({"Blue", "Red", "Gold"}));
        QCOMPARE(doc.printedBy(u"txtFirstName"), QStringList({"Ann Lee", "Bo Kay", "Cy Ray"}));
        QCOMPARE(doc.printedBy(u"txtTblPlacingClassNumber"), QStringList({"3", "3", "5", "6"}));
        QCOMPARE(doc.printedBy(u"txtTeamOfLine"), QStringList({"Blue", "Blue", "Red", "Red"}));
        // In the order they print: team, rider, lines, rider footer ..., team footer.
        QCOMPARE(doc.pages[0].texts().mid(0, 6), QStringList({"Blue", "Ann Lee", "3", "Blue", "10", "3"}));
    }

    // Captions and visibility set at run time are read through the class sheets; here what they
    // cannot name is refused.
    void fieldValues_printAsTheyAre_unknownControlsAreRefused()
    {
        Layout l;
        l.detail = Report::Section("Section1");
        l.detail.height = 300;
        l.detail.field("Text1", "RiderNumber", {0, 0, 1000, 285});
        // A field's value is printed as it is, even where it looks like a page number.
        const Document doc = layOut(l, ShapedRows::flat(ResultRows{{"RiderNumber"}, {{"12"}, {"100%p"}}}));
        QCOMPARE(doc.pages[0].texts(), QStringList({"12", "100%p"}));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, l.setCaption(u"Section1", u"LblNone", "x"));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, l.setVisible(u"Section9", u"Text1", true));
    }

    void pictures_loadedWithoutRegardToCase_orTheFallbackText()
    {
        QTemporaryDir dir;
        QImage label(25, 105, QImage::Format_RGB32);
        label.fill(Qt::white);
        QVERIFY(label.save(dir.filePath("reportFlagRace.bmp"), "BMP"));
        QFile notAPicture(dir.filePath("reportBarrels.bmp"));
        QVERIFY(notAPicture.open(QIODevice::WriteOnly));
        notAPicture.write("not a bitmap");
        notAPicture.close();

        Layout l;
        l.pageHeader.height = 1600;
        for (int c : {14, 15, 16})
            l.pageHeader.image(QStringLiteral("Class%1").arg(c), {c * 400, 0, 375, 1575});
        QVERIFY(l.setPicture(u"PageHeader", u"Class14", dir.filePath("ReportFLAGRACE.BMP"), "14"));
        QVERIFY(!l.setPicture(u"PageHeader", u"Class15", dir.filePath("ReportPoles.bmp"), "15"));
        QVERIFY(!l.setPicture(u"PageHeader", u"Class16", dir.filePath("reportBarrels.bmp"), "16"));

        const Page page = layOut(l, ShapedRows()).pages.front();
        const auto *flagRace = page.byName(u"Class14").front();
        QCOMPARE(flagRace->kind, Report::Primitive::Kind::Image);
        QCOMPARE(flagRace->image.size(), QSize(25, 105));
        for (const char *c : {"15", "16"}) {
            const auto *fallback = page.byName(QStringLiteral("Class%1").arg(QLatin1StringView(c))).front();
            QCOMPARE(fallback->kind, Report::Primitive::Kind::Text);
            QCOMPARE(fallback->text, QString::fromLatin1(c));
        }
    }
};

QTEST_GUILESS_MAIN(TstReportContent)
#include "tst_reportcontent.moc"
