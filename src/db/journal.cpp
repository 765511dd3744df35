#include "db/journal.h"

#include "db/engine.h"
#include "db/meetschema.h"
#include "db/sql.h"

#include <QDataStream>
#include <QHash>
#include <QIODevice>
#include <QMutex>
#include <QSet>
#include <QSysInfo>

#include <array>

namespace Journal {
namespace {

constexpr std::array KindNames{"Roster", "Entries", "Judge assignments", "Placings", "Rider numbers",
                               "Import", "Restore", "Meet copied in", "Put back"};
constexpr quint8 Format = 1;
// Keys bound in one statement, well under either engine's limit of bound values.
constexpr int KeysPerScope = 500;

QMutex guard;
QString stationName;
QSet<QString> withoutJournal; // connection names

QString savedAtText(const QDateTime &t)
{
    return t.toUTC().toString(Qt::ISODateWithMs);
}

bool absent(const QSqlDatabase &db)
{
    const QMutexLocker lock(&guard);
    return withoutJournal.contains(db.connectionName());
}

qint64 insertLine(const QSqlDatabase &db, const QString &action, Kind kind, const QString &what,
                  const QVector<Scope> &scopes)
{
    if (absent(db))
        return 0;
    QStringList tables;
    for (const Scope &s : scopes)
        if (!tables.contains(s.table))
            tables << s.table;
    const QString place = station();
    return Sql::insert(db, action,
                       QStringLiteral("INSERT INTO TblJournal (SavedAt, Station, Kind, What, TableNames, "
                                      "RowData) VALUES (?, ?, ?, ?, ?, ?)"),
                       {savedAtText(QDateTime::currentDateTimeUtc()),
                        place.left(MeetSchema::journal().fields[2].length), kindName(kind), what,
                        tables.join(u' ').left(MeetSchema::journal().fields[5].length), pack(scopes)},
                       QStringLiteral("JournalID"));
}

// "2026-12-07T14:03:22.123Z", as the program writes it, read without the general parser: the
// History window reads thousands of them at once. Anything else goes through the parser.
QDateTime savedAtOf(const QString &t)
{
    const auto n = [&t](int from, int length) { return QStringView(t).mid(from, length).toInt(); };
    if (t.size() == 24 && t[4] == u'-' && t[10] == u'T' && t[19] == u'.' && t[23] == u'Z')
        return QDateTime(QDate(n(0, 4), n(5, 2), n(8, 2)), QTime(n(11, 2), n(14, 2), n(17, 2), n(20, 3)),
                         Qt::UTC);
    return QDateTime::fromString(t, Qt::ISODateWithMs);
}

Line lineOf(const QVector<QVariant> &row)
{
    return {row[0].toLongLong(),
            savedAtOf(row[1].toString()),
            row[2].toString(),
            row[3].toString(),
            row[4].toString(),
            row[5].toString().split(u' ', Qt::SkipEmptyParts)};
}

const QString LineColumns = QStringLiteral("JournalID, SavedAt, Station, Kind, What, TableNames");

} // namespace

QString kindName(Kind kind)
{
    return QString::fromLatin1(KindNames[size_t(kind)]);
}

QStringList kindNames()
{
    QStringList out;
    for (const char *name : KindNames)
        out << QString::fromLatin1(name);
    return out;
}

void setStation(const QString &name)
{
    const QMutexLocker lock(&guard);
    stationName = name.trimmed();
}

QString station()
{
    {
        const QMutexLocker lock(&guard);
        if (!stationName.isEmpty())
            return stationName;
    }
    return QSysInfo::machineHostName();
}

bool checkPresent(const QSqlDatabase &db)
{
    bool present = false;
    try {
        present = Engine::tables(db).contains(QStringLiteral("TblJournal"), Qt::CaseInsensitive);
    } catch (const DbError &) {
    }
    const QMutexLocker lock(&guard);
    if (present)
        withoutJournal.remove(db.connectionName());
    else
        withoutJournal.insert(db.connectionName());
    return present;
}

QStringList columnsOf(const QString &table)
{
    QStringList out;
    if (const MeetSchema::Table *t = MeetSchema::table(table))
        for (const MeetSchema::Field &f : t->fields)
            out << MeetSchema::columnReference(f);
    return out;
}

QVector<QVariantList> rowsOf(const QSqlDatabase &db, const QString &action, const QString &table,
                             const QString &where, const QVariantList &values)
{
    // Identifiers only: the table is one of the meet's own, the condition the program's.
    const ResultRows rows =
        Sql::select(db, action,
                    QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                        .arg(columnsOf(table).join(QStringLiteral(", ")), table, where),
                    values);
    QVector<QVariantList> out;
    out.reserve(rows.size());
    for (const auto &row : rows.rows)
        out.push_back(QVariantList(row.cbegin(), row.cend()));
    return out;
}

Recorder::Recorder(QSqlDatabase db, QString action, Kind kind, QString what)
    : m_db(std::move(db)), m_action(std::move(action)), m_kind(kind), m_what(std::move(what))
{
}

void Recorder::watch(const QString &table, const QString &where, const QVariantList &values)
{
    if (absent(m_db))
        return;
    m_scopes.push_back({table, where, values, rowsOf(m_db, m_action, table, where, values), {}});
}

QVariant Recorder::before(const QString &table, const char *column) const
{
    const MeetSchema::Table *t = MeetSchema::table(table);
    if (!t)
        return {};
    const auto field = std::find_if(std::begin(t->fields), std::end(t->fields),
                                    [&](const MeetSchema::Field &f) { return qstrcmp(f.name, column) == 0; });
    const qsizetype c = field - std::begin(t->fields);
    for (const Scope &s : m_scopes)
        if (s.table == table && !s.before.isEmpty() && c < s.before.front().size())
            return s.before.front().value(c);
    return {};
}

void Recorder::added(const QString &table, const QString &where, const QVariantList &values)
{
    m_scopes.push_back({table, where, values, {}, {}});
}

void Recorder::watchKeys(const QString &table, const QString &keyColumn, const QVector<qint64> &keys)
{
    for (qsizetype from = 0; from < keys.size(); from += KeysPerScope) {
        QVariantList values;
        for (qsizetype i = from; i < std::min(keys.size(), from + KeysPerScope); ++i)
            values << keys[i];
        watch(table,
              QStringLiteral("%1 IN (%2)").arg(keyColumn, QStringList(values.size(), QStringLiteral("?")).join(u',')),
              values);
    }
}

namespace {
QString keyOf(const QString &table)
{
    if (const MeetSchema::Table *t = MeetSchema::table(table))
        for (const MeetSchema::Field &f : t->fields)
            if (f.type == MeetSchema::FieldType::AutoNumber)
                return QString::fromLatin1(f.name);
    return {};
}
qint64 highest(const QSqlDatabase &db, const QString &action, const QString &table, const QString &key)
{
    return Sql::scalar(db, action, QStringLiteral("SELECT coalesce(max(%1), 0) FROM %2").arg(key, table))
        .toLongLong();
}
} // namespace

void Recorder::addingTo(const QStringList &tables)
{
    if (absent(m_db))
        return;
    for (const QString &table : tables) {
        const QString key = keyOf(table);
        m_adding.push_back({table, key, highest(m_db, m_action, table, key)});
    }
}

qint64 Recorder::write()
{
    if (absent(m_db))
        return 0;
    for (const Adding &a : m_adding) {
        const qint64 top = highest(m_db, m_action, a.table, a.key);
        if (top > a.above)
            added(a.table, QStringLiteral("%1 BETWEEN ? AND ?").arg(a.key), {a.above + 1, top});
    }
    m_adding.clear();
    for (Scope &s : m_scopes)
        s.after = rowsOf(m_db, m_action, s.table, s.where, s.values);
    return insertLine(m_db, m_action, m_kind, m_what, m_scopes);
}

qint64 writeLine(const QSqlDatabase &db, const QString &action, Kind kind, const QString &what)
{
    return insertLine(db, action, kind, what, {});
}

QVector<Line> lines(const QSqlDatabase &db, const Filter &filter)
{
    QStringList conditions;
    QVariantList values;
    if (!filter.kind.isEmpty()) {
        conditions << QStringLiteral("Kind = ?");
        values << filter.kind;
    }
    if (!filter.station.isEmpty()) {
        conditions << QStringLiteral("Station = ?");
        values << filter.station;
    }
    if (filter.from.isValid()) {
        conditions << QStringLiteral("SavedAt >= ?");
        values << savedAtText(filter.from);
    }
    if (filter.until.isValid()) {
        conditions << QStringLiteral("SavedAt < ?");
        values << savedAtText(filter.until);
    }
    const ResultRows rows = Sql::select(
        db, QStringLiteral("Reading the journal"),
        QStringLiteral("SELECT %1 FROM TblJournal %2 ORDER BY JournalID DESC")
            .arg(LineColumns, conditions.isEmpty() ? QString()
                                                    : QStringLiteral("WHERE ") + conditions.join(QStringLiteral(" AND "))),
        values);
    QVector<Line> out;
    out.reserve(rows.size());
    for (const auto &row : rows.rows)
        out.push_back(lineOf(row));
    return out;
}

QStringList stations(const QSqlDatabase &db)
{
    QStringList out;
    for (const auto &row : Sql::select(db, QStringLiteral("Reading the journal"),
                                       QStringLiteral("SELECT DISTINCT Station FROM TblJournal ORDER BY Station"))
                               .rows)
        out << row[0].toString();
    return out;
}

std::optional<Line> line(const QSqlDatabase &db, qint64 id, QVector<Scope> *scopes)
{
    const ResultRows rows =
        Sql::select(db, QStringLiteral("Reading the journal"),
                    QStringLiteral("SELECT %1, RowData FROM TblJournal WHERE JournalID = ?").arg(LineColumns), {id});
    if (rows.isEmpty())
        return std::nullopt;
    if (scopes)
        *scopes = unpack(rows.rows.front()[6].toByteArray());
    return lineOf(rows.rows.front());
}

QByteArray pack(const QVector<Scope> &scopes)
{
    QByteArray raw;
    QDataStream out(&raw, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << Format << qint32(scopes.size());
    for (const Scope &s : scopes)
        out << s.table << s.where << s.values << s.before << s.after;
    return qCompress(raw);
}

QVector<Scope> unpack(const QByteArray &data)
{
    QVector<Scope> scopes;
    const QByteArray raw = qUncompress(data);
    QDataStream in(raw);
    in.setVersion(QDataStream::Qt_6_0);
    quint8 format = 0;
    qint32 count = 0;
    in >> format >> count;
    if (format != Format || count < 0)
        return {};
    for (qint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        Scope s;
        in >> s.table >> s.where >> s.values >> s.before >> s.after;
        scopes.push_back(std::move(s));
    }
    // Rows damaged on the way are no rows to put back.
    return in.status() == QDataStream::Ok ? scopes : QVector<Scope>{};
}

} // namespace Journal
