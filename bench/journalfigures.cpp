// The journal of every save: what it adds to the booth's two most frequent saves (the same saves
// on a copy of the meet without the journal beside them), the History window opened on 10,000
// lines, and how much the meet file grows in a day of saves.
#include "benchkit.h"
#include "meetfixture.h"
#include "scriptedmessages.h"

#include "app/frmhistory.h"
#include "db/dbconnection.h"
#include "db/journal.h"
#include "db/sql.h"
#include "db/writetransaction.h"
#include "entries/entrysheet.h"
#include "judging/placingcard.h"
#include "registration/riderregistry.h"
#include "shell/appstate.h"
#include "shell/gridmarks.h"
#include "testengine.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTreeWidget>

#include <optional>

namespace Bench {
namespace {

const QString Division = QStringLiteral("A");
constexpr int Class = 1;

// Both cards of the class, filled from its lines in turn: each save replaces what the last wrote.
struct Placings
{
    PlacingCard card;
    PlacingCard::Card cards[2]{};

    explicit Placings(const QSqlDatabase &db) : card(db, Division, Class)
    {
        card.load();
        const int lines = int(card.riders().size());
        for (int v = 0; v < 2; ++v)
            for (int c = 0; c < PlacingCard::Columns; ++c)
                for (int i = 0; i < PlacingCard::Places; ++i)
                    cards[v][c][i] = (i + c + v * 3) % lines + 1;
    }
    // Each save from a card just read, as each opens the form afresh.
    void read() { card.load(); }
    void save(int turn) { card.save(cards[turn % 2]); }
};

// The first team's entries, ticked alternately as stored and with one class more or less.
struct Entries
{
    QSqlDatabase db;
    std::int32_t team;
    std::optional<EntrySheet> sheet;
    GridMarks ticks[2];

    Entries(const QSqlDatabase &meet, std::int32_t code) : db(meet), team(code)
    {
        read();
        for (GridMarks &t : ticks) {
            t = GridMarks(int(sheet->riders().size()));
            for (const EntrySheet::Cell &c : sheet->storedEntries())
                t.set(c.row, c.cls, true);
        }
        ticks[1].set(1, 1, !ticks[1].ticked(1, 1));
    }
    // Each save from the team's grid just read.
    void read() { sheet.emplace(db, team); }
    bool save(int turn) { return !sheet->submit(ticks[turn % 2], sheet->storedPartners()); }
};

} // namespace

bool journalFigures(const Context &context)
{
    constexpr int Runs = 7;
    const QString journaled = context.copyOfLarge(QStringLiteral("journal"));
    const QString plain = context.copyOfLarge(QStringLiteral("journal-none"));
    DbConnection with;
    with.open(journaled, DbConnection::Mode::ReadWrite);
    DbConnection without;
    without.open(plain, DbConnection::Mode::ReadWrite);
    Sql::exec(without.database(), QStringLiteral("bench"), QStringLiteral("DROP TABLE TblJournal"));
    if (Journal::checkPresent(without.database()))
        return false;
    const auto firstTeam = [](const QSqlDatabase &db) {
        return std::int32_t(Sql::scalar(db, QStringLiteral("bench"),
                                        QStringLiteral("SELECT min(TeamCode) FROM TblTeam WHERE Division = 'A'"))
                                .toLongLong());
    };

    bool saved = true;
    for (const auto &[name, meet] : {std::pair{"journal_placings_save", &with},
                                     std::pair{"journal_placings_save_without", &without}}) {
        Placings placings(meet->database());
        int turn = 0;
        report(name, 2 * PlacingCard::Places,
               medianMs(Runs, [&] { placings.read(); }, [&] { placings.save(++turn); }));
    }
    for (const auto &[name, meet] : {std::pair{"journal_entries_save", &with},
                                     std::pair{"journal_entries_save_without", &without}}) {
        Entries entries(meet->database(), firstTeam(meet->database()));
        int turn = 0;
        report(name, int(entries.sheet->riders().size()),
               medianMs(Runs, [&] { entries.read(); }, [&] { saved = entries.save(++turn) && saved; }));
    }

    // A day of saves on the meet file: placings, entries and a rider's record in turn, the growth
    // of the file told for 5,000 of them.
    if (!TestEngine::onServer()) {
        constexpr int Saves = 300;
        const qint64 before = QFileInfo(journaled).size();
        Placings placings(with.database());
        Entries entries(with.database(), firstTeam(with.database()));
        const RiderRegistry riders(with.database());
        std::optional<RiderRecord> rider = riders.find(1);
        for (int s = 0; s < Saves && rider; ++s)
            if (s % 3 == 0) {
                placings.read();
                placings.save(s);
            } else if (s % 3 == 1) {
                entries.read();
                saved = entries.save(s) && saved;
            } else {
                rider->address = QStringLiteral("%1 Mill Road").arg(s);
                saved = riders.save(*rider) == RiderRegistry::SaveOutcome::Saved && saved;
            }
        reportValue("journal_day_growth", "mb_per_5000_saves",
                    double(QFileInfo(journaled).size() - before) / Saves * 5000 / (1024.0 * 1024.0));
    }

    // The History window on 10,000 lines of a busy day: each the size of a placings save's.
    {
        QVector<Journal::Scope> scopes;
        Journal::Scope s{QStringLiteral("TblPlacing"), QStringLiteral("ClassNumber = ? AND Division = ?"),
                         {Class, Division}, {}, {}};
        for (int p = 0; p < 2 * PlacingCard::Places; ++p) {
            s.before.push_back({Class, p % 10 + 1, 100 + p, 10.0 - p % 10, Division, 1 + p / 10});
            s.after.push_back({Class, p % 10 + 1, 200 + p, 10.0 - p % 10, Division, 1 + p / 10});
        }
        scopes << s;
        const QByteArray rows = Journal::pack(scopes);
        const QSqlDatabase db = with.database();
        WriteTransaction::run(db, QStringLiteral("bench"), [&] {
            Sql::Inserter lines(db, QStringLiteral("bench"), QStringLiteral("TblJournal"),
                                {QStringLiteral("SavedAt"), QStringLiteral("Station"), QStringLiteral("Kind"),
                                 QStringLiteral("What"), QStringLiteral("TableNames"), QStringLiteral("RowData")});
            const QDateTime start(QDate(2026, 12, 7), QTime(7, 0), Qt::UTC);
            for (int i = 0; i < 10000; ++i)
                lines.add({start.addSecs(i * 3).toString(Qt::ISODateWithMs),
                           QStringLiteral("Entry Booth %1").arg(i % 3 + 1), QStringLiteral("Placings"),
                           QStringLiteral("Placings of class %1, division A").arg(i % 17 + 1),
                           QStringLiteral("TblPlacing"), rows});
            lines.finish();
        });
    }
    AppState app;
    app.ScreenWidth = 12000;
    app.ScreenHeight = 9000;
    app.AppFolder = context.largeFolder;
    app.messages = &context.messages;
    app.meetConnection.open(journaled, DbConnection::Mode::ReadWrite);
    QWidget menu;
    FrmHistory *history = nullptr;
    int shown = 0;
    report("history_open", 10000, medianMs(
                                      Runs, [&] { delete history; },
                                      [&] {
                                          history = FrmHistory::open(app, &menu);
                                          QCoreApplication::processEvents();
                                          shown = history->findChild<QTreeWidget *>(QStringLiteral("LvLines"))
                                                      ->topLevelItemCount();
                                      }));
    delete history;
    return saved && shown > 10000;
}

} // namespace Bench
