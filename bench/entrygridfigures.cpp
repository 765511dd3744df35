// The entry grid of a team of sixty riders in the large meet: opened with its stored entries
// (offscreen) and saved as it stands.
#include "benchkit.h"
#include "meetfixture.h"
#include "scriptedmessages.h"

#include "db/sql.h"
#include "entries/entrysheet.h"
#include "entries/frmclassassignments.h"
#include "shell/appstate.h"
#include "shell/gridmarks.h"

#include <QSet>

namespace Bench {

bool entryGridFigures(const Context &context)
{
    constexpr int Runs = 7;
    const QString meet = context.copyOfLarge(QStringLiteral("entry-grid"));

    AppState app;
    app.ScreenWidth = 12000;
    app.ScreenHeight = 9000;
    app.AppFolder = context.largeFolder; // the label images
    app.messages = &context.messages;
    app.meetConnection.open(meet, DbConnection::Mode::ReadWrite);
    // Sixty numbers in a row that no rider holds yet (the figures before renumber the meet).
    QSet<int> taken;
    for (const auto &row : Sql::select(app.MeetDb(), QStringLiteral("numbers"),
                                       QStringLiteral("SELECT RiderNumber FROM TblPerson"))
                               .rows)
        taken << row[0].toInt();
    int first = -99;
    for (int n = first; n <= 999 && n - first < 60; ++n)
        if (taken.contains(n))
            first = n + 1;
    const std::int32_t team =
        MeetBuilder(app.MeetDb()).addEnteredTeam(QStringLiteral("Sixty"), QStringLiteral("B"), 60, first);

    QWidget owner;
    frmClassAssignments *grid = nullptr;
    bool opened = true;
    report("entries_grid_open", 60,
           medianMs(
               Runs, [&] { delete grid; },
               [&] {
                   grid = new frmClassAssignments(app, &owner, {&owner}, nullptr);
                   opened = grid->InitializeForm(team) && opened;
                   grid->show();
               }));
    const int entries = grid->marks().total();
    delete grid;

    const EntrySheet sheet(app.MeetDb(), team);
    GridMarks ticks(int(sheet.riders().size()));
    for (const EntrySheet::Cell &c : sheet.storedEntries())
        ticks.set(c.row, c.cls, true);
    std::optional<EntrySheet::Refusal> failure;
    report("entries_save", entries,
           medianMs(Runs, {}, [&] { failure = sheet.submit(ticks, sheet.storedPartners()); }));
    return opened && entries > 60 && !failure;
}

} // namespace Bench
