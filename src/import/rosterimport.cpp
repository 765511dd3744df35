#include "import/rosterimport.h"

#include "common/ridernumber.h"
#include "db/engine.h"
#include "db/meetschema.h"
#include "db/sql.h"
#include "db/writetransaction.h"
#include "import/rosterrecords.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>

using namespace RosterFields;

namespace {

const QString ReadAction = QStringLiteral("Reading the meet's roster");
const QString WriteAction = QStringLiteral("Importing the spreadsheet roster");
const QString HeadCoach = QStringLiteral("Head Coach");
const QString AssistantCoach = QStringLiteral("Assistant Coach");

// Characters as the engine counts them: a character outside the basic plane is one.
int characters(const QString &s)
{
    return int(std::count_if(s.cbegin(), s.cend(), [](QChar c) { return !c.isLowSurrogate(); }));
}

QString teamKey(const QString &name, const QString &division)
{
    return name.toCaseFolded() + u'\x1f' + division.toCaseFolded();
}

using Stored = RosterRecords::Record;

// "Bo Brown (12) - Blue (B)", "Hal Hart, Head Coach - Blue (B)", "Blue (B)", "Jo Judge".
QString describe(Kind kind, const QStringList &v)
{
    const auto at = [&](Role role) { return v.value(indexOf(kind, role)); };
    const QString team = at(Role::TeamName) + QStringLiteral(" (") + at(Role::Division) + u')';
    if (kind == Kind::Teams)
        return team;
    QString person = (at(Role::FirstName) + u' ' + at(Role::LastName)).trimmed();
    if (kind == Kind::Judges)
        return person;
    if (kind == Kind::Coaches && !at(Role::Position).isEmpty())
        person += QStringLiteral(", ") + at(Role::Position);
    if (kind == Kind::Riders && !at(Role::RiderNumber).isEmpty())
        person += QStringLiteral(" (") + at(Role::RiderNumber) + u')';
    return person + QStringLiteral(" - ") + team;
}

// What makes two records the same: names (and for coaches and riders, their team), without
// regard to letter case. A team that arrives with the import is "new" + its line.
QString matchKey(Kind kind, const QStringList &v, std::int32_t teamCode, int teamLine = -1)
{
    const auto at = [&](Role role) { return v.value(indexOf(kind, role)).toCaseFolded(); };
    if (kind == Kind::Teams)
        return teamKey(at(Role::TeamName), at(Role::Division));
    const QString names = at(Role::FirstName) + u'\x1f' + at(Role::LastName);
    if (kind == Kind::Judges)
        return names;
    return (teamLine >= 0 ? QStringLiteral("new%1").arg(teamLine) : QString::number(teamCode)) + u'\x1f' +
           names;
}

// The meet's roster as the checks need it.
class Meet
{
public:
    explicit Meet(const std::array<QVector<Stored>, 4> &roster)
    {
        for (const Kind kind : Kinds)
            add(kind, roster[int(kind)]);
    }

