#include "meetfixture.h"
#include "testengine.h"

#include "common/labelfiles.h"
#include "db/classcatalogue.h"
#include "db/cls_db_manager.h"
#include "db/meetschema.h"
#include "db/sql.h"
#include "db/writetransaction.h"
#include "entries/frmlabelbuilder.h"

#include <QDir>
#include <QStringList>

#include <algorithm>
#include <map>

namespace MeetFixture {

QString createMeet(const QString &folder, bool withLabels)
{
    if (!TestEngine::onServer())
        return createMeetFile(folder, withLabels);
    const QString address = TestEngine::newMeet();
    if (withLabels) {
        DbConnection c;
        c.open(address, DbConnection::Mode::ReadWrite);
        QDir(folder).mkpath(LabelFiles::FolderName);
        FrmLabelBuilder(LabelFiles::folder(folder)).Build_Labels(c.database());
    }
    return address;
}

QString createMeetFile(const QString &folder, bool withLabels)
{
    const QString path = QDir(folder).filePath(QStringLiteral("KORVState2006.mdb"));
    Cls_Db_Manager manager;
    manager.Build_Database(path, [&](const QSqlDatabase &handle) {
        if (!withLabels)
            return;
        QDir(folder).mkpath(LabelFiles::FolderName);
        FrmLabelBuilder(LabelFiles::folder(folder)).Build_Labels(handle);
    });
    return path;
}

QString dump(const QSqlDatabase &db)
{
    QString out;
    for (const MeetSchema::Table &t : MeetSchema::tables()) {
        const ResultRows rows = Sql::select(
            db, QStringLiteral("Dumping"), QStringLiteral("SELECT * FROM %1").arg(QLatin1StringView(t.name)));
        QStringList lines;
        for (const auto &row : rows.rows) {
            QStringList cells;
            for (const QVariant &v : row)
                cells << (v.isNull() ? QStringLiteral("<null>") : v.toString());
            lines << cells.join(u'|');
        }
        lines.sort();
        out += QLatin1StringView(t.name) + u'\n' + lines.join(u'\n') + u'\n';
    }
    return out;
}

} // namespace MeetFixture

std::int32_t MeetBuilder::addTeam(const QString &name, const QString &division, const QString &district,
                                  const QString &region)
{
    return Sql::insert(
        m_db, QStringLiteral("Adding a team"),
        QStringLiteral("INSERT INTO TblTeam (TeamName, Division, District, Region) VALUES (?, ?, ?, ?)"),
        {name, division, Sql::text(district), Sql::text(region)}, QStringLiteral("TeamCode"));
}

std::int32_t MeetBuilder::addCoach(std::int32_t team, const QString &first, const QString &last,
                                   const QString &position)
{
    return Sql::insert(
        m_db, QStringLiteral("Adding a coach"),
        QStringLiteral("INSERT INTO TblCoach (FirstName, LastName, Address, City, Zip, \"Primary\", "
                       "Secondary, Email, Position, TeamCode) VALUES (?, ?, '', '', '', '', '', '', ?, ?)"),
        {first, last, position, team}, QStringLiteral("CoachCode"));
}

std::int32_t MeetBuilder::addRider(std::int32_t team, const QString &first, const QString &last,
                                   const QString &number)
{
    return Sql::insert(
        m_db, QStringLiteral("Adding a rider"),
        QStringLiteral("INSERT INTO TblPerson (FirstName, LastName, Address, City, Zip, TeamCode, "
                       "RiderNumber) VALUES (?, ?, '', '', '', ?, ?)"),
        {first, last, team, Sql::text(number)}, QStringLiteral("RiderIndex"));
}

std::int32_t MeetBuilder::addJudge(const QString &first, const QString &last)
{
    return Sql::insert(
        m_db, QStringLiteral("Adding a judge"),
        QStringLiteral("INSERT INTO TblJudge (FirstName, LastName, Address, City, Zip, PhoneNumber, "
                       "State, Email, Memo) VALUES (?, ?, '', '', '', '', '', '', '')"),
        {first, last}, QStringLiteral("JudgeID"));
}

