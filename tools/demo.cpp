// The steps of scripts/screenshots.sh that the program itself does not offer:
//
//   trotwise-demo meet FOLDER                        a demo meet and its label images in FOLDER
//   trotwise-demo slotsheets FOLDER DIVISION FILE    that meet's slot sheets of the division, as PDF
//   trotwise-demo grab FILE                          the whole screen as a PNG picture
#include "meetfixture.h"

#include "db/dbconnection.h"
#include "db/sql.h"
#include "entries/slotsheetreports.h"
#include "reports/korvconnection.h"
#include "reports/paginator.h"
#include "reports/reportpdf.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

namespace {

const QStringList TeamNames{
    QStringLiteral("Cedar Ridge Riders"),      QStringLiteral("Willow Creek Pony Club"),
    QStringLiteral("Blue Hills Horsemen"),     QStringLiteral("Maple Valley Saddle Club"),
    QStringLiteral("Stony Brook Equestrians"), QStringLiteral("Prairie Wind Riders"),
    QStringLiteral("Silver Spur Youth Team"),  QStringLiteral("Oak Hollow Hunt Club")};
const QStringList JudgeNames{QStringLiteral("Margaret Hollis"), QStringLiteral("Thomas Reed"),
                             QStringLiteral("Evelyn Brandt"),   QStringLiteral("Samuel Ortiz"),
                             QStringLiteral("Ruth Calloway"),   QStringLiteral("Henry Walsh"),
                             QStringLiteral("Alice Moreau"),    QStringLiteral("David Lindqvist")};

// The fixture's large meet at the size of a real one, under real-looking names.
void buildMeet(const QString &folder)
{
    const QString path = MeetFixture::createMeet(folder, true);
    DbConnection connection;
    connection.open(path, DbConnection::Mode::ReadWrite);
    const QSqlDatabase db = connection.database();
    MeetBuilder(db).buildLargeMeet({int(TeamNames.size()), 10, 1, int(JudgeNames.size()), true});
    const auto rename = [&](const QString &table, const QString &key, const QString &set,
                            const QVariantList &values) {
        Sql::exec(
            db, QStringLiteral("Naming the demo meet"),
            QStringLiteral("UPDATE %1 SET %2 WHERE %3 = (SELECT %3 FROM %1 ORDER BY %3 LIMIT 1 OFFSET ?)")
                .arg(table, set, key),
            values);
    };
    for (int t = 0; t < TeamNames.size(); ++t)
        rename(QStringLiteral("TblTeam"), QStringLiteral("TeamCode"), QStringLiteral("TeamName = ?"),
               {TeamNames[t], t});
    for (int j = 0; j < JudgeNames.size(); ++j) {
        const QStringList name = JudgeNames[j].split(u' ');
        rename(QStringLiteral("TblJudge"), QStringLiteral("JudgeID"),
               QStringLiteral("FirstName = ?, LastName = ?"), {name[0], name[1], j});
    }
}

void writeSlotSheets(const QString &folder, const QString &division, const QString &file)
{
    const QString path = QDir(folder).filePath(QStringLiteral("KORVState2006.mdb"));
    KORVConnection korv;
    korv.setDataSource(path);
    const ShapeQuery query = SlotSheetReports::allQuery(division);
    korv.setCommand(query);
    korv.open(query.name());
    Report::Layout rpt = SlotSheetReports::RptSlotSheets();
    SlotSheetReports::putImages(rpt, korv.database(), folder);
    if (const auto error = Report::writePdf(Report::paginate(rpt, korv.rows(query.name())), file))
        throw std::runtime_error(error->toStdString());
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    const QStringList args = application.arguments().mid(1);
    const QString step = args.value(0);
    try {
        if (step == u"meet" && args.size() == 2) {
            buildMeet(args[1]);
            return 0;
        }
        if (step == u"slotsheets" && args.size() == 4) {
            writeSlotSheets(args[1], args[2], args[3]);
            return 0;
        }
        if (step == u"grab" && args.size() == 2) {
            QScreen *screen = QGuiApplication::primaryScreen();
            return screen && screen->grabWindow(0).save(args[1], "PNG") ? 0 : 1;
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "trotwise-demo %s: %s\n", qPrintable(step), e.what());
        return 1;
    }
    std::fprintf(stderr, "usage: trotwise-demo meet FOLDER | slotsheets FOLDER DIVISION FILE | grab FILE\n");
    return 2;
}
