#include "app/printpack.h"

#include "db/classtable.h"
#include "db/writetransaction.h"
#include "entries/classsheetreports.h"
#include "entries/slotsheetreports.h"
#include "judging/judgescards.h"
#include "judging/placingsreports.h"
#include "reports/reportpack.h"

namespace PrintPack {
namespace {

QString packTitle(const QString &caption, const QString &division)
{
    return caption + QStringLiteral(" - Division ") + division;
}

} // namespace

Report::Document classSheets(const QSqlDatabase &db, const QString &division,
                             const std::map<int, int> &splits, RunningOrder::Order order)
{
    const ReadTransaction oneState(db, QStringLiteral("Reading the class sheets"));
    const RunningOrder running(db, division);
    const std::map<int, int> entered = running.entriesByClass();
    Report::Pack pack(QStringLiteral("Class Sheets"), packTitle(QStringLiteral("Class Sheets"), division));
    for (const StoredClass &cls : ClassTable::read(db)) {
        if (!entered.count(cls.number))
            continue;
        const auto chosen = splits.find(cls.number);
        const int n = chosen == splits.end() ? 1 : chosen->second;
        const std::vector<MemoryTable> tables = running.Build_Splits(cls.number, n, order);
        for (int s = 0; s < int(tables.size()); ++s)
            pack.add(ClassSheetReports::sheet(cls.number, division, ClassTable::line(cls), s + 1, n),
                     tables[std::size_t(s)].shaped());
    }
    return pack.document();
}

Report::Document placings(const QSqlDatabase &db, const QString &division)
{
    const ReadTransaction oneState(db, QStringLiteral("Reading the class placings"));
    Report::Pack pack(QStringLiteral("Class Placings"),
                      packTitle(QStringLiteral("Class Placings"), division));
    for (const StoredClass &cls : ClassTable::read(db)) {
        const ShapedRows judges = PlacingsReports::placingsQuery(cls.number, division).run(db);
        if (!judges.isEmpty())
            pack.add(PlacingsReports::placingsLayout(cls.number, cls.name, division), judges);
    }
    return pack.document();
}

Report::Document cardsAndSlotSheets(const QSqlDatabase &db, const QString &division, const QString &appFolder)
{
    const ReadTransaction oneState(db, QStringLiteral("Reading the judges' cards and slot sheets"));
    Report::Pack pack(QStringLiteral("Judges Cards and Slot Sheets"),
                      packTitle(QStringLiteral("Judges Cards and Slot Sheets"), division));
    const MemoryTable cards = JudgesCards::Build_Cards(db, division);
    if (!cards.isEmpty())
        pack.add(JudgesCards::RptJudgesCards(division), cards.shaped());
    const ShapedRows teams = SlotSheetReports::allQuery(division).run(db);
    if (!teams.isEmpty()) {
        Report::Layout sheets = SlotSheetReports::RptSlotSheets();
        SlotSheetReports::putImages(sheets, db, appFolder);
        pack.add(sheets, teams);
    }
    return pack.document();
}

} // namespace PrintPack