    const Stored *team(const QString &key) const { return find(Kind::Teams, key); }
    const Stored *find(Kind kind, const QString &key) const
    {
        const auto it = m_records[int(kind)].constFind(key);
        return it == m_records[int(kind)].cend() ? nullptr : &*it;
    }
    // The rider holding the number, or null.
    const Stored *numberHolder(int number) const
    {
        const auto it = m_numbers.constFind(number);
        return it == m_numbers.cend() ? nullptr : &*it;
    }

private:
    void add(Kind kind, const QVector<Stored> &stored)
    {
        QHash<QString, Stored> &records = m_records[int(kind)];
        const int number = indexOf(kind, Role::RiderNumber);
        for (const Stored &s : stored) {
            if (number >= 0)
                if (const auto n = RiderNumber::convert(s.values[number]); n && !m_numbers.contains(*n))
                    m_numbers.insert(*n, s);
            const QString k = matchKey(kind, s.values, s.teamCode);
            if (!records.contains(k))
                records.insert(k, s);
        }
    }

private:
    std::array<QHash<QString, Stored>, 4> m_records;
    QHash<int, Stored> m_numbers;
};

// The first fault of a line's values, before it is compared with anything: a required field
// missing, a division or position the meet does not know, a value longer than its field, a rider
// number that is no number. Division and position are given the meet's spelling.
QString ownFault(Kind kind, QStringList &values)
{
    const QVector<Field> &f = fields(kind);
    for (int i = 0; i < f.size(); ++i)
        if (f[i].required && values[i].isEmpty())
            return f[i].heading + QStringLiteral(" is missing");
    if (const int d = indexOf(kind, Role::Division); d >= 0) {
        const QString division = values[d].toUpper();
        if (division.size() != 1 || division[0] < u'A' || division[0] > u'D')
            return QStringLiteral("the division \"%1\" is not A, B, C or D").arg(values[d]);
        values[d] = division;
    }
    if (const int p = indexOf(kind, Role::Position); p >= 0) {
        QString plain;
        for (const QChar c : values[p].toCaseFolded())
            if (c.isLetter())
                plain += c;
        if (plain == u"headcoach" || plain == u"head")
            values[p] = HeadCoach;
        else if (plain == u"assistantcoach" || plain == u"assistant" || plain == u"asst" ||
                 plain == u"asstcoach")
            values[p] = AssistantCoach;
        else
            return QStringLiteral("the position \"%1\" is neither %2 nor %3")
                .arg(values[p], HeadCoach, AssistantCoach);
    }
    for (int i = 0; i < f.size(); ++i)
        if (f[i].length > 0 && characters(values[i]) > f[i].length)
            return QStringLiteral("%1 is longer than the meet keeps (%2)")
                .arg(f[i].heading, f[i].length == 1 ? QStringLiteral("1 character")
                                                    : QStringLiteral("%1 characters").arg(f[i].length));
    const int n = indexOf(kind, Role::RiderNumber);
    if (n >= 0 && !values[n].isEmpty() && !RiderNumber::convert(values[n]))
        return QStringLiteral("the rider number \"%1\" is not a whole number").arg(values[n]);
    return {};
}

// Checks the lines of one file in order, each against the meet and the lines before it.
class SheetCheck
{
public:
    using Line = RosterImport::Line;
    using State = RosterImport::State;

    // teams: the checked teams file of the same import, or null.
    SheetCheck(Kind kind, const Meet &meet, const RosterImport::Sheet *teams)
        : m_kind(kind), m_meet(meet), m_team(indexOf(kind, Role::TeamName)),
          m_division(indexOf(kind, Role::Division)), m_number(indexOf(kind, Role::RiderNumber))
    {
        if (teams && namesTeam(kind))
            for (int i = 0; i < teams->lines.size(); ++i)
                if (const Line &t = teams->lines[i]; t.state == State::New)
                    m_arriving.insert(teamKey(t.values[m_team], t.values[m_division]), i);
    }

    void classify(Line &line)
    {
        if (const QString fault = ownFault(m_kind, line.values); !fault.isEmpty())
            return refuse(line, fault);
        if (namesTeam(m_kind)) {
            const QString &name = line.values[m_team];
            const QString &division = line.values[m_division];
            const QString team = teamKey(name, division);
            if (const Stored *t = m_meet.team(team))
                line.teamCode = t->key;
            else if (m_arriving.contains(team))
                line.teamLine = m_arriving.value(team);
            else
                return refuse(line,
                              QStringLiteral("there is no team \"%1\" in division %2").arg(name, division));
        }
        const QString key = matchKey(m_kind, line.values, line.teamCode, line.teamLine);
        if (const auto first = m_seen.constFind(key); first != m_seen.cend())
            return refuse(line, QStringLiteral("the same %1 as line %2").arg(recordName(m_kind)).arg(*first));
        if (const Stored *there = line.teamLine < 0 ? m_meet.find(m_kind, key) : nullptr) {
            line.state = State::Existing;
            line.key = there->key;
            const QVector<Field> &f = fields(m_kind);
            for (int i = 0; i < f.size(); ++i)
                if (f[i].own && !line.values[i].isEmpty() && line.values[i] != there->values[i])
                    line.changes << f[i].heading;
        }
        if (m_number >= 0 && !line.values[m_number].isEmpty()) {
            const QString &typed = line.values[m_number];
            const int n = *RiderNumber::convert(typed);
            if (const Stored *holder = m_meet.numberHolder(n); holder && holder->key != line.key)
                return refuse(line, QStringLiteral("rider number %1 is taken by %2")
                                        .arg(typed, describe(Kind::Riders, holder->values)));
            if (const auto other = m_numberLine.constFind(n); other != m_numberLine.cend())
                return refuse(line,
                              QStringLiteral("rider number %1 is also on line %2").arg(typed).arg(*other));
            m_numberLine.insert(n, line.line);
        }
        m_seen.insert(key, line.line);
    }

private:
    static void refuse(Line &line, const QString &reason)
    {
        line.state = State::Refused;
        line.reason = reason;
        line.key = line.teamCode = line.teamLine = -1;
        line.changes.clear();
    }