void MeetBuilder::addEntry(int classNumber, std::int32_t rider)
{
    Sql::exec(m_db, QStringLiteral("Adding an entry"),
              QStringLiteral("INSERT INTO TblEntry (ClassNumber, RiderIndex) VALUES (?, ?)"),
              {classNumber, rider});
}

void MeetBuilder::addPairing(std::int32_t rider, std::int32_t partner)
{
    Sql::exec(m_db, QStringLiteral("Adding a relay partner"),
              QStringLiteral("INSERT INTO TblPairing (RiderIndex, PartnerNumber, PartnerIndex, PartnerFirst, "
                             "PartnerLast) SELECT CAST(? AS INTEGER), CASE WHEN RiderNumber = '' THEN NULL "
                             "ELSE RiderNumber END, "
                             "RiderIndex, FirstName, LastName FROM TblPerson WHERE RiderIndex = ?"),
              {rider, partner});
}

void MeetBuilder::assignJudge(std::int32_t judge, int classNumber, const QString &division)
{
    Sql::exec(m_db, QStringLiteral("Assigning a judge"),
              QStringLiteral("INSERT INTO TblClassJudges (JudgeID, ClassNumber, Division) VALUES (?, ?, ?)"),
              {judge, classNumber, division});
}

void MeetBuilder::addPlacing(int classNumber, int place, std::int32_t rider, const QString &division,
                             std::int32_t judge)
{
    Sql::exec(
        m_db, QStringLiteral("Adding a placing"),
        QStringLiteral("INSERT INTO TblPlacing (ClassNumber, Place, RiderIndex, Points, Division, JudgeID) "
                       "VALUES (?, ?, ?, ?, ?, ?)"),
        {classNumber, place, rider, double(11 - place), division, judge});
}

int MeetBuilder::enterEveryRider(int classNumber, const QString &division)
{
    const QString riders =
        QStringLiteral("FROM TblPerson INNER JOIN TblTeam ON TblTeam.TeamCode = TblPerson.TeamCode "
                       "WHERE TblTeam.Division = ? AND TblPerson.RiderIndex ");
    const QString entered = QStringLiteral("IN (SELECT RiderIndex FROM TblEntry WHERE ClassNumber = ?)");
    Sql::exec(m_db, QStringLiteral("Entering every rider"),
              QStringLiteral("INSERT INTO TblEntry (ClassNumber, RiderIndex) SELECT CAST(? AS INTEGER), "
                             "TblPerson.RiderIndex ") +
                  riders + QStringLiteral("NOT ") + entered,
              {classNumber, division, classNumber});
    return Sql::scalar(m_db, QStringLiteral("Counting the entered riders"),
                       QStringLiteral("SELECT count(*) ") + riders + entered, {division, classNumber})
        .toInt();
}

