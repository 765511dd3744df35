// Another station on the same meet, for the tests of several stations at once: a program of its
// own, driven line by line on its standard input and answering on its standard output.
//
//   station LOCATION placings CLASS DIVISION FIRST  reads the class's cards; on "go" places the
//                                                  riders from line FIRST on, under both judges
//   station LOCATION entries TEAM CLASS             reads the team's entries; on "go" enters every
//                                                  rider of the team in CLASS and in nothing else
//   station LOCATION judges DIVISION CLASS FIRST    reads the division's judge assignments; on "go"
//                                                  gives CLASS the judges of rows FIRST and FIRST + 1
//   station LOCATION number TEAM                    on "go" gives each rider of the team the lowest
//                                                  number no rider holds, one rider at a time
//
// It says "ready" once it has read what it saves, and after each "go" (or "again", which saves
// once more what it read at first) "saved" or "told: " and the message the user would read.
#include "db/dbconnection.h"
#include "db/dberror.h"
#include "db/journal.h"
#include "db/sql.h"
#include "entries/entrysheet.h"
#include "judging/judgeassignments.h"
#include "judging/placingcard.h"
#include "registration/numberassigner.h"
#include "shell/gridmarks.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <functional>

namespace {

void say(const QString &line)
{
    std::printf("%s\n", qPrintable(QString(line).replace(u'\n', u' ')));
    std::fflush(stdout);
}

// The riders of a team without a number yet, each given the lowest number free: a station that
// is told to try again does.
void numberTeam(const QSqlDatabase &db, std::int32_t team)
{
    const NumberAssigner assigner(db);
    const ResultRows riders = Sql::select(db, "riders",
                                          "SELECT RiderIndex FROM TblPerson WHERE TeamCode = ? "
                                          "ORDER BY RiderIndex",
                                          {team});
    for (const auto &row : riders.rows)
        for (std::int16_t n = 1;;) {
            try {
                if (assigner.setRiderNumber(std::int32_t(row[0].toLongLong()), n))
                    break;
                ++n;
            } catch (const DbError &e) {
                if (e.kind() != DbError::Kind::Collision)
                    throw;
            }
        }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4)
        return 2;
    // Each station's journal lines name it by what it saves.
    Journal::setStation(args.mid(2).join(u' '));
    DbConnection::setBusyTimeout(30000); // a held record is waited for while the test stops the server
    DbConnection meet;
    std::function<void()> save;
    std::optional<EntrySheet> sheet;
    std::optional<PlacingCard> card;
    std::optional<JudgeAssignments> judges;
    try {
        meet.open(args[1], DbConnection::Mode::ReadWrite);
        const QSqlDatabase db = meet.database();
        const QString action = args[2];
        if (action == u"placings") {
            card.emplace(db, args[4], args[3].toInt());
            if (card->load() != PlacingCard::Opening::Ready)
                return 3;
            PlacingCard::Card chosen{};
            const int riders = int(card->riders().size());
            for (int c = 0; c < PlacingCard::Columns; ++c)
                for (int i = 0; i < PlacingCard::Places; ++i)
                    chosen[c][i] = (args[5].toInt() - 1 + i + c) % riders + 1;
            save = [&, chosen] { card->save(chosen); };
        } else if (action == u"entries") {
            sheet.emplace(db, std::int32_t(args[3].toInt()));
            GridMarks ticks(int(sheet->riders().size()));
            for (int r = 1; r <= ticks.rows(); ++r)
                ticks.set(r, args[4].toInt(), true);
            const QStringList partners(ticks.rows());
            save = [&, ticks, partners] {
                if (const auto failure = sheet->submit(ticks, partners))
                    throw DbError("Saving the team's entries", {}, failure->text);
            };
        } else if (action == u"judges") {
            judges.emplace(db, args[3]);
            GridMarks ticks(int(judges->judges().size()));
            for (int r : {args[5].toInt(), args[5].toInt() + 1})
                ticks.set(r, args[4].toInt(), true);
            save = [&, ticks] {
                if (const auto failure = judges->submit(ticks))
                    throw DbError("Saving the judge assignments", {}, *failure);
            };
        } else if (action == u"number") {
            save = [db, team = std::int32_t(args[3].toInt())] { numberTeam(db, team); };
        } else {
            return 2;
        }
    } catch (const DbError &e) {
        say(QStringLiteral("told: ") + e.userText());
        return 1;
    }
    say(QStringLiteral("ready"));

    QTextStream in(stdin);
    QString line;
    while (in.readLineInto(&line)) {
        if (line != u"go" && line != u"again")
            continue;
        try {
            save();
            say(QStringLiteral("saved"));
        } catch (const DbError &e) {
            say(QStringLiteral("told: ") + e.userText());
        }
    }
    return 0;
}