    Kind m_kind;
    const Meet &m_meet;
    int m_team;
    int m_division;
    int m_number;
    QHash<QString, int> m_arriving; // the teams file's new teams, by name and division
    QHash<QString, int> m_seen;     // the file line of each record so far
    QHash<int, int> m_numberLine;   // the file line of each rider number so far
};

RosterImport::Sheet check(const RosterSheet &sheet, const Meet &meet, const RosterImport::Sheet *teams)
{
    SheetCheck checker(sheet.kind, meet, teams);
    RosterImport::Sheet out{sheet.kind, sheet.path, {}};
    out.lines.reserve(sheet.records.size());
    const int fields = int(RosterFields::fields(sheet.kind).size());
    for (const Csv::Record &record : sheet.records) {
        RosterImport::Line line;
        line.line = record.line;
        for (int i = 0; i < fields; ++i)
            line.values << sheet.value(record, i);
        checker.classify(line);
        out.lines.push_back(std::move(line));
    }
    return out;
}

} // namespace

int RosterImport::Sheet::count(State state) const
{
    return int(
        std::count_if(lines.cbegin(), lines.cend(), [state](const Line &l) { return l.state == state; }));
}

QString RosterImport::Outcome::message() const
{
    QStringList lines{Success, QString()};
    for (const Count &c : counts) {
        QStringList parts{QStringLiteral("%1 added").arg(c.added)};
        if (c.updated > 0)
            parts << QStringLiteral("%1 updated").arg(c.updated);
        if (c.kept > 0)
            parts << QStringLiteral("%1 already there left as they were").arg(c.kept);
        if (c.refused > 0)
            parts << QStringLiteral("%1 refused lines left out").arg(c.refused);
        lines << kindName(c.kind) + QStringLiteral(": ") + parts.join(QStringLiteral(", "));
    }
    return lines.join(u'\n');
}

RosterImport::RosterImport(QSqlDatabase meet, QVector<RosterSheet> sheets)
    : m_db(std::move(meet)), m_sheets(std::move(sheets))
{
    std::stable_sort(m_sheets.begin(), m_sheets.end(),
                     [](const RosterSheet &a, const RosterSheet &b) { return a.kind < b.kind; });
}

RosterImport::Roster RosterImport::readRoster(const QSqlDatabase &db)
{
    Roster roster;
    for (const Kind kind : Kinds)
        roster[int(kind)] = RosterRecords::read(db, kind, ReadAction);
    return roster;
}

RosterImport::Preview RosterImport::previewOf(const Roster &roster) const
{
    const Meet meet(roster);
    Preview out;
    for (const RosterSheet &sheet : m_sheets) {
        const Sheet *teams = !out.isEmpty() && out.front().kind == Kind::Teams ? &out.front() : nullptr;
        out.push_back(check(sheet, meet, teams));
    }
    return out;
}

RosterImport::Preview RosterImport::preview() const
{
    Roster roster;
    std::optional<quint32> stamp;
    {
        const ReadTransaction oneState(m_db, ReadAction);
        // A meet file changed while it was read has no one stamp for what was read.
        const std::optional<quint32> before = Engine::changeStamp(m_db);
        roster = readRoster(m_db);
        stamp = Engine::changeStamp(m_db);
        if (stamp != before)
            stamp.reset();
    }
    Preview out = previewOf(roster);
    m_last = Made{out, std::move(roster), stamp};
    return out;
}

