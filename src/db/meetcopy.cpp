#include "db/meetcopy.h"

#include "db/dbconnection.h"
#include "db/engine.h"
#include "db/journal.h"
#include "db/meetaddress.h"
#include "db/meetschema.h"
#include "db/serverwatch.h"
#include "db/sql.h"
#include "db/writetransaction.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <utility>

namespace MeetCopy {
namespace {

const char *wordsFor(const QString &table)
{
    static const std::pair<const char *, const char *> words[] = {
        {"TblTeam", "teams"},
        {"TblCoach", "coaches"},
        {"TblPerson", "riders"},
        {"TblJudge", "judges"},
        {"TblClass", "classes"},
        {"TblEntry", "entries"},
        {"TblPairing", "relay pairings"},
        {"TblClassJudges", "judge assignments"},
        {"TblPlacing", "placings"},
        {"TblJournal", "journal lines"},
    };
    for (const auto &[name, word] : words)
        if (table == QLatin1StringView(name))
            return word;
    return "rows";
}

Progress &shown()
{
    static Progress progress;
    return progress;
}

qint64 count(const QSqlDatabase &db, const QString &action, const char *table)
{
    return Sql::scalar(db, action, QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1StringView(table)))
        .toLongLong();
}

enum class Tables { Make, Empty };

// The tables made in `to` (or emptied there), the rows copied, the keys set and every table
// counted, inside the caller's transaction on `to`.
Counts copyInto(const QSqlDatabase &from, const QSqlDatabase &to, const QString &action, Tables tables)
{
    const bool server = Engine::onServer(to);
    // The journal goes with the meet; a meet of an earlier version, without one, gets an empty one.
    std::vector<const MeetSchema::Table *> all;
    for (const MeetSchema::Table &t : MeetSchema::tables())
        all.push_back(&t);
    const MeetSchema::Table &journal = MeetSchema::journal();
    const QString journalName = QString::fromLatin1(journal.name);
    if (tables == Tables::Make) {
        for (const QString &statement : MeetSchema::setupStatements(server))
            Sql::exec(to, action, statement);
        for (const MeetSchema::Table *t : all)
            Sql::exec(to, action, MeetSchema::createStatement(*t, server));
        Sql::exec(to, action, MeetSchema::createStatement(journal, server));
    } else {
        for (const MeetSchema::Table *t : all)
            Sql::exec(to, action, QStringLiteral("DELETE FROM %1").arg(QLatin1StringView(t->name)));
        if (Engine::tables(to).contains(journalName, Qt::CaseInsensitive))
            Sql::exec(to, action, QStringLiteral("DELETE FROM %1").arg(journalName));
        else
            Sql::exec(to, action, MeetSchema::createStatement(journal, server));
    }
    if (Engine::tables(from).contains(journalName, Qt::CaseInsensitive))
        all.push_back(&journal);

    const ReadTransaction oneState(from, action);
    Counts counts;
    const int total = int(all.size());
    for (const MeetSchema::Table *table : all) {
        const MeetSchema::Table &t = *table;
        if (shown())
            shown()(QStringLiteral("%1 (%2 of %3)")
                        .arg(QLatin1StringView(wordsFor(QString::fromLatin1(t.name))))
                        .arg(counts.size() + 1)
                        .arg(total));
        QStringList columns;
        QString key;
        const MeetSchema::Field *autoNumber = nullptr;
        for (const MeetSchema::Field &f : t.fields) {
            columns << MeetSchema::columnReference(f);
            if (f.primaryKey)
                key = QString::fromLatin1(f.name);
            if (f.type == MeetSchema::FieldType::AutoNumber)
                autoNumber = &f;
        }
        const QString name = QString::fromLatin1(t.name);
        const ResultRows rows = Sql::select(from, action,
                                            QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                                                .arg(columns.join(QStringLiteral(", ")), name,
                                                     key.isEmpty() ? Engine::insertionOrder(from) : key));
        Sql::Inserter insert(to, action, name, columns);
        qint64 highest = 0;
        for (const auto &row : rows.rows) {
            insert.add(QVariantList(row.cbegin(), row.cend()));
            if (autoNumber)
                highest = std::max(highest, row[int(autoNumber - t.fields.data())].toLongLong());
        }
        insert.finish();
        if (autoNumber) {
            const QString column = QString::fromLatin1(autoNumber->name);
            Engine::setLastKey(to, name, column, std::max(highest, Engine::lastKey(from, name, column)));
        }

        const qint64 there = count(from, action, t.name);
        const qint64 here = count(to, action, t.name);
        if (there != here || here != rows.size())
            throw DbError(
                action, {},
                QStringLiteral("the copy of %1 holds %2 rows, the meet %3").arg(name).arg(here).arg(there));
        counts.push_back({name, here});
    }
    // Made once the rows are in: one sort per index rather than a step per row.
    if (tables == Tables::Make)
        for (const MeetSchema::Index &index : MeetSchema::indexes())
            Sql::exec(to, action, MeetSchema::createStatement(index));
    return counts;
}

// Where a copy came from, for its journal line: the file's name or the server's database.
QString describeSource(const QSqlDatabase &from)
{
    return Engine::onServer(from) ? QStringLiteral("%1 on %2").arg(from.databaseName(), from.hostName())
                                  : QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(from.databaseName()));
}

} // namespace

