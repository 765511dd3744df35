#include "db/meetschema.h"

#include "db/sql.h"

#include <array>

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

const std::array Tables{
    Table{"TblClass", ClassFields},   Table{"TblClassJudges", ClassJudgesFields},
    Table{"TblCoach", CoachFields},   Table{"TblEntry", EntryFields},
    Table{"TblJudge", JudgeFields},   Table{"TblPairing", PairingFields},
    Table{"TblPerson", PersonFields}, Table{"TblPlacing", PlacingFields},
    Table{"TblTeam", TeamFields},
};

QString quoted(const char *name)
{
    return u'"' + QString::fromLatin1(name) + u'"';
}

QString columnDefinition(const Field &f)
{
    const QString n = quoted(f.name);
    switch (f.type) {
    case T::Integer:
        // A key that must be given: the table is WITHOUT ROWID, so NULL is refused.
        return n +
               (f.primaryKey ? QStringLiteral(" INTEGER NOT NULL PRIMARY KEY") : QStringLiteral(" INTEGER")) +
               QStringLiteral(" CHECK (%1 BETWEEN -32768 AND 32767)").arg(n);
    case T::Long:
        return n + QStringLiteral(" INTEGER CHECK (%1 BETWEEN -2147483648 AND 2147483647)").arg(n);
    case T::AutoNumber:
        return n + QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT CHECK (%1 BETWEEN 1 AND 2147483647)")
                       .arg(n);
    case T::Single:
        return n + QStringLiteral(" REAL CHECK (abs(%1) <= 3.402823466e38)").arg(n);
    case T::Text:
        return n + QStringLiteral(" TEXT COLLATE NOCASE CHECK (length(%1) BETWEEN %2 AND %3)")
                       .arg(n)
                       .arg(f.emptyAllowed ? 0 : 1)
                       .arg(f.length);
    case T::Memo:
        return n + QStringLiteral(" TEXT COLLATE NOCASE") +
               (f.emptyAllowed ? QString() : QStringLiteral(" CHECK (length(%1) >= 1)").arg(n));
    }
    return n;
}

QStringList columnNames(const QSqlDatabase &db, const QString &tableName)
{
    // pragma_table_info is a table-valued function, so the name is bound like any value.
    const ResultRows info =
        Sql::select(db, QStringLiteral("Reading the layout of %1").arg(tableName),
                    QStringLiteral("SELECT name FROM pragma_table_info(?) ORDER BY cid"), {tableName});
    QStringList names;
    for (const auto &row : info.rows)
        names << row[0].toString();
    return names;
}

} // namespace

std::span<const Table> tables()
{
    return Tables;
}

const Table *table(const QString &name)
{
    for (const Table &t : Tables)
        if (name.compare(QLatin1StringView(t.name), Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

QString createStatement(const Table &table)
{
    QStringList columns;
    bool integerKey = false;
    for (const Field &f : table.fields) {
        columns << columnDefinition(f);
        integerKey = integerKey || (f.primaryKey && f.type == T::Integer);
    }
    return QStringLiteral("CREATE TABLE %1 (\n  %2\n) STRICT%3")
        .arg(quoted(table.name), columns.join(QStringLiteral(",\n  ")),
             integerKey ? QStringLiteral(", WITHOUT ROWID") : QString());
}

std::optional<QString> mismatch(const QSqlDatabase &db)
{
    try {
        for (const Table &t : Tables) {
            const QStringList actual = columnNames(db, QString::fromLatin1(t.name));
            if (actual.isEmpty())
                return QStringLiteral("it has no table %1").arg(QLatin1StringView(t.name));
            QStringList expected;
            for (const Field &f : t.fields)
                expected << QLatin1StringView(f.name);
            if (actual.join(u',').compare(expected.join(u','), Qt::CaseInsensitive) != 0)
                return QStringLiteral("its table %1 does not have the columns of a meet file")
                    .arg(QLatin1StringView(t.name));
        }
    } catch (const DbError &e) {
        return e.engineMessage();
    }
    return std::nullopt;
}

std::optional<QString> missingColumns(const QSqlDatabase &db, const QString &tableName,
                                      const QStringList &columns)
{
    try {
        const QStringList actual = columnNames(db, tableName);
        if (actual.isEmpty())
            return QStringLiteral("it has no table %1").arg(tableName);
        for (const QString &c : columns)
            if (!actual.contains(c, Qt::CaseInsensitive))
                return QStringLiteral("its table %1 has no field %2").arg(tableName, c);
    } catch (const DbError &e) {
        return e.engineMessage();
    }
    return std::nullopt;
}

} // namespace MeetSchema
