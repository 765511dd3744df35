#include "entries/entrysheet.h"

#include "common/ridernumber.h"
#include "db/classcatalogue.h"
#include "db/journal.h"
#include "db/sql.h"
#include "db/writetransaction.h"
#include "shell/gridmarks.h"

#include <QHash>

#include <algorithm>

namespace {

constexpr int Relay = ClassCatalogue::RelayClass;

// Two partner numbers name the same rider: equal by value, or as text when they are no number.
bool sameRider(const QString &a, const QString &b)
{
    const QString x = a.trimmed();
    return !x.isEmpty() &&
           (RiderNumber::sameNumber(x, b) || x.compare(b.trimmed(), Qt::CaseInsensitive) == 0);
}

} // namespace

QString EntrySheet::saveQuestion(int entries)
{
    return QStringLiteral(
               "This will save all the changes made to this form. There are currently %1 entries for "
               "this team. Are you sure you want to continue?")
        .arg(entries);
}

QString EntrySheet::unknownPartner(const QString &number)
{
    return QStringLiteral("No rider of the meet has the rider number %1. Every relay partner must be a rider "
                          "of the meet.")
        .arg(number.trimmed());
}

QVector<EntryTeam> EntrySheet::teamsOf(const QSqlDatabase &db, const QString &division)
{
    const ResultRows rows =
        Sql::select(db, QStringLiteral("Reading the teams of the division"),
                    QStringLiteral("SELECT TeamCode, TeamName FROM TblTeam WHERE Division = ? ORDER BY "
                                   "TeamName NULLS FIRST, TeamCode"),
                    {division});
    QVector<EntryTeam> teams;
    for (const auto &row : rows.rows)
        teams.push_back({std::int32_t(row[0].toLongLong()), row[1].toString()});
    return teams;
}

bool EntrySheet::hasRiders(const QSqlDatabase &db, std::int32_t team)
{
    return Sql::scalar(db, QStringLiteral("Reading the team's riders"),
                       QStringLiteral("SELECT EXISTS (SELECT 1 FROM TblPerson WHERE TeamCode = ?)"), {team})
        .toBool();
}

EntrySheet::EntrySheet(QSqlDatabase db, std::int32_t team)
    : m_db(std::move(db)), m_team(team),
      m_asRead(QStringLiteral("another station changed this team's riders or entries since you opened them."),
               QStringLiteral("another station deleted this team's riders since you opened them."))
{
    const QString action = QStringLiteral("Reading the team's entries");
    const ReadTransaction oneState(m_db, action);
    const ResultRows teamRow = Sql::select(
        m_db, action, QStringLiteral("SELECT TeamName, Division FROM TblTeam WHERE TeamCode = ?"), {team});
    if (!teamRow.isEmpty())
        m_caption = RowText()
                        .name(teamRow.text(0, u"TeamName"))
                        .fixed(QStringLiteral(" (") + teamRow.text(0, u"Division") + u')');

    const ResultRows riders = m_asRead.select(
        m_db, action,
        QStringLiteral("SELECT TblPerson.RiderIndex, TblPerson.FirstName, TblPerson.LastName, "
                       "TblPerson.RiderNumber FROM TblPerson INNER JOIN TblTeam ON TblPerson.TeamCode = "
                       "TblTeam.TeamCode WHERE TblTeam.TeamCode = ? "
                       "ORDER BY TblPerson.RiderNumber NULLS FIRST, TblPerson.RiderIndex"),
        {team});
    QHash<std::int32_t, int> rowOf;
    for (const auto &r : riders.rows) {
        m_riders.push_back(
            {std::int32_t(r[0].toLongLong()), r[1].toString(), r[2].toString(), r[3].toString()});
        rowOf.insert(m_riders.last().index, int(m_riders.size()));
    }
    m_classes = ClassTable::read(m_db);

    const ResultRows entries = m_asRead.select(
        m_db, action,
        QStringLiteral(
            "SELECT TblEntry.ClassNumber, TblEntry.RiderIndex FROM TblEntry INNER JOIN TblPerson ON "
            "TblEntry.RiderIndex = TblPerson.RiderIndex WHERE TblPerson.TeamCode = ? "
            "ORDER BY TblPerson.RiderNumber NULLS FIRST"),
        {team});
    for (const auto &e : entries.rows) {
        const int cls = e[0].toInt();
        const int row = rowOf.value(std::int32_t(e[1].toLongLong()), 0);
        if (row > 0 && cls >= 1 && cls <= GridMarks::Classes)
            m_entries.push_back({row, cls});
    }

    m_partners = QStringList(m_riders.size(), QString());
    const ResultRows pairings = m_asRead.select(
        m_db, action,
        QStringLiteral("SELECT TblPairing.RiderIndex, CASE WHEN Partner.RiderIndex IS NULL THEN "
                       "TblPairing.PartnerNumber ELSE Partner.RiderNumber END FROM TblPairing "
                       "INNER JOIN TblPerson ON TblPairing.RiderIndex = TblPerson.RiderIndex "
                       "LEFT JOIN TblPerson AS Partner ON Partner.RiderIndex = TblPairing.PartnerIndex "
                       "WHERE TblPerson.TeamCode = ?"),
        {team});
    for (const auto &p : pairings.rows)
        if (const int row = rowOf.value(std::int32_t(p[0].toLongLong()), 0))
            m_partners[row - 1] = p[1].toString();
}