ShowingProgress::ShowingProgress(Progress progress) : m_before(std::exchange(shown(), std::move(progress))) {}

ShowingProgress::~ShowingProgress()
{
    shown() = std::move(m_before);
}

QString describe(const Counts &counts)
{
    QStringList parts;
    for (const Count &c : counts)
        parts << QStringLiteral("%1 %2").arg(QLatin1StringView(wordsFor(c.table))).arg(c.rows);
    return parts.join(QStringLiteral(", "));
}

Counts toServer(const QSqlDatabase &from, const QString &address)
{
    const QString action = QStringLiteral("Copying the meet to %1").arg(MeetAddress::describe(address));
    DbConnection target;
    target.open(address, DbConnection::Mode::ReadWrite);
    const QSqlDatabase to = target.database();
    const ServerWatch::WholeMeet longer(to);
    const QStringList present = Engine::tables(to);
    if (!present.isEmpty())
        throw DbError(
            action, {},
            QStringLiteral("the database is not empty (it holds the table %1); a meet is copied only "
                           "into an empty database")
                .arg(present.first()));
    return WriteTransaction::run(to, action, [&] {
        const Counts counts = copyInto(from, to, action, Tables::Make);
        Journal::writeLine(to, action, Journal::Kind::CopyIn,
                           QStringLiteral("Meet copied in from %1").arg(describeSource(from)));
        return counts;
    });
}

Counts toFile(const QSqlDatabase &from, const QString &path, bool journalLine)
{
    const QString action = QStringLiteral("Copying the meet to \"%1\"").arg(QDir::toNativeSeparators(path));
    const QFileInfo target(path);
    const QString building = target.dir().filePath(
        QStringLiteral(".%1.%2.copying").arg(target.fileName()).arg(QCoreApplication::applicationPid()));
    // The copy is built under a hidden name beside the file; what the user reads names the file
    // as given.
    if (!target.dir().exists())
        throw DbError(
            action, {},
            QStringLiteral("the folder \"%1\" does not exist").arg(QDir::toNativeSeparators(target.path())));
    QFile::remove(building);
    Counts counts;
    const ServerWatch::WholeMeet longer(from);
    try {
        DbConnection file;
        try {
            file.open(building, DbConnection::Mode::Create);
        } catch (const DbError &e) {
            throw DbError(action, {}, e.engineMessage());
        }
        counts = WriteTransaction::run(file.database(), action, [&] {
            const Counts copied = copyInto(from, file.database(), action, Tables::Make);
            if (journalLine)
                Journal::writeLine(file.database(), action, Journal::Kind::CopyIn,
                                   QStringLiteral("Meet copied in from %1").arg(describeSource(from)));
            return copied;
        });
    } catch (...) {
        QFile::remove(building);
        QFile::remove(building + QStringLiteral("-journal"));
        throw;
    }
    // Replaces a file at path in one step: it is the old meet or the complete copy, never half.
    if (std::rename(QFile::encodeName(building).constData(), QFile::encodeName(path).constData()) != 0) {
        QFile::remove(building);
        throw DbError(action, {}, QStringLiteral("the file could not be put in place"));
    }
    return counts;
}

Counts replaceOnServer(const QSqlDatabase &server, const QString &path, const QString &journalLine)
{
    const QString action =
        QStringLiteral("Replacing the meet on the server by \"%1\"").arg(QDir::toNativeSeparators(path));
    DbConnection file;
    file.open(path, DbConnection::Mode::ReadOnly);
    QStringList all;
    for (const MeetSchema::Table &t : MeetSchema::tables())
        all << QString::fromLatin1(t.name);
    // Every other station's save waits for the whole replacement rather than colliding with it.
    all << QString::fromLatin1(MeetSchema::journal().name);
    const ServerWatch::WholeMeet longer(server);
    return WriteTransaction::run(server, action, all, [&] {
        const Counts counts = copyInto(file.database(), server, action, Tables::Empty);
        if (!journalLine.isEmpty())
            Journal::writeLine(server, action, Journal::Kind::Restore, journalLine);
        return counts;
    });
}

} // namespace MeetCopy
