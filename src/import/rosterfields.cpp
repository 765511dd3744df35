#include "import/rosterfields.h"

#include "db/meetschema.h"

#include <cstdlib>

namespace RosterFields {
namespace {

// The headings a spreadsheet may give a field, as they read once normalised; the first is the
// field's own heading.
QStringList aliases(Role role)
{
    switch (role) {
    case Role::TeamName:
        return {"teamname", "team", "club", "clubname"};
    case Role::Division:
        return {"division", "div", "divsion"};
    case Role::District:
        return {"district", "dist"};
    case Role::Region:
        return {"region", "reg", "regioncode"};
    case Role::Position:
        return {"position", "role", "coachposition", "pos"};
    case Role::RiderNumber:
        return {"ridernumber", "number", "ridernum", "riderno", "no", "num", "bib", "bibnumber"};
    case Role::FirstName:
        return {"firstname", "first", "fname", "givenname", "forename"};
    case Role::LastName:
        return {"lastname", "last", "lname", "surname", "familyname"};
    case Role::Address:
        return {"address", "street", "streetaddress", "address1", "addressline1"};
    case Role::City:
        return {"city", "town"};
    case Role::State:
        return {"state", "province"};
    case Role::Zip:
        return {"zip", "zipcode", "postalcode", "postcode", "postal"};
    case Role::Primary:
        return {"primaryphone", "primary", "primarycontactnumber", "phone", "phone1", "telephone"};
    case Role::Secondary:
        return {"secondaryphone", "secondary", "secondarycontactnumber", "phone2", "cell", "mobile"};
    case Role::Phone:
        return {"phonenumber", "phone", "telephone", "tel"};
    case Role::Email:
        return {"email", "emailaddress", "mail"};
    case Role::Memo:
        return {"notes", "memo", "note", "additionalinformation", "comments"};
    }
    return {};
}

// Letters and digits only, in lower case; "#" reads as "number" ("Rider #").
QString normalised(const QString &heading)
{
    QString out;
    for (const QChar c : heading.toCaseFolded()) {
        if (c == u'#')
            out += QStringLiteral("number");
        else if (c.isLetterOrNumber())
            out += c;
    }
    return out;
}

// True when b is a at most one letter added, dropped, changed, or two neighbours swapped.
bool oneSlipApart(const QString &a, const QString &b)
{
    const qsizetype la = a.size();
    const qsizetype lb = b.size();
    if (a == b)
        return true;
    if (std::abs(la - lb) > 1)
        return false;
    qsizetype i = 0;
    while (i < la && i < lb && a[i] == b[i])
        ++i;
    if (la == lb)
        return a.mid(i + 1) == b.mid(i + 1) ||
               (i + 1 < la && a[i] == b[i + 1] && a[i + 1] == b[i] && a.mid(i + 2) == b.mid(i + 2));
    return la < lb ? a.mid(i) == b.mid(i + 1) : a.mid(i + 1) == b.mid(i);
}

struct FieldRow
{
    Role role;
    const char *heading;
    const char *table;
    const char *column;
    bool required;
};

QVector<Field> build(Kind kind, std::initializer_list<FieldRow> rows)
{
    QVector<Field> out;
    for (const FieldRow &s : rows) {
        int length = 0;
        QString column;
        for (const MeetSchema::Field &f : MeetSchema::table(QLatin1StringView(s.table))->fields)
            if (QLatin1StringView(f.name) == QLatin1StringView(s.column)) {
                length = f.length;
                column = MeetSchema::columnReference(f);
            }
        out.push_back({s.role, QString::fromLatin1(s.heading), QString::fromLatin1(s.table), column, length,
                       s.required, tableName(kind) == QLatin1StringView(s.table)});
    }
    return out;
}

} // namespace

const QVector<Field> &fields(Kind kind)
{
    using R = Role;
    static const std::array<QVector<Field>, 4> all{
        build(Kind::Teams, {{R::TeamName, "Team Name", "TblTeam", "TeamName", true},
                            {R::Division, "Division", "TblTeam", "Division", true},
                            {R::District, "District", "TblTeam", "District", false},
                            {R::Region, "Region", "TblTeam", "Region", false}}),
        build(Kind::Coaches, {{R::TeamName, "Team Name", "TblTeam", "TeamName", true},
                              {R::Division, "Division", "TblTeam", "Division", true},
                              {R::Position, "Position", "TblCoach", "Position", true},
                              {R::FirstName, "First Name", "TblCoach", "FirstName", true},
                              {R::LastName, "Last Name", "TblCoach", "LastName", true},
                              {R::Address, "Address", "TblCoach", "Address", false},
                              {R::City, "City", "TblCoach", "City", false},
                              {R::Zip, "Zip", "TblCoach", "Zip", false},
                              {R::Primary, "Primary Phone", "TblCoach", "Primary", false},
                              {R::Secondary, "Secondary Phone", "TblCoach", "Secondary", false},
                              {R::Email, "Email", "TblCoach", "Email", false}}),
        build(Kind::Riders, {{R::TeamName, "Team Name", "TblTeam", "TeamName", true},
                             {R::Division, "Division", "TblTeam", "Division", true},
                             {R::RiderNumber, "Rider Number", "TblPerson", "RiderNumber", false},
                             {R::FirstName, "First Name", "TblPerson", "FirstName", true},
                             {R::LastName, "Last Name", "TblPerson", "LastName", true},
                             {R::Address, "Address", "TblPerson", "Address", false},
                             {R::City, "City", "TblPerson", "City", false},
                             {R::Zip, "Zip", "TblPerson", "Zip", false}}),
        build(Kind::Judges, {{R::FirstName, "First Name", "TblJudge", "FirstName", true},
                             {R::LastName, "Last Name", "TblJudge", "LastName", true},
                             {R::Address, "Address", "TblJudge", "Address", false},
                             {R::City, "City", "TblJudge", "City", false},
                             {R::State, "State", "TblJudge", "State", false},
                             {R::Zip, "Zip", "TblJudge", "Zip", false},
                             {R::Phone, "Phone Number", "TblJudge", "PhoneNumber", false},
                             {R::Email, "Email", "TblJudge", "Email", false},
                             {R::Memo, "Notes", "TblJudge", "Memo", false}}),
    };
    return all[int(kind)];
}

int indexOf(Kind kind, Role role)
{
    const QVector<Field> &f = fields(kind);
    for (int i = 0; i < f.size(); ++i)
        if (f[i].role == role)
            return i;
    return -1;
}

QString kindName(Kind kind)
{
    static const std::array<QString, 4> names{QStringLiteral("Teams"), QStringLiteral("Coaches"),
                                              QStringLiteral("Riders"), QStringLiteral("Judges")};
    return names[int(kind)];
}

QString recordName(Kind kind)
{
    static const std::array<QString, 4> names{QStringLiteral("team"), QStringLiteral("coach"),
                                              QStringLiteral("rider"), QStringLiteral("judge")};
    return names[int(kind)];
}

QString tableName(Kind kind)
{
    static const std::array<QString, 4> names{QStringLiteral("TblTeam"), QStringLiteral("TblCoach"),
                                              QStringLiteral("TblPerson"), QStringLiteral("TblJudge")};
    return names[int(kind)];
}

QString keyColumn(Kind kind)
{
    static const std::array<QString, 4> names{QStringLiteral("TeamCode"), QStringLiteral("CoachCode"),
                                              QStringLiteral("RiderIndex"), QStringLiteral("JudgeID")};
    return names[int(kind)];
}

QString fileName(Kind kind)
{
    return kindName(kind) + QStringLiteral(".csv");
}

QVector<int> matchColumns(Kind kind, const QStringList &headings)
{
    const QVector<Field> &f = fields(kind);
    QStringList heard;
    for (const QString &h : headings)
        heard << normalised(h);
    QVector<int> columnOf(f.size(), -1);
    QVector<bool> taken(heard.size(), false);
    for (const bool exact : {true, false}) {
        for (int i = 0; i < f.size(); ++i) {
            for (const QString &alias : aliases(f[i].role)) {
                for (int c = 0; c < heard.size() && columnOf[i] < 0; ++c)
                    if (!taken[c] &&
                        (exact ? heard[c] == alias : alias.size() >= 5 && oneSlipApart(heard[c], alias))) {
                        columnOf[i] = c;
                        taken[c] = true;
                    }
                if (columnOf[i] >= 0)
                    break;
            }
        }
    }
    return columnOf;
}

} // namespace RosterFields
