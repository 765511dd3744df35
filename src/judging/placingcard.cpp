#include "judging/placingcard.h"

#include "db/classcatalogue.h"
#include "db/engine.h"
#include "db/journal.h"
#include "db/sql.h"
#include "db/writetransaction.h"

#include <QHash>
#include <QSet>

namespace {

RowText riderText(const QVariant &number, const QVariant &first, const QVariant &last)
{
    return RowText()
        .fixed(number.toString() + QStringLiteral(" - "))
        .name(first.toString() + u' ' + last.toString());
}

// The partner's line of each relay entry, from the rider's first pairing row.
QHash<std::int32_t, RowText> readPartners(const QSqlDatabase &db)
{
    const ResultRows rows = Sql::select(
        db, QStringLiteral("Reading the relay partners"),
        QStringLiteral(
            "SELECT RiderIndex, PartnerNumber, PartnerFirst, PartnerLast FROM TblPairing ORDER BY ") +
            Engine::insertionOrder(db));
    QHash<std::int32_t, RowText> partners;
    for (const auto &row : rows.rows) {
        const auto rider = std::int32_t(row[0].toLongLong());
        if (!partners.contains(rider))
            partners.insert(rider, riderText(row[1], row[2], row[3]));
    }
    return partners;
}

} // namespace

PlacingCard::PlacingCard(QSqlDatabase db, QString division, int classNumber)
    : m_db(std::move(db)), m_division(std::move(division)), m_class(classNumber)
{
}

PlacingCard::Opening PlacingCard::load()
{
    m_judges.clear();
    m_riders.clear();
    m_stored = {};
    m_asRead =
        ReadMark(QStringLiteral("another station saved this class's placings or judges since you opened "
                                "them."));
    const ReadTransaction oneState(m_db, QStringLiteral("Reading the placings"));
    // A judge stored twice for the class is still one judge; the same last name keeps its
    // column by first name and then key.
    const ResultRows judges = m_asRead.select(
        m_db, QStringLiteral("Reading the judges of the class"),
        QStringLiteral("SELECT DISTINCT TblJudge.JudgeID, TblJudge.FirstName, TblJudge.LastName "
                       "FROM TblJudge INNER JOIN TblClassJudges ON TblJudge.JudgeID = TblClassJudges.JudgeID "
                       "WHERE TblClassJudges.ClassNumber = ? AND TblClassJudges.Division = ? "
                       "ORDER BY TblJudge.LastName NULLS FIRST, TblJudge.FirstName NULLS FIRST, "
                       "TblJudge.JudgeID LIMIT 2"),
        {m_class, m_division});
    if (judges.isEmpty())
        return Opening::NoJudges;
    for (const auto &row : judges.rows)
        m_judges.push_back({std::int32_t(row[0].toLongLong()), row[1].toString(), row[2].toString()});

    m_heading = QStringLiteral("Class %1 - ").arg(m_class) +
                Sql::scalar(m_db, QStringLiteral("Reading the class"),
                            QStringLiteral("SELECT ClassName FROM TblClass WHERE ClassNumber = ?"), {m_class})
                    .toString();

    readRiders();
    if (m_riders.empty())
        return Opening::NoRiders;
    readStored();
    return Opening::Ready;
}

