#include "registration/numberassigner.h"

#include "common/ridernumber.h"
#include "db/journal.h"
#include "db/sql.h"
#include "db/writetransaction.h"
#include "registration/riderregistry.h"

#include <algorithm>
#include <numeric>

std::optional<std::pair<std::int16_t, std::int16_t>> NumberAssigner::readRange(const QString &from,
                                                                               const QString &to)
{
    const auto a = RiderNumber::convert(from);
    const auto b = RiderNumber::convert(to);
    if (!a || !b)
        return std::nullopt;
    return std::pair{std::min(*a, *b), std::max(*a, *b)};
}

int NumberAssigner::riderCount() const
{
    return Sql::scalar(m_db, QStringLiteral("Counting the riders"),
                       QStringLiteral("SELECT count(*) FROM TblPerson"))
        .toInt();
}

NumberAssigner::Sequence NumberAssigner::randomRange(std::int16_t low, std::int16_t high, int riders,
                                                     std::mt19937 &generator)
{
    Sequence s = sequentialRange(low, high, riders);
    if (s.status == 1)
        std::shuffle(s.numbers.begin(), s.numbers.end(), generator);
    return s;
}

NumberAssigner::Sequence NumberAssigner::sequentialRange(std::int16_t low, std::int16_t high, int riders)
{
    const int size = int(high) - int(low) + 1;
    if (riders > size)
        return {};
    Sequence s{1, QVector<std::int16_t>(size)};
    std::iota(s.numbers.begin(), s.numbers.end(), low);
    return s;
}

void NumberAssigner::applyNumbers(const Sequence &sequence) const
{
    const QString action = QStringLiteral("Assigning the rider numbers");
    WriteTransaction::run(m_db, action, {QStringLiteral("TblPerson")}, [&] { numberAll(sequence, action); });
}

void NumberAssigner::numberAll(const Sequence &sequence, const QString &action) const
{
    const ResultRows riders = Sql::select(
        m_db, action,
        QStringLiteral("SELECT TblPerson.RiderIndex FROM TblTeam INNER JOIN TblPerson ON TblTeam.TeamCode = "
                       "TblPerson.TeamCode ORDER BY TblTeam.Division NULLS FIRST, "
                       "TblTeam.TeamName NULLS FIRST, TblPerson.LastName NULLS FIRST, "
                       "TblPerson.FirstName NULLS FIRST, TblPerson.RiderIndex"));
    if (riders.size() > sequence.numbers.size())
        throw DbError(action, {}, QStringLiteral("the range holds fewer numbers than there are riders"));
    Journal::Recorder journal(m_db, action, Journal::Kind::Numbers,
                              QStringLiteral("Numbers of all %1 riders").arg(riders.size()));
    journal.watch(QStringLiteral("TblPerson"), QStringLiteral("RiderIndex IS NOT NULL"));
    Sql::Repeated update(m_db, action,
                         QStringLiteral("UPDATE TblPerson SET RiderNumber = ? WHERE RiderIndex = ?"));
    for (int k = 0; k < riders.size(); ++k)
        update.exec({QString::number(sequence.numbers[k]), riders.rows[k][0]});
    journal.write();
}

bool NumberAssigner::setRiderNumber(std::int32_t riderIndex, std::int16_t number) const
{
    // Two stations numbering at once take turns: the check and the write of one happen wholly
    // before or after the other's.
    const QString action = QStringLiteral("Setting the rider number");
    return WriteTransaction::run(m_db, action, {QStringLiteral("TblPerson")}, [&] {
        if (RiderRegistry(m_db).numberHeldByAnother(number, riderIndex))
            return false;
        Journal::Recorder journal(m_db, action, Journal::Kind::Numbers, QString());
        journal.watch(QStringLiteral("TblPerson"), QStringLiteral("RiderIndex = ?"), {riderIndex});
        if (journal.before(QStringLiteral("TblPerson"), "FirstName").isValid())
            journal.setWhat(QStringLiteral("Number %1 of rider %2 %3")
                                .arg(number)
                                .arg(journal.before(QStringLiteral("TblPerson"), "FirstName").toString(),
                                     journal.before(QStringLiteral("TblPerson"), "LastName").toString()));
        Sql::exec(m_db, action, QStringLiteral("UPDATE TblPerson SET RiderNumber = ? WHERE RiderIndex = ?"),
                  {QString::number(number), riderIndex});
        journal.write();
        return true;
    });
}

QVector<NumberAssigner::TreeTeam> NumberAssigner::tree() const
{
    const QString action = QStringLiteral("Reading the teams and riders");
    const ResultRows teams =
        Sql::select(m_db, action,
                    QStringLiteral("SELECT TeamCode, Division, TeamName FROM TblTeam "
                                   "ORDER BY Division NULLS FIRST, TeamName NULLS FIRST, TeamCode"));
    const ResultRows riders = Sql::select(
        m_db, action,
        QStringLiteral(
            "SELECT RiderIndex, RiderNumber, FirstName, LastName, TeamCode, "
            "TeamCode IN (SELECT TeamCode FROM TblTeam) AS HasTeam FROM TblPerson "
            "ORDER BY TeamCode NULLS FIRST, LastName NULLS FIRST, FirstName NULLS FIRST, RiderIndex"));
    QVector<TreeTeam> out;
    out.reserve(teams.size() + 1);
    QHash<std::int32_t, int> position;
    for (const auto &row : teams.rows) {
        position.insert(std::int32_t(row[0].toLongLong()), out.size());
        out.push_back({std::int32_t(row[0].toLongLong()), row[1].toString(), row[2].toString(), {}});
    }
    TreeTeam orphans{-1, QString(), QStringLiteral("Riders without a team"), {}};
    for (const auto &row : riders.rows) {
        TreeRider rider{std::int32_t(row[0].toLongLong()), row[1].toString(), row[2].toString(),
                        row[3].toString()};
        if (row[5].toBool())
            out[position.value(std::int32_t(row[4].toLongLong()))].riders.push_back(std::move(rider));
        else
            orphans.riders.push_back(std::move(rider));
    }
    if (!orphans.riders.isEmpty()) {
        std::stable_sort(
            orphans.riders.begin(), orphans.riders.end(), [](const TreeRider &a, const TreeRider &b) {
                const int last = a.lastName.compare(b.lastName, Qt::CaseInsensitive);
                return last != 0 ? last < 0 : a.firstName.compare(b.firstName, Qt::CaseInsensitive) < 0;
            });
        out.push_back(std::move(orphans));
    }
    return out;
}

QString NumberAssigner::teamText(const TreeTeam &team)
{
    return team.code == -1 ? team.name : team.division + QStringLiteral(" - ") + team.name;
}

QString NumberAssigner::riderText(const QString &number, const QString &firstName, const QString &lastName)
{
    return u'(' + number + QStringLiteral(") ") + firstName + u' ' + lastName;
}