RosterImport::Outcome RosterImport::importInto(const Preview &previewed, bool updateExisting) const
{
    Outcome outcome;
    WriteTransaction tx(m_db, WriteAction);
    // A preview follows from the files and the meet's roster alone: while the meet (or at least
    // its roster) is as the last preview found it, that preview stands without every line being
    // checked again.
    const Preview now = [&] {
        if (m_last && m_last->stamp && Engine::changeStamp(m_db) == m_last->stamp)
            return m_last->preview;
        const Roster roster = readRoster(m_db);
        return m_last && m_last->roster == roster ? m_last->preview : previewOf(roster);
    }();
    if (now != previewed) {
        outcome.changedSincePreview = true;
        return outcome;
    }
    QVector<std::int32_t> newTeams; // by the teams file's line
    for (const Sheet &sheet : now) {
        const Kind kind = sheet.kind;
        const QString table = tableName(kind);
        const QVector<Field> &f = fields(kind);
        QStringList columns;
        for (const Field &field : f)
            if (field.own)
                columns << field.column;
        if (namesTeam(kind))
            columns << QStringLiteral("TeamCode");
        const QString insert = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                   .arg(table, columns.join(QStringLiteral(", ")),
                                        QStringList(columns.size(), QStringLiteral("?")).join(u','));
        if (kind == Kind::Teams)
            newTeams.fill(-1, sheet.lines.size());
        MeetSchema::IndexesAside aside(m_db, WriteAction, table, sheet.count(State::New));
        // A sheet's thousands of lines go in a hundred at a time; a new team's key is asked back.
        Sql::Inserter adding(m_db, WriteAction, table, columns);

        Count count{kind};
        for (int l = 0; l < sheet.lines.size(); ++l) {
            const Line &line = sheet.lines[l];
            if (line.state == State::Refused) {
                ++count.refused;
            } else if (line.state == State::New) {
                QVariantList values;
                for (int i = 0; i < f.size(); ++i)
                    if (f[i].own)
                        values << Sql::text(line.values[i]);
                if (namesTeam(kind))
                    values << (line.teamLine >= 0 ? newTeams[line.teamLine] : line.teamCode);
                if (kind == Kind::Teams)
                    newTeams[l] = Sql::insert(m_db, WriteAction, insert, values, keyColumn(kind));
                else
                    adding.add(values);
                ++count.added;
            } else if (updateExisting && !line.changes.isEmpty()) {
                QStringList set;
                QVariantList values;
                for (int i = 0; i < f.size(); ++i)
                    if (line.changes.contains(f[i].heading)) {
                        set << f[i].column + QStringLiteral(" = ?");
                        values << line.values[i];
                    }
                Sql::exec(m_db, WriteAction,
                          QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                              .arg(table, set.join(QStringLiteral(", ")), keyColumn(kind)),
                          values << line.key);
                ++count.updated;
            } else {
                ++count.kept;
            }
        }
        adding.finish();
        aside.restore();
        outcome.counts.push_back(count);
    }
    tx.commit();
    return outcome;
}

QString RosterImport::lineText(Kind kind, const Line &line)
{
    QString text = QStringLiteral("Line %1: %2").arg(line.line).arg(describe(kind, line.values));
    if (line.state == State::Refused)
        text += QStringLiteral(": ") + line.reason;
    else if (line.state == State::Existing)
        text += line.changes.isEmpty()
                    ? QStringLiteral(": the same")
                    : QStringLiteral(": differs in ") + line.changes.join(QStringLiteral(", "));
    return text;
}

QString RosterImport::sheetText(const Sheet &sheet)
{
    return QStringLiteral("%1 (%2): %3 new, %4 already there, %5 refused")
        .arg(kindName(sheet.kind), QFileInfo(sheet.path).fileName())
        .arg(sheet.count(State::New))
        .arg(sheet.count(State::Existing))
        .arg(sheet.count(State::Refused));
}
