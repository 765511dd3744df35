// The entry grid of a big team of the large meet (sixty riders a thousand of the meet): opened
// with its stored entries (offscreen) and saved as it stands.
#include "benchkit.h"
#include "meetfixture.h"
#include "scriptedmessages.h"

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
    // The large meet numbers its riders from 1: the team's riders take -99 to 0, the rest none.
    const int riders = context.scaled(60);
    const std::int32_t team =
        MeetBuilder(app.MeetDb()).addEnteredTeam(QStringLiteral("Big"), QStringLiteral("B"), riders, -99, 0);

    QWidget owner;
    frmClassAssignments *grid = nullptr;
    bool opened = true;
    report("entries_grid_open", riders,
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
    // The classes' limits hold a team to some sixty entries, however many riders it has.
    return opened && entries > 60 && !failure;
}

} // namespace Bench
