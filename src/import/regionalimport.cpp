#include "regionalimport.h"

#include "db/meetschema.h"
#include "db/journal.h"
#include "db/sql.h"
#include "db/writetransaction.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

namespace {

QString nullToEmpty(const QVariant &v)
{
    return v.isNull() ? QStringLiteral("") : v.toString();
}

} // namespace

QString RegionalImport::Outcome::message() const
{
    QString text = Success;
    const auto missing = [](int n, const char *one, const char *many) {
        return n == 1 ? QStringLiteral("1 %1").arg(QLatin1StringView(one))
                      : QStringLiteral("%1 %2").arg(n).arg(QLatin1StringView(many));
    };
    QStringList left;
    if (coachesWithoutTeam > 0)
        left << missing(coachesWithoutTeam, "coach", "coaches");
    if (ridersWithoutTeam > 0)
        left << missing(ridersWithoutTeam, "rider", "riders");
    if (!left.isEmpty())
        text += QStringLiteral("\n\n%1 of the file %2 not imported: their team is not in the file.")
                    .arg(left.join(QStringLiteral(" and ")), coachesWithoutTeam + ridersWithoutTeam == 1
                                                                 ? QStringLiteral("was")
                                                                 : QStringLiteral("were"));
    return text;
}

std::optional<QString> RegionalImport::regionCode(const QString &path)
{
    static const QRegularExpression pattern(QStringLiteral("^.*Region(.)-2006\\.mdb$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const auto match = pattern.match(QFileInfo(path).fileName());
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1);
}

std::optional<QString> RegionalImport::load(const QString &path)
{
    const auto refuse = [&](const QString &reason) {
        m_source.close();
        return QStringLiteral("The file \"%1\" cannot be imported: %2.")
            .arg(QDir::toNativeSeparators(path), reason);
    };
    m_teams.clear();
    m_orphanCoaches = m_orphanRiders = 0;

    const auto code = regionCode(path);
    if (!code)
        return refuse(
            QStringLiteral("its name must be \"Region\", a one-character region code and \"-2006.mdb\", "
                           "as in \"Region4-2006.mdb\""));
    QString reason;
    if (!QFileInfo(path).isFile())
        return refuse(QStringLiteral("it does not exist"));
    if (!looksLikeSqliteFile(path, &reason))
        return refuse(reason);

    try {
        m_source.open(path, DbConnection::Mode::ReadOnly);
        const QSqlDatabase db = m_source.database();
        const MeetSchema::NeededTable needed[] = {
            {QStringLiteral("TblTeam"), {"TeamCode", "TeamName", "Division", "District"}},
            {QStringLiteral("TblCoach"), {"TeamCode", "CoachCode", "FirstName", "LastName", "Position"}},
            {QStringLiteral("TblPerson"), {"TeamCode", "FirstName", "LastName", "RiderNumber"}}};
        if (auto missing = MeetSchema::missingColumns(db, needed))
            return refuse(*missing);

        const QString action = QStringLiteral("Reading the regional file");
        const ResultRows teams =
            Sql::select(db, action,
                        QStringLiteral("SELECT TeamCode, TeamName, Division, District FROM TblTeam "
                                       "ORDER BY Division COLLATE NOCASE, TeamName COLLATE NOCASE"));
        const ResultRows coaches = Sql::select(
            db, action,
            QStringLiteral(
                "SELECT TeamCode, CoachCode, FirstName, LastName, Position FROM TblCoach ORDER BY TeamCode, "
                "Position COLLATE NOCASE DESC, LastName COLLATE NOCASE, FirstName COLLATE NOCASE"));
        const ResultRows riders = Sql::select(
            db, action,
            QStringLiteral(
                "SELECT TeamCode, FirstName, LastName, RiderNumber FROM TblPerson ORDER BY TeamCode, "
                "LastName COLLATE NOCASE, FirstName COLLATE NOCASE"));

        QHash<qint64, int> byCode;
        for (const auto &row : teams.rows) {
            byCode.insert(row[0].toLongLong(), m_teams.size());
            m_teams.push_back({std::int32_t(row[0].toLongLong()),
                               row[1].toString(),
                               row[2].toString(),
                               nullToEmpty(row[3]),
                               {},
                               {}});
        }
        for (const auto &row : coaches.rows) {
            const auto team = byCode.constFind(row[0].toLongLong());
            if (row[0].isNull() || team == byCode.cend()) {
                ++m_orphanCoaches;
                continue;
            }
            m_teams[*team].coaches.push_back({std::int32_t(row[0].toLongLong()),
                                              std::int32_t(row[1].toLongLong()), row[2].toString(),
                                              row[3].toString(), row[4].toString()});
        }
        for (const auto &row : riders.rows) {
            const auto team = byCode.constFind(row[0].toLongLong());
            if (row[0].isNull() || team == byCode.cend()) {
                ++m_orphanRiders;
                continue;
            }
            m_teams[*team].riders.push_back(
                {std::int32_t(row[0].toLongLong()), row[1].toString(), row[2].toString(), row[3].toString()});
        }
    } catch (const DbError &e) {
        return refuse(e.isLocked() ? QStringLiteral("it is in use by another program; try again")
                                   : e.engineMessage());
    }
    m_region = *code;
    return std::nullopt;
}

RegionalImport::Outcome RegionalImport::importInto(const QSqlDatabase &meet) const
{
    const QString action = QStringLiteral("Importing the regional file");
    Outcome outcome;
    WriteTransaction::run(meet, action, [&] {
        outcome = {};
        write(meet, outcome, action);
    });
    outcome.coachesWithoutTeam = m_orphanCoaches;
    outcome.ridersWithoutTeam = m_orphanRiders;
    return outcome;
}

void RegionalImport::write(const QSqlDatabase &meet, Outcome &outcome, const QString &action) const
{
    Sql::Repeated coach(
        meet, action,
        QStringLiteral("INSERT INTO TblCoach (FirstName, LastName, Address, City, Zip, \"Primary\", "
                       "Secondary, Email, Position, TeamCode) VALUES (?, ?, '', '', '', '', '', '', ?, ?)"));
    Sql::Repeated rider(
        meet, action,
        QStringLiteral("INSERT INTO TblPerson (FirstName, LastName, Address, City, Zip, TeamCode, "
                       "RiderNumber) VALUES (?, ?, '', '', '', ?, '')"));
    Journal::Recorder journal(meet, action, Journal::Kind::Import,
                              QStringLiteral("Import of region %1").arg(m_region));
    journal.addingTo({QStringLiteral("TblTeam"), QStringLiteral("TblCoach"), QStringLiteral("TblPerson")});
    for (const Team &team : m_teams) {
        const std::int32_t newCode = Sql::insert(
            meet, action,
            QStringLiteral("INSERT INTO TblTeam (TeamName, Division, District, Region) VALUES (?, ?, ?, ?)"),
            {team.name, team.division, team.district, m_region}, QStringLiteral("TeamCode"));
        ++outcome.teams;
        for (const Coach &c : team.coaches) {
            coach.exec({c.firstName, c.lastName, c.position, newCode});
            ++outcome.coaches;
        }
        for (const Rider &r : team.riders) {
            rider.exec({r.firstName, r.lastName, newCode});
            ++outcome.riders;
        }
    }
    journal.setWhat(QStringLiteral("Import of region %1: %2 teams, %3 coaches, %4 riders")
                        .arg(m_region)
                        .arg(outcome.teams)
                        .arg(outcome.coaches)
                        .arg(outcome.riders));
    journal.write();
}
