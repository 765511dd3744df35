#include "entries/runningorder.h"

#include "common/randomsource.h"
#include "db/classcatalogue.h"
#include "db/sql.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

// Every entry of the class held by a rider of a team of the division.
const QString EnteredRiders =
    QStringLiteral("FROM TblEntry INNER JOIN TblPerson ON TblEntry.RiderIndex = TblPerson.RiderIndex "
                   "INNER JOIN TblTeam ON TblPerson.TeamCode = TblTeam.TeamCode ");
const QString OfClassAndDivision = QStringLiteral("WHERE TblEntry.ClassNumber = ? AND TblTeam.Division = ?");

// Names are stored with up to 50 characters; the sheet prints them whole.
constexpr int NameLength = 50;

bool beforeByName(const RunningOrder::Rider &a, const RunningOrder::Rider &b)
{
    if (const int c = a.last.compare(b.last, Qt::CaseInsensitive))
        return c < 0;
    return a.first.compare(b.first, Qt::CaseInsensitive) < 0;
}

QVariant numberCell(const QString &stored)
{
    const std::optional<int> n = RunningOrder::wholeNumber(stored);
    return n ? QVariant(*n) : QVariant();
}

} // namespace

RunningOrder::RunningOrder(QSqlDatabase db, QString division)
    : m_db(std::move(db)), m_division(std::move(division))
{
}

std::optional<int> RunningOrder::wholeNumber(const QString &stored)
{
    static const QRegularExpression whole(QStringLiteral("^[+-]?[0-9]+$"));
    const QString text = stored.trimmed();
    if (!whole.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

bool RunningOrder::Check_Class(int classNumber) const
{
    return Sql::scalar(m_db, QStringLiteral("Reading the riders entered in the class"),
                       QStringLiteral("SELECT COUNT(*) ") + EnteredRiders + OfClassAndDivision,
                       {classNumber, m_division})
               .toInt() > 0;
}

std::map<int, int> RunningOrder::entriesByClass() const
{
    const ResultRows counts =
        Sql::select(m_db, QStringLiteral("Reading the riders entered in the classes"),
                    QStringLiteral("SELECT TblEntry.ClassNumber, COUNT(*) AS Entered ") + EnteredRiders +
                        QStringLiteral("WHERE TblTeam.Division = ? GROUP BY TblEntry.ClassNumber"),
                    {m_division});
    std::map<int, int> out;
    for (int r = 0; r < counts.size(); ++r)
        out[int(counts.integer(r, u"ClassNumber"))] = int(counts.integer(r, u"Entered"));
    return out;
}

RunningOrder::Split RunningOrder::entered(int classNumber) const
{
    const bool relay = classNumber == ClassCatalogue::RelayClass;
    // A relay entry appears once its partner is named.
    const ResultRows rows = Sql::select(
        m_db, QStringLiteral("Reading the riders entered in the class"),
        QStringLiteral(
            "SELECT TblPerson.FirstName, TblPerson.LastName, TblPerson.RiderNumber, TblTeam.TeamName, "
            "TblTeam.TeamCode") +
            (relay ? QStringLiteral(
                         ", TblPairing.PartnerFirst, TblPairing.PartnerLast, TblPairing.PartnerNumber ")
                   : QStringLiteral(" ")) +
            EnteredRiders +
            (relay ? QStringLiteral("INNER JOIN TblPairing ON TblPairing.RiderIndex = TblPerson.RiderIndex ")
                   : QString()) +
            OfClassAndDivision,
        {classNumber, m_division});
    Split riders;
    riders.reserve(std::size_t(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        riders.push_back({rows.text(r, u"FirstName"), rows.text(r, u"LastName"), rows.text(r, u"TeamName"),
                          rows.text(r, u"RiderNumber"), rows.text(r, u"PartnerFirst"),
                          rows.text(r, u"PartnerLast"), rows.text(r, u"PartnerNumber"),
                          std::int32_t(rows.value(r, u"TeamCode").toLongLong())});

    // The relay comes in a wholly random order; the other classes team by team, by team name
    // (two teams of one name one after the other), in a random order within each team, so that
    // the deal puts team mates in different splits.
    std::shuffle(riders.begin(), riders.end(), RandomSource::generator());
    if (!relay)
        std::stable_sort(riders.begin(), riders.end(), [](const Rider &a, const Rider &b) {
            if (const int c = a.team.compare(b.team, Qt::CaseInsensitive))
                return c < 0;
            return a.teamCode < b.teamCode;
        });
    return riders;
}

std::vector<RunningOrder::Split> RunningOrder::deal(const Split &riders, int splits)
{
    std::vector<Split> dealt(std::size_t(std::max(splits, 1)));
    for (std::size_t i = 0; i < riders.size(); ++i)
        dealt[i % dealt.size()].push_back(riders[i]);
    return dealt;
}

void RunningOrder::orderByNumber(Split &split)
{
    std::stable_sort(split.begin(), split.end(), [](const Rider &a, const Rider &b) {
        const std::optional<int> x = wholeNumber(a.number), y = wholeNumber(b.number);
        if (x && y)
            return *x < *y;
        if (x || y)
            return x.has_value();
        return beforeByName(a, b);
    });
}

MemoryTable RunningOrder::table(const Split &split, bool relay)
{
    MemoryTable t;
    t.appendColumn(QStringLiteral("FirstName"), MemoryTable::Type::Text, NameLength);
    t.appendColumn(QStringLiteral("LastName"), MemoryTable::Type::Text, NameLength);
    t.appendColumn(QStringLiteral("RiderNumber"), MemoryTable::Type::Long);
    t.appendColumn(QStringLiteral("TeamName"), MemoryTable::Type::Text, NameLength);
    if (relay) {
        t.appendColumn(QStringLiteral("PartnerFirst"), MemoryTable::Type::Text, NameLength);
        t.appendColumn(QStringLiteral("PartnerLast"), MemoryTable::Type::Text, NameLength);
        t.appendColumn(QStringLiteral("PartnerNumber"), MemoryTable::Type::Long);
    }
    for (const Rider &r : split) {
        if (relay)
            t.addRow({r.first, r.last, numberCell(r.number), r.team, r.partnerFirst, r.partnerLast,
                      numberCell(r.partnerNumber)});
        else
            t.addRow({r.first, r.last, numberCell(r.number), r.team});
    }
    return t;
}

std::vector<MemoryTable> RunningOrder::Build_Splits(int classNumber, int splits, Order order) const
{
    std::vector<Split> dealt = deal(entered(classNumber), std::clamp(splits, 1, MaxSplits));
    std::vector<MemoryTable> tables;
    for (Split &split : dealt) {
        // The order within a split is a second draw, independent of the deal.
        if (order == Order::Random)
            std::shuffle(split.begin(), split.end(), RandomSource::generator());
        else
            orderByNumber(split);
        tables.push_back(table(split, classNumber == ClassCatalogue::RelayClass));
    }
    return tables;
}
