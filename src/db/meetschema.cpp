#include "db/meetschema.h"

#include "db/dbconnection.h"
#include "db/engine.h"
#include "db/sql.h"
#include "db/writetransaction.h"

#include <QScopeGuard>
#include <QSqlQuery>

#include <array>
#include <vector>

namespace MeetSchema {
namespace {

using T = FieldType;

constexpr std::array ClassFields{
    Field{"ClassNumber", T::Integer, 0, false, true},
    Field{"ClassName", T::Text, 40},
    Field{"MaxEntries", T::Single},
    Field{"ImagePath", T::Text, 50},
};
constexpr std::array ClassJudgesFields{
    Field{"JudgeID", T::Long},
    Field{"ClassNumber", T::Integer},
    Field{"Division", T::Text, 1},
};
constexpr std::array CoachFields{
    Field{"FirstName", T::Text, 50},
    Field{"LastName", T::Text, 50},
    Field{"Address", T::Text, 50, true},
    Field{"City", T::Text, 50, true},
    Field{"Zip", T::Text, 5, true},
    Field{"Primary", T::Text, 50, true},
    Field{"Secondary", T::Text, 50, true},
    Field{"Email", T::Text, 50, true},
    Field{"Position", T::Text, 50},
    Field{"TeamCode", T::Long},
    Field{"CoachCode", T::AutoNumber, 0, false, true},
};
constexpr std::array EntryFields{
    Field{"ClassNumber", T::Integer},
    Field{"RiderIndex", T::Long},
};
constexpr std::array JudgeFields{
    Field{"FirstName", T::Text, 50},     Field{"LastName", T::Text, 50},
    Field{"Address", T::Text, 50, true}, Field{"City", T::Text, 50, true},
    Field{"Zip", T::Text, 5, true},      Field{"PhoneNumber", T::Text, 50, true},
    Field{"State", T::Text, 50, true},   Field{"Email", T::Text, 50, true},
    Field{"Memo", T::Memo, 0, true},     Field{"JudgeID", T::AutoNumber, 0, false, true},
};
constexpr std::array PairingFields{
    Field{"RiderIndex", T::Long},
    Field{"PartnerNumber", T::Text, 3},
    Field{"PartnerIndex", T::Long},
    Field{"PartnerFirst", T::Text, 50},
    Field{"PartnerLast", T::Text, 50, true},
};
constexpr std::array PersonFields{
    Field{"FirstName", T::Text, 50},        Field{"LastName", T::Text, 50},
    Field{"Address", T::Text, 50, true},    Field{"City", T::Text, 50, true},
    Field{"Zip", T::Text, 10, true},        Field{"TeamCode", T::Long},
    Field{"RiderNumber", T::Text, 3, true}, Field{"RiderIndex", T::AutoNumber, 0, false, true},
};
constexpr std::array PlacingFields{
    Field{"ClassNumber", T::Integer}, Field{"Place", T::Integer},    Field{"RiderIndex", T::Long},
    Field{"Points", T::Single},       Field{"Division", T::Text, 1}, Field{"JudgeID", T::Long},
};
constexpr std::array TeamFields{
    Field{"TeamCode", T::AutoNumber, 0, false, true},
    Field{"TeamName", T::Text, 50},
    Field{"Division", T::Text, 1},
    Field{"District", T::Text, 3, true},
    Field{"Region", T::Text, 1, true},
};

// One line per save: when, from which station, what in words, and the rows it replaced and wrote.
constexpr std::array JournalFields{
    Field{"JournalID", T::AutoNumber, 0, false, true},
    Field{"SavedAt", T::Text, 30},
    Field{"Station", T::Text, 100, true},
    Field{"Kind", T::Text, 30},
    Field{"What", T::Memo},
    Field{"TableNames", T::Text, 255, true},
    Field{"RowData", T::Bytes},
};
const Table Journal{"TblJournal", JournalFields};

const std::array Tables{
    Table{"TblClass", ClassFields},   Table{"TblClassJudges", ClassJudgesFields},
    Table{"TblCoach", CoachFields},   Table{"TblEntry", EntryFields},
    Table{"TblJudge", JudgeFields},   Table{"TblPairing", PairingFields},
    Table{"TblPerson", PersonFields}, Table{"TblPlacing", PlacingFields},
    Table{"TblTeam", TeamFields},
};

constexpr std::array Indexes{
    Index{"IdxPersonTeam", "TblPerson", "TeamCode"},
    Index{"IdxCoachTeam", "TblCoach", "TeamCode"},
    Index{"IdxEntryRider", "TblEntry", "RiderIndex, ClassNumber"},
    Index{"IdxEntryClass", "TblEntry", "ClassNumber"},
    Index{"IdxPairingRider", "TblPairing", "RiderIndex"},
    Index{"IdxPlacingRider", "TblPlacing", "RiderIndex"},
    Index{"IdxPlacingClass", "TblPlacing", "ClassNumber, Division"},
    Index{"IdxClassJudgesClass", "TblClassJudges", "ClassNumber, Division"},
    Index{"IdxClassJudgesJudge", "TblClassJudges", "JudgeID"},
};

QString quoted(const char *name)
{
    return u'"' + QString::fromLatin1(name) + u'"';
}

// The file keeps each name as written. The server folds names written plainly to lower case, as
// every statement of the program writes them; "Primary", a word of its language, is quoted in
// every statement and so keeps its case there.
QString columnName(const Field &f, bool server)
{
    if (server && QLatin1StringView(f.name) != QLatin1StringView("Primary"))
        return QString::fromLatin1(f.name).toLower();
    return quoted(f.name);
}

QString columnDefinition(const Field &f, bool server)
{
    const QString n = columnName(f, server);
    switch (f.type) {
    case T::Integer:
        // A key that must be given: on the file the table is WITHOUT ROWID, so NULL is refused.
        return n + (server ? QStringLiteral(" smallint") : QStringLiteral(" INTEGER")) +
               (f.primaryKey ? QStringLiteral(" NOT NULL PRIMARY KEY") : QString()) +
               QStringLiteral(" CHECK (%1 BETWEEN -32768 AND 32767)").arg(n);
    case T::Long:
        return n + QStringLiteral(" INTEGER CHECK (%1 BETWEEN -2147483648 AND 2147483647)").arg(n);
    case T::AutoNumber:
        return n +
               (server ? QStringLiteral(" integer GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY")
                       : QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT")) +
               QStringLiteral(" CHECK (%1 BETWEEN 1 AND 2147483647)").arg(n);
    case T::Bytes:
        return n + (server ? QStringLiteral(" bytea") : QStringLiteral(" BLOB"));
    case T::Single:
        return n + (server ? QStringLiteral(" real") : QStringLiteral(" REAL")) +
               QStringLiteral(" CHECK (abs(%1) <= 3.402823466e38)").arg(n);
    case T::Text:
    case T::Memo: {
        // Compared and sorted without regard to the case of the 26 letters, as NOCASE does.
        QString d =
            n + (server ? QStringLiteral(" citext COLLATE \"C\"") : QStringLiteral(" TEXT COLLATE NOCASE"));
        if (f.type == T::Text)
            d += QStringLiteral(" CHECK (length(%1) BETWEEN %2 AND %3)")
                     .arg(n)
                     .arg(f.emptyAllowed ? 0 : 1)
                     .arg(f.length);
        else if (!f.emptyAllowed)
            d += QStringLiteral(" CHECK (length(%1) >= 1)").arg(n);
        return d;
    }
    }
    return n;
}

} // namespace

QString columnReference(const Field &field)
{
    return QLatin1StringView(field.name) == QLatin1StringView("Primary") ? quoted(field.name)
                                                                         : QString::fromLatin1(field.name);
}

std::span<const Table> tables()
{
    return Tables;
}

const Table &journal()
{
    return Journal;
}

const Table *table(const QString &name)
{
    for (const Table &t : Tables)
        if (name.compare(QLatin1StringView(t.name), Qt::CaseInsensitive) == 0)
            return &t;
    if (name.compare(QLatin1StringView(Journal.name), Qt::CaseInsensitive) == 0)
        return &Journal;
    return nullptr;
}

QString createStatement(const Table &table, bool server)
{
    QStringList columns;
    bool integerKey = false;
    for (const Field &f : table.fields) {
        columns << columnDefinition(f, server);
        integerKey = integerKey || (f.primaryKey && f.type == T::Integer);
    }
    if (server)
        return QStringLiteral("CREATE TABLE %1 (\n  %2\n)")
            .arg(QString::fromLatin1(table.name), columns.join(QStringLiteral(",\n  ")));
    return QStringLiteral("CREATE TABLE %1 (\n  %2\n) STRICT%3")
        .arg(quoted(table.name), columns.join(QStringLiteral(",\n  ")),
             integerKey ? QStringLiteral(", WITHOUT ROWID") : QString());
}

std::span<const Index> indexes()
{
    return Indexes;
}

QString createStatement(const Index &index)
{
    return QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
        .arg(QLatin1StringView(index.name), QLatin1StringView(index.table), QLatin1StringView(index.columns));
}

std::optional<QString> addMissing(const QSqlDatabase &db) noexcept
{
    try {
        const QStringList present = Engine::indexes(db);
        std::vector<const Index *> missing;
        for (const Index &index : Indexes)
            if (!present.contains(QString::fromLatin1(index.name).toLower()))
                missing.push_back(&index);
        const bool noJournal =
            !Engine::tables(db).contains(QString::fromLatin1(Journal.name), Qt::CaseInsensitive);
        if (missing.empty() && !noJournal)
            return std::nullopt;
        // A file another program holds is not waited for: the meet goes on without the indexes.
        const bool file = !Engine::onServer(db);
        const QString action = QStringLiteral("Adding the indexes of the meet");
        if (file)
            Sql::exec(db, action, QStringLiteral("PRAGMA busy_timeout = 0"));
        const auto restore = qScopeGuard([&] {
            if (file)
                QSqlQuery(db).exec(
                    QStringLiteral("PRAGMA busy_timeout = %1").arg(DbConnection::busyTimeout()));
        });
        WriteTransaction tx(db, action);
        if (noJournal)
            Sql::exec(db, QStringLiteral("Adding the journal of saves"),
                      createStatement(Journal, Engine::onServer(db)));
        for (const Index *index : missing)
            Sql::exec(db, QStringLiteral("Adding the index %1").arg(QLatin1StringView(index->name)),
                      createStatement(*index));
        tx.commit();
        return std::nullopt;
    } catch (const DbError &e) {
        return e.engineMessage();
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    }
}

IndexesAside::IndexesAside(const QSqlDatabase &db, const QString &action, const QString &table,
                           qint64 rowsToCome)
    : m_db(db), m_action(action)
{
    if (Engine::onServer(db) || rowsToCome <= 0)
        return;
    for (const Index &index : Indexes)
        if (table.compare(QLatin1StringView(index.table), Qt::CaseInsensitive) == 0)
            m_aside.push_back(&index);
    // Identifiers only: the table is one of the meet's own.
    if (m_aside.empty() ||
        Sql::scalar(db, action, QStringLiteral("SELECT count(*) FROM %1").arg(table)).toLongLong() >=
            rowsToCome) {
        m_aside.clear();
        return;
    }
    for (const Index *index : m_aside)
        Sql::exec(db, action, QStringLiteral("DROP INDEX IF EXISTS %1").arg(QLatin1StringView(index->name)));
}

void IndexesAside::restore()
{
    for (const Index *index : m_aside)
        Sql::exec(m_db, m_action, createStatement(*index));
    m_aside.clear();
}

QStringList setupStatements(bool server)
{
    if (!server)
        return {};
    // citext ships with the server (contrib); a database owner may add it.
    return {QStringLiteral("CREATE EXTENSION IF NOT EXISTS citext")};
}

std::optional<QString> foreignTable(const QSqlDatabase &db)
{
    for (const QString &name : Engine::tables(db))
        if (!table(name))
            return name;
    return std::nullopt;
}

std::optional<QString> mismatch(const QSqlDatabase &db)
{
    try {
        const QHash<QString, QStringList> layout = Engine::layout(db);
        for (const Table &t : Tables) {
            const QStringList actual = layout.value(QString::fromLatin1(t.name).toLower());
            if (actual.isEmpty())
                return QStringLiteral("it has no table %1").arg(QLatin1StringView(t.name));
            QStringList expected;
            for (const Field &f : t.fields)
                expected << QLatin1StringView(f.name);
            if (actual.join(u',').compare(expected.join(u','), Qt::CaseInsensitive) != 0)
                return QStringLiteral("its table %1 does not have the columns of a meet file")
                    .arg(QLatin1StringView(t.name));
        }
        // An earlier version's meet has no journal yet; one that has it has it whole.
        const QStringList journal = layout.value(QString::fromLatin1(Journal.name).toLower());
        QStringList expected;
        for (const Field &f : Journal.fields)
            expected << QLatin1StringView(f.name);
        if (!journal.isEmpty() && journal.join(u',').compare(expected.join(u','), Qt::CaseInsensitive) != 0)
            return QStringLiteral("its table %1 does not have the columns of a meet file")
                .arg(QLatin1StringView(Journal.name));
    } catch (const DbError &e) {
        return e.engineMessage();
    }
    return std::nullopt;
}

std::optional<QString> missingColumns(const QSqlDatabase &db, std::span<const NeededTable> needed)
{
    try {
        const QHash<QString, QStringList> layout = Engine::layout(db);
        for (const NeededTable &table : needed) {
            const QStringList actual = layout.value(table.name.toLower());
            if (actual.isEmpty())
                return QStringLiteral("it has no table %1").arg(table.name);
            for (const QString &c : table.columns)
                if (!actual.contains(c, Qt::CaseInsensitive))
                    return QStringLiteral("its table %1 has no field %2").arg(table.name, c);
        }
    } catch (const DbError &e) {
        return e.engineMessage();
    }
    return std::nullopt;
}

} // namespace MeetSchema