QStringList EntrySheet::partnerChoices() const
{
    QStringList numbers;
    for (const EntryRider &r : m_riders)
        if (!r.number.isEmpty())
            numbers << r.number;
    return numbers;
}

RowText EntrySheet::rowCaption(const EntryRider &r)
{
    return RowText().name(r.firstName + u' ' + r.lastName).fixed(QStringLiteral(" - (") + r.number + u')');
}

QString EntrySheet::riderName(const EntryRider &r)
{
    const QString name = r.firstName + u' ' + r.lastName;
    return r.number.isEmpty() ? name : name + QStringLiteral(" (") + r.number + u')';
}

std::optional<EntrySheet::Refusal>
EntrySheet::firstFailure(const GridMarks &ticks, const QStringList &partners, QVector<Partner> &found) const
{
    const int n = int(m_riders.size());
    const auto relay = [&](int row) { return ticks.ticked(row, Relay); };
    for (int r = 1; r <= n; ++r) {
        if (!relay(r))
            continue;
        if (partners[r - 1].trimmed().isEmpty())
            return Refusal{PartnerMissing, r};
        // The later box is the one that names the partner again.
        for (int s = r + 1; s <= n; ++s)
            if (relay(s) && sameRider(partners[r - 1], partners[s - 1]))
                return Refusal{TwoRelayTeams, s};
    }
    // A rider who holds a relay entry is nobody's partner, his own included.
    for (int r = 1; r <= n; ++r)
        for (int s = 1; relay(r) && s <= n; ++s)
            if (relay(s) && sameRider(partners[s - 1], m_riders[r - 1].number))
                return Refusal{TwoRelayTeams, s};

    const ResultRows meet =
        Sql::select(m_db, QStringLiteral("Looking up the relay partners"),
                    QStringLiteral("SELECT RiderIndex, RiderNumber, FirstName, LastName FROM TblPerson "
                                   "WHERE RiderNumber <> '' ORDER BY RiderIndex"));
    found = QVector<Partner>(n, Partner{-1, {}, {}, {}});
    for (int r = 1; r <= n; ++r) {
        if (!relay(r))
            continue;
        const auto it = std::find_if(meet.rows.cbegin(), meet.rows.cend(), [&](const QVector<QVariant> &p) {
            return sameRider(partners[r - 1], p[1].toString());
        });
        if (it == meet.rows.cend())
            return Refusal{unknownPartner(partners[r - 1]), r};
        found[r - 1] = {std::int32_t((*it)[0].toLongLong()), (*it)[1].toString(), (*it)[2].toString(),
                        (*it)[3].toString()};
    }
    return std::nullopt;
}

std::optional<EntrySheet::Refusal> EntrySheet::submit(const GridMarks &ticks,
                                                      const QStringList &partners) const
{
    const QString action = QStringLiteral("Saving the team's entries");
    return WriteTransaction::run(m_db, action, {QStringLiteral("TblEntry"), QStringLiteral("TblPairing")},
                                 [&] { return write(ticks, partners, action); });
}

std::optional<EntrySheet::Refusal> EntrySheet::write(const GridMarks &ticks, const QStringList &partners,
                                                     const QString &action) const
{
    m_asRead.check(m_db, action);
    QVector<Partner> found;
    if (auto failure = firstFailure(ticks, partners, found))
        return failure;

    // The team as read with its riders: no round trip more for the line's words.
    Journal::Recorder journal(m_db, action, Journal::Kind::Entries,
                              QStringLiteral("Entries of team ") + m_caption.whole());
    for (const char *table : {"TblEntry", "TblPairing"})
        journal.watch(QLatin1StringView(table),
                      QStringLiteral("RiderIndex IN (SELECT RiderIndex FROM TblPerson WHERE TeamCode = ?)"), {m_team});
    // Pairings in which another team's rider names one of these riders stay.
    for (const char *table : {"TblEntry", "TblPairing"})
        Sql::exec(m_db, action,
                  QStringLiteral("DELETE FROM %1 WHERE RiderIndex IN (SELECT RiderIndex FROM TblPerson "
                                 "WHERE TeamCode = ?)")
                      .arg(QLatin1StringView(table)),
                  {m_team});
    Sql::Repeated entry(m_db, action,
                        QStringLiteral("INSERT INTO TblEntry (ClassNumber, RiderIndex) VALUES (?, ?)"));
    Sql::Repeated pairing(m_db, action,
                          QStringLiteral("INSERT INTO TblPairing (RiderIndex, PartnerNumber, PartnerIndex, "
                                         "PartnerFirst, PartnerLast) VALUES (?, ?, ?, ?, ?)"));
    for (int r = 1; r <= int(m_riders.size()); ++r) {
        const std::int32_t rider = m_riders[r - 1].index;
        for (int c = 1; c <= ticks.classes(); ++c) {
            if (!ticks.ticked(r, c))
                continue;
            entry.exec({c, rider});
            if (c != Relay)
                continue;
            const Partner &p = found[r - 1];
            pairing.exec({rider, p.number, p.index, p.firstName, Sql::text(p.lastName)});
        }
    }
    journal.write();
    return std::nullopt;
}