void PlacingCard::readRiders()
{
    const bool relay = m_class == ClassCatalogue::RelayClass;
    const QHash<std::int32_t, RowText> partners = relay ? readPartners(m_db) : QHash<std::int32_t, RowText>();
    const auto line = [&](std::int32_t rider, RowText text) {
        if (!relay)
            return text;
        const auto partner = partners.constFind(rider);
        return partner == partners.cend() ? text.fixed(NoPartnerMark)
                                          : text.fixed(QStringLiteral(" and ")).append(*partner);
    };

    // A rider entered twice is one line.
    const ResultRows entered =
        Sql::select(m_db, QStringLiteral("Reading the riders entered in the class"),
                    QStringLiteral("SELECT TblPerson.RiderIndex, TblPerson.RiderNumber, TblPerson.FirstName, "
                                   "TblPerson.LastName FROM TblPerson "
                                   "INNER JOIN TblTeam ON TblTeam.TeamCode = TblPerson.TeamCode "
                                   "WHERE TblTeam.Division = ? AND TblPerson.RiderIndex IN "
                                   "(SELECT RiderIndex FROM TblEntry WHERE ClassNumber = ?) "
                                   "ORDER BY TblPerson.RiderNumber NULLS FIRST, "
                                   "TblPerson.LastName NULLS FIRST, TblPerson.FirstName NULLS FIRST, "
                                   "TblPerson.RiderIndex"),
                    {m_division, m_class});
    m_riders.reserve(entered.size());
    for (const auto &row : entered.rows) {
        const auto rider = std::int32_t(row[0].toLongLong());
        m_riders.push_back({rider, line(rider, riderText(row[1], row[2], row[3]))});
    }
    if (m_riders.empty())
        return;

    // Riders the judges' stored cards place who are no longer entered here (withdrawn, moved to
    // another division, or gone from the meet) keep a line, after the entered ones.
    const ResultRows placed = Sql::select(
        m_db, QStringLiteral("Reading the placed riders"),
        QStringLiteral("SELECT DISTINCT TblPlacing.RiderIndex, TblPerson.RiderNumber, TblPerson.FirstName, "
                       "TblPerson.LastName, TblPerson.RiderIndex IS NOT NULL FROM TblPlacing "
                       "LEFT JOIN TblPerson ON TblPerson.RiderIndex = TblPlacing.RiderIndex "
                       "WHERE TblPlacing.ClassNumber = ? AND TblPlacing.Division = ? "
                       "AND TblPlacing.JudgeID IN (?, ?) "
                       "ORDER BY TblPerson.RiderNumber NULLS FIRST, TblPerson.LastName NULLS FIRST, "
                       "TblPerson.FirstName NULLS FIRST, "
                       "TblPlacing.RiderIndex"),
        {m_class, m_division, m_judges.front().id, m_judges.back().id});
    QSet<std::int32_t> known;
    for (const Rider &r : m_riders)
        known.insert(r.riderIndex);
    for (const auto &row : placed.rows) {
        const auto rider = std::int32_t(row[0].toLongLong());
        if (known.contains(rider))
            continue;
        known.insert(rider);
        RowText text =
            row[4].toBool() ? line(rider, riderText(row[1], row[2], row[3])) : RowText().name(GoneRider);
        m_riders.push_back({rider, text.fixed(NotEnteredMark), false});
    }
}

void PlacingCard::readStored()
{
    const ResultRows rows =
        m_asRead.select(m_db, QStringLiteral("Reading the stored placings"),
                        QStringLiteral("SELECT JudgeID, Place, RiderIndex FROM TblPlacing "
                                       "WHERE ClassNumber = ? AND Division = ? ORDER BY Place"),
                        {m_class, m_division});
    for (const auto &row : rows.rows) {
        const int place = row[1].toInt();
        if (place < 1 || place > Places)
            continue;
        for (int c = 0; c < int(m_judges.size()); ++c)
            if (m_judges[c].id == std::int32_t(row[0].toLongLong()))
                m_stored[c][place - 1] = lineOf(std::int32_t(row[2].toLongLong()));
    }
}

int PlacingCard::lineOf(std::int32_t riderIndex) const
{
    for (int i = 0; i < int(m_riders.size()); ++i)
        if (m_riders[i].riderIndex == riderIndex)
            return i + 1;
    return NotPlaced;
}

QVector<RowText> PlacingCard::lines() const
{
    QVector<RowText> out{RowText().fixed(NotApplicable)};
    out.reserve(int(m_riders.size()) + 1);
    for (const Rider &r : m_riders)
        out << r.line;
    return out;
}

int PlacingCard::columnPlacingTwice(const Card &card)
{
    for (int c = 0; c < Columns; ++c)
        for (int i = 0; i < Places - 1; ++i)
            for (int j = i + 1; card[c][i] != NotPlaced && j < Places; ++j)
                if (card[c][i] == card[c][j])
                    return c;
    return -1;
}

void PlacingCard::save(const Card &card) const
{
    const QString action = QStringLiteral("Saving the placings");
    WriteTransaction::run(m_db, action, {QStringLiteral("TblPlacing")}, [&] { write(card, action); });
}

void PlacingCard::write(const Card &card, const QString &action) const
{
    m_asRead.check(m_db, action);
    Journal::Recorder journal(m_db, action, Journal::Kind::Placings,
                              QStringLiteral("Placings of class %1, division %2").arg(m_class).arg(m_division));
    journal.watch(QStringLiteral("TblPlacing"), QStringLiteral("ClassNumber = ? AND Division = ?"),
                  {m_class, m_division});
    Sql::exec(m_db, action, QStringLiteral("DELETE FROM TblPlacing WHERE ClassNumber = ? AND Division = ?"),
              {m_class, m_division});
    Sql::Repeated insert(m_db, action,
                         QStringLiteral("INSERT INTO TblPlacing (ClassNumber, Place, RiderIndex, Points, "
                                        "Division, JudgeID) VALUES (?, ?, ?, ?, ?, ?)"));
    for (int c = 0; c < int(m_judges.size()); ++c)
        for (int i = 0; i < Places; ++i) {
            const int line = card[c][i];
            if (line != NotPlaced && line <= int(m_riders.size()))
                insert.exec({m_class, i + 1, m_riders[line - 1].riderIndex, points(i + 1), m_division,
                             m_judges[c].id});
        }
    journal.write();
}
