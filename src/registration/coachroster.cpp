#include "registration/coachroster.h"

#include "db/journal.h"
#include "db/sql.h"
#include "db/writetransaction.h"

namespace {

CoachRecord fromRow(const ResultRows &rows, int r)
{
    CoachRecord c;
    c.code = std::int32_t(rows.integer(r, u"CoachCode"));
    c.teamCode = std::int32_t(rows.integer(r, u"TeamCode"));
    c.firstName = rows.text(r, u"FirstName");
    c.lastName = rows.text(r, u"LastName");
    c.address = rows.text(r, u"Address");
    c.city = rows.text(r, u"City");
    c.zip = rows.text(r, u"Zip");
    c.primary = rows.text(r, u"Primary");
    c.secondary = rows.text(r, u"Secondary");
    c.email = rows.text(r, u"Email");
    c.position = rows.text(r, u"Position");
    return c;
}

} // namespace

QVector<CoachRecord> CoachRoster::listForTeam(std::int32_t teamCode) const
{
    const ResultRows rows = Sql::select(m_db, QStringLiteral("Reading the team's coaches"),
                                        QStringLiteral("SELECT * FROM TblCoach WHERE TeamCode = ? ORDER BY "
                                                       "Position DESC NULLS LAST, LastName NULLS FIRST, "
                                                       "CoachCode"),
                                        {teamCode});
    QVector<CoachRecord> coaches;
    coaches.reserve(rows.size());
    for (int r = 0; r < rows.size(); ++r)
        coaches.push_back(fromRow(rows, r));
    return coaches;
}

QString CoachRoster::listLine(const CoachRecord &coach)
{
    return coach.lastName + QStringLiteral(", ") + coach.firstName + QStringLiteral(" - ") + coach.position;
}

std::optional<CoachRecord> CoachRoster::find(std::int32_t code, ReadMark *asRead) const
{
    ReadMark unkept;
    const ResultRows rows = (asRead ? *asRead : unkept)
                                .select(m_db, QStringLiteral("Reading the coach"),
                                        QStringLiteral("SELECT * FROM TblCoach WHERE CoachCode = ?"), {code});
    if (rows.isEmpty())
        return std::nullopt;
    return fromRow(rows, 0);
}

std::optional<QString> CoachRoster::firstFailure(const CoachRecord &coach)
{
    if (coach.firstName.isEmpty())
        return QStringLiteral("The First Name box must be filled in");
    if (coach.lastName.isEmpty())
        return QStringLiteral("The Last Name box must be filled in");
    if (coach.position.isEmpty())
        return QStringLiteral("The Position box must have a valid entry");
    return std::nullopt;
}

ReadMark CoachRoster::editMark()
{
    return ReadMark(QStringLiteral("another station changed this coach since you opened it."),
                    QStringLiteral("another station deleted this coach since you opened it."));
}

std::int32_t CoachRoster::save(const CoachRecord &c, const ReadMark &asRead) const
{
    const QString action = QStringLiteral("Saving the coach");
    const QVariantList values{Sql::text(c.firstName), Sql::text(c.lastName),
                              Sql::text(c.address),   Sql::text(c.city),
                              Sql::text(c.zip),       Sql::text(c.primary),
                              Sql::text(c.secondary), Sql::text(c.email),
                              Sql::text(c.position),  c.teamCode};
    return asRead.saveRecord(
        m_db, action, c.code, values,
        QStringLiteral(
            "INSERT INTO TblCoach (FirstName, LastName, Address, City, Zip, \"Primary\", Secondary, "
            "Email, Position, TeamCode) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        QStringLiteral(
            "UPDATE TblCoach SET FirstName = ?, LastName = ?, Address = ?, City = ?, Zip = ?, "
            "\"Primary\" = ?, Secondary = ?, Email = ?, Position = ?, TeamCode = ? WHERE CoachCode = ?"),
        QStringLiteral("TblCoach"), QStringLiteral("CoachCode"),
        QStringLiteral("Coach %1 %2").arg(c.firstName, c.lastName));
}

void CoachRoster::remove(std::int32_t code) const
{
    const QString action = QStringLiteral("Deleting the coach");
    WriteTransaction::run(m_db, action, [&] {
        Journal::Recorder journal(m_db, action, Journal::Kind::Roster, QString());
        journal.watch(QStringLiteral("TblCoach"), QStringLiteral("CoachCode = ?"), {code});
        if (journal.before(QStringLiteral("TblCoach"), "FirstName").isValid())
            journal.setWhat(QStringLiteral("Coach %1 %2 deleted")
                                .arg(journal.before(QStringLiteral("TblCoach"), "FirstName").toString(),
                                     journal.before(QStringLiteral("TblCoach"), "LastName").toString()));
        Sql::exec(m_db, action, QStringLiteral("DELETE FROM TblCoach WHERE CoachCode = ?"), {code});
        journal.write();
    });
}
