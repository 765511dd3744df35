#include "registration/teamroster.h"

#include "db/sql.h"
#include "db/journal.h"
#include "db/writetransaction.h"

namespace {

TeamRecord fromRow(const ResultRows &rows, int r)
{
    return {std::int32_t(rows.integer(r, u"TeamCode")), rows.text(r, u"TeamName"), rows.text(r, u"Division"),
            rows.text(r, u"District"), rows.text(r, u"Region")};
}

} // namespace

QVector<TeamRecord> TeamRoster::listByName() const
{
    const ResultRows rows =
        Sql::select(m_db, QStringLiteral("Reading the team list"),
                    QStringLiteral("SELECT * FROM TblTeam ORDER BY TeamName NULLS FIRST, TeamCode"));
    QVector<TeamRecord> teams;
    teams.reserve(rows.size());
    for (int r = 0; r < rows.size(); ++r)
        teams.push_back(fromRow(rows, r));
    return teams;
}

QString TeamRoster::listLine(const TeamRecord &team)
{
    return team.name + QStringLiteral(" (") + team.division + u')';
}

int TeamRoster::indexOf(const QVector<TeamRecord> &teams, std::int32_t code)
{
    for (int i = 0; i < teams.size(); ++i)
        if (teams[i].code == code)
            return i;
    return -1;
}

std::optional<TeamRecord> TeamRoster::find(std::int32_t code, ReadMark *asRead) const
{
    ReadMark unkept;
    const ResultRows rows = (asRead ? *asRead : unkept)
                                .select(m_db, QStringLiteral("Reading the team"),
                                        QStringLiteral("SELECT * FROM TblTeam WHERE TeamCode = ?"), {code});
    if (rows.isEmpty())
        return std::nullopt;
    return fromRow(rows, 0);
}

bool TeamRoster::hasRiders(std::int32_t code) const
{
    return Sql::scalar(m_db, QStringLiteral("Looking for the team's riders"),
                       QStringLiteral("SELECT EXISTS (SELECT 1 FROM TblPerson WHERE TeamCode = ?)"), {code})
        .toBool();
}

std::optional<QString> TeamRoster::firstFailure(const TeamRecord &team)
{
    if (team.name.isEmpty())
        return QStringLiteral("The Team Name box must be filled in");
    if (team.division.isEmpty())
        return QStringLiteral("You must select a division for this team");
    if (team.district.isEmpty())
        return QStringLiteral("You must specify the district of this team");
    if (team.region.isEmpty())
        return QStringLiteral("You must specify the region of this team");
    return std::nullopt;
}

ReadMark TeamRoster::editMark()
{
    return ReadMark(QStringLiteral("another station changed this team since you opened it."),
                    QStringLiteral("another station deleted this team since you opened it."));
}

std::int32_t TeamRoster::save(const TeamRecord &team, const ReadMark &asRead) const
{
    const QString action = QStringLiteral("Saving the team");
    const QVariantList values{Sql::text(team.name), Sql::text(team.division), Sql::text(team.district),
                              Sql::text(team.region)};
    return asRead.saveRecord(
        m_db, action, team.code, values,
        QStringLiteral("INSERT INTO TblTeam (TeamName, Division, District, Region) VALUES (?, ?, ?, ?)"),
        QStringLiteral(
            "UPDATE TblTeam SET TeamName = ?, Division = ?, District = ?, Region = ? WHERE TeamCode = ?"),
        QStringLiteral("TblTeam"), QStringLiteral("TeamCode"),
        QStringLiteral("Team %1, division %2").arg(team.name, team.division));
}

void TeamRoster::deleteWithCoaches(std::int32_t code) const
{
    const QString action = QStringLiteral("Deleting the team");
    WriteTransaction::run(m_db, action, [&] {
        Journal::Recorder journal(m_db, action, Journal::Kind::Roster, QString());
        journal.watch(QStringLiteral("TblTeam"), QStringLiteral("TeamCode = ?"), {code});
        journal.watch(QStringLiteral("TblCoach"), QStringLiteral("TeamCode = ?"), {code});
        journal.setWhat(QStringLiteral("Team %1 deleted, with its coaches")
                            .arg(journal.before(QStringLiteral("TblTeam"), "TeamName").toString()));
        Sql::exec(m_db, action, QStringLiteral("DELETE FROM TblTeam WHERE TeamCode = ?"), {code});
        Sql::exec(m_db, action, QStringLiteral("DELETE FROM TblCoach WHERE TeamCode = ?"), {code});
        journal.write();
    });
}
