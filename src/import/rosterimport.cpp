#include "import/rosterimport.h"

#include "common/ridernumber.h"
#include "db/engine.h"
#include "db/meetschema.h"
#include "db/journal.h"
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

// The post a coach's position names: head coach, assistant, or neither.
enum class Post { None, Head, Assistant };

Post postOf(const QString &position)
{
    QString plain;
    for (const QChar c : position.toCaseFolded())
        if (c.isLetter())
            plain += c;
    if (plain == u"headcoach" || plain == u"head")
        return Post::Head;
    if (plain == u"assistantcoach" || plain == u"assistant" || plain == u"asst" || plain == u"asstcoach")
        return Post::Assistant;
    return Post::None;
}

// Two values of a field say the same: a rider number by the number it means (7 and 07), a
// position by the post it names, anything else as written.
bool sameValue(Role role, const QString &a, const QString &b)
{
    if (a == b)
        return true;
    if (role == Role::RiderNumber)
        return RiderNumber::sameNumber(a, b);
    if (role == Role::Position)
        return postOf(a) != Post::None && postOf(a) == postOf(b);
    return false;
}

// The fields of a line that would change the stored record: those given and saying otherwise.
QStringList changesOf(Kind kind, const QStringList &line, const QStringList &stored)
{
    QStringList changes;
    const QVector<Field> &f = fields(kind);
    for (int i = 0; i < f.size(); ++i)
        if (f[i].own && !line[i].isEmpty() && !sameValue(f[i].role, line[i], stored[i]))
            changes << f[i].heading;
    return changes;
}

// Two lines of the same names are told apart by a field both give and that differs (a rider's
// number, a judge's city); teams by their name and division alone.
bool toldApart(Kind kind, const QStringList &a, const QStringList &b)
{
    if (kind == Kind::Teams)
        return false;
    const QVector<Field> &f = fields(kind);
    for (int i = 0; i < f.size(); ++i)
        if (f[i].own && f[i].role != Role::FirstName && f[i].role != Role::LastName && !a[i].isEmpty() &&
            !b[i].isEmpty() && !sameValue(f[i].role, a[i], b[i]))
            return true;
    return false;
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

    const Stored *team(const QString &key) const
    {
        const QVector<const Stored *> alike = find(Kind::Teams, key);
        return alike.isEmpty() ? nullptr : alike.front();
    }
    // The records of the kind under the key, by their key.
    QVector<const Stored *> find(Kind kind, const QString &key) const
    {
        return m_records[int(kind)].value(key);
    }
    // The rider holding the number, or null.
    const Stored *numberHolder(int number) const { return m_numbers.value(number); }

private:
    void add(Kind kind, const QVector<Stored> &stored)
    {
        QHash<QString, QVector<const Stored *>> &records = m_records[int(kind)];
        const int number = indexOf(kind, Role::RiderNumber);
        for (const Stored &s : stored) {
            if (number >= 0)
                if (const auto n = RiderNumber::convert(s.values[number]); n && !m_numbers.contains(*n))
                    m_numbers.insert(*n, &s);
            records[matchKey(kind, s.values, s.teamCode)].push_back(&s);
        }
    }

    std::array<QHash<QString, QVector<const Stored *>>, 4> m_records;
    QHash<int, const Stored *> m_numbers;
};

