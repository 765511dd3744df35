#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <array>

// The four kinds of roster a spreadsheet carries, and the columns of each: the meet's fields under
// the headings a spreadsheet gives them. Coaches and riders name their team by team name and
// division, since team codes mean nothing outside this meet.
namespace RosterFields {

enum class Kind { Teams, Coaches, Riders, Judges };
inline constexpr std::array<Kind, 4> Kinds{Kind::Teams, Kind::Coaches, Kind::Riders, Kind::Judges};

enum class Role {
    TeamName,
    Division,
    District,
    Region,
    Position,
    RiderNumber,
    FirstName,
    LastName,
    Address,
    City,
    State,
    Zip,
    Primary,
    Secondary,
    Phone,
    Email,
    Memo,
};

struct Field
{
    Role role;
    QString heading; // the column heading written on export, and the name of its column selector
    QString table;   // where the meet keeps it
    QString column;  // as statements name it ("Primary" quoted)
    int length = 0;  // the most characters the meet stores; 0 for no limit
    bool required = false;
    bool own = true; // kept in the kind's own table (a rider's team name and division are not)
};

// In the order of the columns written on export.
const QVector<Field> &fields(Kind kind);
// The position of the role among the kind's fields, -1 when the kind has none.
int indexOf(Kind kind, Role role);

QString kindName(Kind kind);   // "Teams"
QString recordName(Kind kind); // "team"
QString fileName(Kind kind);   // "Teams.csv"
QString tableName(Kind kind);  // "TblTeam"
QString keyColumn(Kind kind);  // "TeamCode"
// Coaches and riders belong to a team; teams and judges do not.
inline bool namesTeam(Kind kind)
{
    return kind == Kind::Coaches || kind == Kind::Riders;
}

// The field each column heading stands for, forgiving case, blanks, underscores and the like
// ("First Name", "first_name", "FirstName", "First") and a slip of one letter in longer
// headings. Answers, for each field of the kind, the index of its column or -1; a column serves
// at most one field, a heading spelt exactly winning over one that is a slip away.
QVector<int> matchColumns(Kind kind, const QStringList &headings);

} // namespace RosterFields
