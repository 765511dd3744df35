#include "registration/judgeroster.h"

#include "db/journal.h"
#include "db/sql.h"
#include "db/writetransaction.h"

namespace {

JudgeRecord fromRow(const ResultRows &rows, int r)
{
    JudgeRecord j;
    j.id = std::int32_t(rows.integer(r, u"JudgeID"));
    j.firstName = rows.text(r, u"FirstName");
    j.lastName = rows.text(r, u"LastName");
    j.address = rows.text(r, u"Address");
    j.city = rows.text(r, u"City");
    j.state = rows.text(r, u"State");
    j.zip = rows.text(r, u"Zip");
    j.phoneNumber = rows.text(r, u"PhoneNumber");
    j.email = rows.text(r, u"Email");
    j.memo = rows.text(r, u"Memo");
    return j;
}

} // namespace

QVector<JudgeRecord> JudgeRoster::listByLastName() const
{
    const ResultRows rows =
        Sql::select(m_db, QStringLiteral("Reading the judge list"),
                    QStringLiteral("SELECT * FROM TblJudge ORDER BY LastName NULLS FIRST, JudgeID"));
    QVector<JudgeRecord> judges;
    judges.reserve(rows.size());
    for (int r = 0; r < rows.size(); ++r)
        judges.push_back(fromRow(rows, r));
    return judges;
}

QString JudgeRoster::listLine(const JudgeRecord &judge)
{
    return judge.lastName + QStringLiteral(", ") + judge.firstName;
}

std::optional<JudgeRecord> JudgeRoster::find(std::int32_t id, ReadMark *asRead) const
{
    ReadMark unkept;
    const ResultRows rows = (asRead ? *asRead : unkept)
                                .select(m_db, QStringLiteral("Reading the judge"),
                                        QStringLiteral("SELECT * FROM TblJudge WHERE JudgeID = ?"), {id});
    if (rows.isEmpty())
        return std::nullopt;
    return fromRow(rows, 0);
}

std::optional<QString> JudgeRoster::deleteRefusal(std::int32_t id) const
{
    const ResultRows held =
        Sql::select(m_db, QStringLiteral("Looking for the judge's classes"),
                    QStringLiteral("SELECT EXISTS (SELECT 1 FROM TblClassJudges WHERE JudgeID = ?), "
                                   "EXISTS (SELECT 1 FROM TblPlacing WHERE JudgeID = ?)"),
                    {id, id});
    if (held.rows[0][0].toBool())
        return HasClasses;
    if (held.rows[0][1].toBool())
        return HasPlacings;
    return std::nullopt;
}

std::optional<QString> JudgeRoster::firstFailure(const JudgeRecord &judge)
{
    if (judge.firstName.isEmpty())
        return QStringLiteral("The First Name box must be filled in");
    if (judge.lastName.isEmpty())
        return QStringLiteral("The Last Name box must be filled in");
    return std::nullopt;
}

ReadMark JudgeRoster::editMark()
{
    return ReadMark(QStringLiteral("another station changed this judge since you opened it."),
                    QStringLiteral("another station deleted this judge since you opened it."));
}

std::int32_t JudgeRoster::save(const JudgeRecord &j, const ReadMark &asRead) const
{
    const QString action = QStringLiteral("Saving the judge");
    const QVariantList values{Sql::text(j.firstName),   Sql::text(j.lastName), Sql::text(j.address),
                              Sql::text(j.city),        Sql::text(j.state),    Sql::text(j.zip),
                              Sql::text(j.phoneNumber), Sql::text(j.email),    Sql::text(j.memo)};
    return asRead.saveRecord(
        m_db, action, j.id, values,
        QStringLiteral("INSERT INTO TblJudge (FirstName, LastName, Address, City, State, Zip, "
                       "PhoneNumber, Email, Memo) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        QStringLiteral("UPDATE TblJudge SET FirstName = ?, LastName = ?, Address = ?, City = ?, "
                       "State = ?, Zip = ?, PhoneNumber = ?, Email = ?, Memo = ? WHERE JudgeID = ?"),
        QStringLiteral("TblJudge"), QStringLiteral("JudgeID"),
        QStringLiteral("Judge %1 %2").arg(j.firstName, j.lastName));
}

std::optional<QString> JudgeRoster::remove(std::int32_t id) const
{
    const QString action = QStringLiteral("Deleting the judge");
    return WriteTransaction::run(
        m_db, action, {QStringLiteral("TblClassJudges"), QStringLiteral("TblPlacing")},
        [&]() -> std::optional<QString> {
            if (auto refusal = deleteRefusal(id))
                return refusal;
            Journal::Recorder journal(m_db, action, Journal::Kind::Roster, QString());
            journal.watch(QStringLiteral("TblJudge"), QStringLiteral("JudgeID = ?"), {id});
            if (journal.before(QStringLiteral("TblJudge"), "FirstName").isValid())
                journal.setWhat(QStringLiteral("Judge %1 %2 deleted")
                                    .arg(journal.before(QStringLiteral("TblJudge"), "FirstName").toString(),
                                         journal.before(QStringLiteral("TblJudge"), "LastName").toString()));
            Sql::exec(m_db, action, QStringLiteral("DELETE FROM TblJudge WHERE JudgeID = ?"), {id});
            journal.write();
            return std::nullopt;
        });
}