void MeetBuilder::buildLargeMeet(const LargeMeet &shape)
{
    static const QStringList Divisions{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                                       QStringLiteral("D")};
    static const QStringList FirstNames{
        QStringLiteral("Anna"), QStringLiteral("Ben"),  QStringLiteral("Clara"), QStringLiteral("Dylan"),
        QStringLiteral("Emma"), QStringLiteral("Finn"), QStringLiteral("Grace"), QStringLiteral("Hugo"),
        QStringLiteral("Isla"), QStringLiteral("Jack"), QStringLiteral("Kate"),  QStringLiteral("Liam")};
    static const QStringList LastNames{
        QStringLiteral("Anders"),  QStringLiteral("Baker"), QStringLiteral("Carter"),
        QStringLiteral("O'Brien"), QStringLiteral("Evans"), QStringLiteral("Fisher"),
        QStringLiteral("Gray"),    QStringLiteral("Hale"),  QStringLiteral("Irwin"),
        QStringLiteral("Jones"),   QStringLiteral("Kerr"),  QStringLiteral("Lund")};

    WriteTransaction tx(m_db, QStringLiteral("Building the large meet"));
    std::map<QString, std::vector<std::vector<std::int32_t>>> ridersByDivision; // division -> teams -> riders
    int riderNumber = 0;
    for (int t = 0; t < shape.teams; ++t) {
        const QString division = Divisions[t % 4];
        const std::int32_t team = addTeam(QStringLiteral("Team %1").arg(t + 1, 3, 10, QChar(u'0')), division,
                                          QString::number(t % 20 + 1), QString::number(t % 9 + 1));
        for (int c = 0; c < shape.coachesPerTeam; ++c)
            addCoach(team, FirstNames[(t + c) % 12], LastNames[(t * 3 + c) % 12],
                     c == 0 ? QStringLiteral("Head Coach") : QStringLiteral("Assistant Coach"));
        std::vector<std::int32_t> riders;
        for (int r = 0; r < shape.ridersPerTeam; ++r) {
            ++riderNumber;
            // Numbers hold three digits: a rider past 999 is left without one, like a late entry.
            riders.push_back(addRider(team, FirstNames[(riderNumber * 7) % 12],
                                      LastNames[(riderNumber * 5) % 12],
                                      riderNumber <= 999 ? QString::number(riderNumber) : QString()));
        }
        ridersByDivision[division].push_back(std::move(riders));
    }
    std::vector<std::int32_t> judges;
    for (int j = 0; j < shape.judges; ++j)
        judges.push_back(addJudge(FirstNames[j % 12], LastNames[(j * 5 + 3) % 12] + QString::number(j + 1)));

    if (shape.entriesAndPlacings) {
        int judgeTurn = 0;
        for (const ClassCatalogue::ClassRow &cls : ClassCatalogue::rows()) {
            for (const QString &division : Divisions) {
                std::vector<std::int32_t> entered;
                for (const auto &teamRiders : ridersByDivision[division]) {
                    // Each team fills the class up to its limit, each rider in turn.
                    const int limit = std::min<int>(cls.maxEntries, int(teamRiders.size()));
                    for (int k = 0; k < limit; ++k) {
                        const std::int32_t rider = teamRiders[(cls.number + k) % teamRiders.size()];
                        addEntry(cls.number, rider);
                        if (cls.number == ClassCatalogue::RelayClass)
                            addPairing(rider, teamRiders[(cls.number + k + limit) % teamRiders.size()]);
                        entered.push_back(rider);
                    }
                }
                if (judges.size() < 2 || entered.empty())
                    continue;
                for (int j = 0; j < 2; ++j) {
                    const std::int32_t judge = judges[judgeTurn++ % judges.size()];
                    assignJudge(judge, cls.number, division);
                    for (int place = 1; place <= 10 && place <= int(entered.size()); ++place)
                        addPlacing(cls.number, place, entered[(place * 7 + j * 3) % entered.size()], division,
                                   judge);
                }
            }
        }
    }
    tx.commit();
}

std::int32_t MeetBuilder::addEnteredTeam(const QString &name, const QString &division, int riders,
                                         int firstNumber, int lastNumber)
{
    WriteTransaction tx(m_db, QStringLiteral("Adding an entered team"));
    const std::int32_t team = addTeam(name, division);
    std::vector<std::int32_t> keys;
    for (int r = 0; r < riders; ++r)
        keys.push_back(
            addRider(team, QStringLiteral("Rider%1").arg(r + 1), name,
                     firstNumber + r <= lastNumber ? QString::number(firstNumber + r) : QString()));
    const int n = int(keys.size());
    for (const ClassCatalogue::ClassRow &cls : ClassCatalogue::rows())
        for (int k = 0; k < std::min(cls.maxEntries, n); ++k) {
            addEntry(cls.number, keys[(cls.number + k) % n]);
            if (cls.number == ClassCatalogue::RelayClass)
                addPairing(keys[(cls.number + k) % n], keys[(cls.number + k + cls.maxEntries) % n]);
        }
    tx.commit();
    return team;
}
