#include "registration/riderregistry.h"

#include "common/ridernumber.h"
#include "db/journal.h"
#include "db/sql.h"
#include "db/writetransaction.h"

namespace {

const char *columnOf(RiderRegistry::SearchBy by)
{
    switch (by) {
    case RiderRegistry::SearchBy::LastName:
        return "LastName";
    case RiderRegistry::SearchBy::FirstName:
        return "FirstName";
    case RiderRegistry::SearchBy::RiderNumber:
        return "RiderNumber";
    case RiderRegistry::SearchBy::Team:
        return "TeamName";
    }
    return "LastName";
}

} // namespace

QVector<RiderFound> RiderRegistry::search(SearchBy column, const QString &text) const
{
    // The match is made here rather than with LIKE: the text is literal whatever it holds, and
    // letter case is folded for every alphabet, not only for ASCII.
    const ResultRows rows = Sql::select(
        m_db, QStringLiteral("Searching the riders"),
        QStringLiteral(
            "SELECT TblPerson.RiderIndex, TblPerson.RiderNumber, TblPerson.FirstName, TblPerson.LastName, "
            "TblTeam.TeamName FROM TblPerson INNER JOIN TblTeam ON TblPerson.TeamCode = TblTeam.TeamCode "
            "ORDER BY TblPerson.RiderIndex"));
    const int searched = rows.columnIndex(QString::fromLatin1(columnOf(column)));
    QVector<RiderFound> found;
    for (const auto &row : rows.rows) {
        if (!row[searched].toString().contains(text, Qt::CaseInsensitive))
            continue;
        found.push_back({std::int32_t(row[0].toLongLong()), row[1].toString(), row[2].toString(),
                         row[3].toString(), row[4].toString()});
    }
    return found;
}

QString RiderRegistry::resultLine(const RiderFound &r)
{
    return r.number + QStringLiteral(" - ") + r.lastName + QStringLiteral(", ") + r.firstName +
           QStringLiteral(" (") + r.teamName + u')';
}

std::optional<RiderRecord> RiderRegistry::find(std::int32_t index, ReadMark *asRead) const
{
    ReadMark unkept;
    const ResultRows rows =
        (asRead ? *asRead : unkept)
            .select(m_db, QStringLiteral("Reading the rider"),
                    QStringLiteral("SELECT * FROM TblPerson WHERE RiderIndex = ?"), {index});
    if (rows.isEmpty())
        return std::nullopt;
    RiderRecord r;
    r.index = index;
    r.teamCode = rows.value(0, u"TeamCode").isNull() ? -1 : std::int32_t(rows.integer(0, u"TeamCode"));
    r.number = rows.text(0, u"RiderNumber");
    r.firstName = rows.text(0, u"FirstName");
    r.lastName = rows.text(0, u"LastName");
    r.address = rows.text(0, u"Address");
    r.city = rows.text(0, u"City");
    r.zip = rows.text(0, u"Zip");
    return r;
}

bool RiderRegistry::isEntered(std::int32_t index) const
{
    return Sql::scalar(m_db, QStringLiteral("Looking for the rider's entries"),
                       QStringLiteral("SELECT EXISTS (SELECT 1 FROM TblEntry WHERE RiderIndex = ?)"), {index})
        .toBool();
}

bool RiderRegistry::numberHeldByAnother(std::int16_t number, std::int32_t except) const
{
    const ResultRows rows = Sql::select(m_db, QStringLiteral("Checking the rider number"),
                                        QStringLiteral("SELECT RiderNumber FROM TblPerson "
                                                       "WHERE RiderIndex <> ? AND RiderNumber <> ''"),
                                        {except});
    for (const auto &row : rows.rows)
        if (RiderNumber::convert(row[0].toString()) == number)
            return true;
    return false;
}

ReadMark RiderRegistry::editMark()
{
    return ReadMark(QStringLiteral("another station changed this rider since you opened it."),
                    QStringLiteral("another station deleted this rider since you opened it."));
}

RiderRegistry::SaveOutcome RiderRegistry::save(const RiderRecord &r, const ReadMark &asRead) const
{
    const auto number = RiderNumber::convert(r.number);
    if (!number || r.number.size() > RiderNumber::MaxLength)
        return SaveOutcome::NumberInvalid;

    const QString action = QStringLiteral("Saving the rider");
    return WriteTransaction::run(m_db, action, {QStringLiteral("TblPerson")},
                                 [&] { return write(r, *number, asRead, action); });
}

RiderRegistry::SaveOutcome RiderRegistry::write(const RiderRecord &r, std::int16_t number,
                                                const ReadMark &asRead, const QString &action) const
{
    if (r.index != -1)
        asRead.check(m_db, action);
    if (numberHeldByAnother(number, r.index))
        return SaveOutcome::NumberTaken;
    const QVariantList values{Sql::text(r.number),
                              Sql::text(r.firstName),
                              Sql::text(r.lastName),
                              Sql::text(r.address),
                              Sql::text(r.city),
                              Sql::text(r.zip),
                              r.teamCode};
    Journal::Recorder journal(m_db, action, Journal::Kind::Roster,
                              QStringLiteral("Rider %1 %2").arg(r.firstName, r.lastName) +
                                  (r.number.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(r.number)));
    const QString where = QStringLiteral("RiderIndex = ?");
    if (r.index == -1) {
        const std::int32_t index = Sql::insert(
            m_db, action,
            QStringLiteral(
                "INSERT INTO TblPerson (RiderNumber, FirstName, LastName, Address, City, Zip, TeamCode) "
                "VALUES (?, ?, ?, ?, ?, ?, ?)"),
            values, QStringLiteral("RiderIndex"));
        journal.added(QStringLiteral("TblPerson"), where, {index});
    } else {
        journal.watch(QStringLiteral("TblPerson"), where, {r.index});
        Sql::exec(
            m_db, action,
            QStringLiteral("UPDATE TblPerson SET RiderNumber = ?, FirstName = ?, LastName = ?, Address = ?, "
                           "City = ?, Zip = ?, TeamCode = ? WHERE RiderIndex = ?"),
            values + QVariantList{r.index});
    }
    journal.write();
    return SaveOutcome::Saved;
}

void RiderRegistry::remove(std::int32_t index) const
{
    const QString action = QStringLiteral("Deleting the rider");
    WriteTransaction::run(m_db, action, [&] {
        Journal::Recorder journal(m_db, action, Journal::Kind::Roster, QString());
        journal.watch(QStringLiteral("TblPerson"), QStringLiteral("RiderIndex = ?"), {index});
        const QString rider = QStringLiteral("TblPerson");
        const QString number = journal.before(rider, "RiderNumber").toString();
        if (journal.before(rider, "FirstName").isValid())
            journal.setWhat(QStringLiteral("Rider %1 %2%3 deleted")
                            .arg(journal.before(rider, "FirstName").toString(),
                                 journal.before(rider, "LastName").toString(),
                                 number.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(number)));
        Sql::exec(m_db, action, QStringLiteral("DELETE FROM TblPerson WHERE RiderIndex = ?"), {index});
        journal.write();
    });
}
