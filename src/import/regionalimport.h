#pragma once

#include "db/dbconnection.h"

#include <QSqlDatabase>
#include <QString>
#include <QVector>

#include <cstdint>
#include <optional>

// A regional export file: a meet file of a regional meet, named "Region" + code + "-2006.mdb".
// It is opened read-only, checked before anything is written, shown as a tree of teams with
// their coaches and riders, and imported into the meet in one transaction under new keys.
class RegionalImport
{
public:
    static inline const QString Success = QStringLiteral("Data Import Successful");

    struct Coach
    {
        std::int32_t teamCode;
        std::int32_t coachCode;
        QString firstName;
        QString lastName;
        QString position;
    };
    struct Rider
    {
        std::int32_t teamCode;
        QString firstName;
        QString lastName;
        QString riderNumber;
    };
    struct Team
    {
        std::int32_t code;
        QString name;
        QString division;
        QString district;
        QVector<Coach> coaches;
        QVector<Rider> riders;
    };
    struct Outcome
    {
        int teams = 0;
        int coaches = 0;
        int riders = 0;
        int coachesWithoutTeam = 0;
        int ridersWithoutTeam = 0;
        QString message() const; // what the user is told
    };

    // The region code cut from the file name (letter case of the name does not matter);
    // nothing when the name is not "Region" + one character + "-2006.mdb".
    static std::optional<QString> regionCode(const QString &path);

    // Opens and reads the file. On refusal answers the message naming the file and the reason,
    // and nothing has been written anywhere.
    std::optional<QString> load(const QString &path);

    const QString &region() const { return m_region; }
    const QVector<Team> &teams() const { return m_teams; }
    int coachesWithoutTeam() const { return m_orphanCoaches; }
    int ridersWithoutTeam() const { return m_orphanRiders; }

    static QString rootText(const QString &region) { return QStringLiteral("Region ") + region; }
    static QString teamText(const Team &t) { return t.division + QStringLiteral(" - ") + t.name; }
    static QString coachText(const Coach &c)
    {
        return c.firstName + u' ' + c.lastName + QStringLiteral(" - ") + c.position;
    }
    static QString riderText(const Rider &r) { return r.firstName + u' ' + r.lastName; }

    // Copies every team with its coaches and riders into the meet, all or nothing. Throws DbError.
    Outcome importInto(const QSqlDatabase &meet) const;

    void close() { m_source.close(); }

private:
    void write(const QSqlDatabase &meet, Outcome &outcome, const QString &action) const;

    DbConnection m_source;
    QString m_region;
    QVector<Team> m_teams;
    int m_orphanCoaches = 0;
    int m_orphanRiders = 0;
};
