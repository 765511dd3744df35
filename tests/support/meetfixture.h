#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVector>

#include <cstdint>

// Builds meets for tests and the benchmark: a fresh meet, and rows written straight into its
// tables (bound values, one transaction per call where it writes many rows).
namespace MeetFixture {

// A new meet (tables and classes) where this test keeps its meets (TestEngine): the file
// folder/KORVState2006.mdb, or a fresh database on the test server. Answers its location. The
// label images, only when asked, are drawn into the folder either way.
QString createMeet(const QString &folder, bool withLabels = false);
// A new meet file, whatever the engine of the test (a regional file is one).
QString createMeetFile(const QString &folder, bool withLabels = false);

// Every table's rows as text, in a fixed order: compares a meet before and after an action.
QString dump(const QSqlDatabase &db);

} // namespace MeetFixture

class MeetBuilder
{
public:
    explicit MeetBuilder(QSqlDatabase db) : m_db(std::move(db)) {}

    std::int32_t addTeam(const QString &name, const QString &division,
                         const QString &district = QStringLiteral("1"),
                         const QString &region = QStringLiteral("1"));
    std::int32_t addCoach(std::int32_t team, const QString &first, const QString &last,
                          const QString &position = QStringLiteral("Head Coach"));
    std::int32_t addRider(std::int32_t team, const QString &first, const QString &last,
                          const QString &number = QString());
    std::int32_t addJudge(const QString &first, const QString &last);
    void addEntry(int classNumber, std::int32_t rider);
    void addPairing(std::int32_t rider, std::int32_t partner);
    void assignJudge(std::int32_t judge, int classNumber, const QString &division);
    void addPlacing(int classNumber, int place, std::int32_t rider, const QString &division,
                    std::int32_t judge);
    // Enters every rider of the division's teams not yet in the class; answers how many riders of
    // the division the class then holds.
    int enterEveryRider(int classNumber, const QString &division);

    struct LargeMeet
    {
        int teams = 100;
        int ridersPerTeam = 10;
        int coachesPerTeam = 2;
        int judges = 60;
        bool entriesAndPlacings = true;

        // The shape above in proportion to a meet of the given riders (10 a team, 60 judges a
        // thousand riders).
        static LargeMeet ofRiders(int riders) { return {riders / 10, 10, 2, riders * 60 / 1000, true}; }
    };
    // The large meet of the benchmark: teams spread over the four divisions, riders numbered from 1
    // (999 at most: the rest are left without one, like late entries), every class of every
    // division entered up to its limit, judged by two judges and placed 1 to 10.
    void buildLargeMeet(const LargeMeet &shape);
    void buildLargeMeet() { buildLargeMeet(LargeMeet{}); }

    // A team of the division with riders numbered from firstNumber on (to lastNumber; the rest
    // without a number), every class entered up to its limit (the riders in turn) and each relay
    // entry paired with a team mate. Answers the team.
    std::int32_t addEnteredTeam(const QString &name, const QString &division, int riders, int firstNumber,
                                int lastNumber = 999);

    const QSqlDatabase &db() const { return m_db; }

private:
    QSqlDatabase m_db;
};