// A rider number as the import takes it: digits alone, as a bib shows it (07 and 7 are one
// number, as on the rider form). A sign or a fraction, which the rider form would turn into
// another number than the one written, is refused.
bool plainNumber(const QString &number)
{
    return std::all_of(number.cbegin(), number.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The first fault of a line's values, before it is compared with anything: a required field
// missing, a division or position the meet does not know, a value longer than its field, a rider
// number that is not one. A division is given the meet's spelling, and so is a head coach (the
// only post the coach form reads by its spelling); other positions are kept as written.
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
        const Post post = postOf(values[p]);
        if (post == Post::None)
            return QStringLiteral("the position \"%1\" is neither %2 nor %3")
                .arg(values[p], HeadCoach, AssistantCoach);
        if (post == Post::Head)
            values[p] = HeadCoach;
    }
    for (int i = 0; i < f.size(); ++i)
        if (f[i].length > 0 && characters(values[i]) > f[i].length)
            return QStringLiteral("%1 is longer than the meet keeps (%2)")
                .arg(f[i].heading, f[i].length == 1 ? QStringLiteral("1 character")
                                                    : QStringLiteral("%1 characters").arg(f[i].length));
    const int n = indexOf(kind, Role::RiderNumber);
    if (n >= 0 && !values[n].isEmpty() && !plainNumber(values[n]))
        return QStringLiteral("the rider number \"%1\" is not a whole number from 0 to 999").arg(values[n]);
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
        if (const QString same = match(line, key); !same.isEmpty())
            return refuse(line, same);
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
        if (line.state == State::Existing)
            m_taken.insert(line.key, {line.line, line.values});
        else
            m_new[key].push_back({line.line, line.values});
    }

private:
    // Finds the record the line is, among the meet's records of its names and the new lines
    // before it: a record the line changes nothing of, else the only one of those names. Answers
    // why the line is refused when it repeats a line before it or cannot tell which record it is.
    QString match(Line &line, const QString &key)
    {
        const QVector<const Stored *> alike =
            line.teamLine < 0 ? m_meet.find(m_kind, key) : QVector<const Stored *>{};
        QVector<const Stored *> free; // not yet found by a line before
        for (const Stored *s : alike)
            if (!m_taken.contains(s->key))
                free << s;
        const Stored *found = nullptr;
        for (const Stored *s : free)
            if (changesOf(m_kind, line.values, s->values).isEmpty()) {
                found = s;
                break;
            }
        if (!found && alike.size() == 1 && free.size() == 1)
            found = free.front();
        if (found) {
            line.state = State::Existing;
            line.key = found->key;
            line.changes = changesOf(m_kind, line.values, found->values);
            return {};
        }
        // A line that a line before it cannot be told apart from, found in the meet or new.
        const QString same = QStringLiteral("the same %1 as line %2").arg(recordName(m_kind));
        for (const Stored *s : alike)
            if (const auto by = m_taken.constFind(s->key);
                by != m_taken.cend() && !toldApart(m_kind, line.values, by->second))
                return same.arg(by->first);
        for (const auto &[at, values] : m_new.value(key))
            if (!toldApart(m_kind, line.values, values))
                return same.arg(at);
        if (!free.isEmpty())
            return QStringLiteral("the meet holds %1 %2 of these names, and this line is none of them")
                .arg(alike.size())
                .arg(kindName(m_kind).toLower());
        return {};
    }

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
    QHash<std::int32_t, std::pair<int, QStringList>> m_taken;   // the line that found each record there
    QHash<QString, QVector<std::pair<int, QStringList>>> m_new; // the new lines so far, by names
    QHash<int, int> m_numberLine;                               // the file line of each rider number so far
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
    Journal::Recorder journal(m_db, WriteAction, Journal::Kind::Import, QString());
    QStringList tables;
    for (const Sheet &sheet : now)
        tables << tableName(sheet.kind);
    journal.addingTo(tables);
    for (const Sheet &sheet : now) {
        QVector<qint64> updating;
        for (const Line &line : sheet.lines)
            if (updateExisting && line.state == State::Existing && !line.changes.isEmpty())
                updating << line.key;
        journal.watchKeys(tableName(sheet.kind), keyColumn(sheet.kind), updating);
    }
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
    QStringList said;
    for (const Count &c : outcome.counts)
        said << QStringLiteral("%1 %2 new, %3 updated").arg(kindName(c.kind)).arg(c.added).arg(c.updated);
    journal.setWhat(QStringLiteral("Spreadsheet import: ") + said.join(QStringLiteral("; ")));
    journal.write();
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
