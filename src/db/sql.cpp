#include "db/sql.h"

#include "db/engine.h"
#include "db/fileengine.h"
#include "db/serverwatch.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sqlite3.h>

namespace Sql {
namespace {

// A statement that may simply run again on a fresh connection when the old one turned out to be
// broken: a read, or the start of a transaction, outside any transaction.
bool repeatable(const QSqlDatabase &db, const QString &statement)
{
    if (Engine::inTransaction(db))
        return false;
    const QStringView head = QStringView(statement).trimmed();
    return head.startsWith(u"SELECT", Qt::CaseInsensitive) ||
           head.startsWith(u"BEGIN", Qt::CaseInsensitive) ||
           head.startsWith(u"START TRANSACTION", Qt::CaseInsensitive);
}

template <typename Bind>
QSqlQuery run(const QSqlDatabase &db, const QString &action, const QString &statement, bool bound, Bind bind)
{
    if (Engine::isLost(db)) {
        // Never in the middle of a transaction: the rest of it would run outside it.
        if (Engine::inTransaction(db))
            throw DbError(action, statement, QStringLiteral("the connection broke during this action"),
                          DbError::Kind::Lost, true);
        Engine::reconnect(db, action);
    }
    if (!db.isOpen())
        throw DbError(action, statement, QStringLiteral("the database is not open"));
    for (int attempt = 0;; ++attempt) {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        // A statement without values runs as it is: the server prepares only plain reads and writes.
        bool ran = false;
        ServerWatch::Statement watch(db);
        if (!bound)
            ran = query.exec(statement);
        else if (query.prepare(statement)) {
            bind(query);
            ran = query.exec();
        }
        if (ran)
            return query;
        if (watch.expired())
            throw Engine::unanswered(db, action, statement);
        const QSqlError error = query.lastError();
        const DbError::Kind kind = Engine::classify(db, error);
        if (kind == DbError::Kind::Lost && attempt == 0 && repeatable(db, statement)) {
            query = QSqlQuery();
            try {
                Engine::reconnect(db, action);
                continue;
            } catch (const DbError &again) {
                // Still away: told as the statement's own failure. Turned away (a password the
                // server no longer takes): told as such.
                if (again.kind() != DbError::Kind::Lost)
                    throw;
            }
        }
        throw DbError(action, statement, Engine::message(db, error, statement), kind, Engine::onServer(db));
    }
}

auto positional(const QVariantList &values)
{
    return [&values](QSqlQuery &q) {
        for (int i = 0; i < values.size(); ++i)
            q.bindValue(i, values[i]);
    };
}

auto byName(const QVariantMap &named)
{
    return [&named](QSqlQuery &q) {
        for (auto it = named.cbegin(); it != named.cend(); ++it)
            q.bindValue(it.key().startsWith(u':') ? it.key() : u':' + it.key(), it.value());
    };
}

Outcome finishWrite(QSqlQuery &query)
{
    // The new key of an insert comes from insert() (RETURNING): asking the driver for it runs a
    // statement of its own on the server, which fails inside a transaction.
    Outcome out{query.numRowsAffected()};
    query.finish();
    return out;
}

ResultRows collect(QSqlQuery &query, const QSqlDatabase &db, const QString &action, const QString &statement)
{
    ResultRows result;
    const QSqlRecord record = query.record();
    const int n = record.count();
    result.columns.reserve(n);
    for (int i = 0; i < n; ++i)
        result.columns << record.fieldName(i);
    // The rows of a forward-only query come from the server as they are read.
    ServerWatch::Statement watch(db);
    while (query.next()) {
        if ((result.rows.size() & 255) == 255)
            watch.renew();
        QVector<QVariant> row(n);
        for (int i = 0; i < n; ++i)
            row[i] = query.value(i);
        result.rows.push_back(std::move(row));
    }
    if (watch.expired())
        throw Engine::unanswered(db, action, statement);
    if (query.lastError().isValid())
        throw DbError(action, statement, Engine::message(query.lastError()),
                      Engine::classify(db, query.lastError()), Engine::onServer(db));
    query.finish();
    return result;
}

} // namespace

Outcome exec(const QSqlDatabase &db, const QString &action, const QString &statement,
             const QVariantList &values)
{
    QSqlQuery q = run(db, action, statement, !values.isEmpty(), positional(values));
    return finishWrite(q);
}

Outcome exec(const QSqlDatabase &db, const QString &action, const QString &statement,
             const QVariantMap &named)
{
    QSqlQuery q = run(db, action, statement, !named.isEmpty(), byName(named));
    return finishWrite(q);
}

ResultRows select(const QSqlDatabase &db, const QString &action, const QString &statement,
                  const QVariantList &values)
{
    QSqlQuery q = run(db, action, statement, !values.isEmpty(), positional(values));
    return collect(q, db, action, statement);
}

ResultRows select(const QSqlDatabase &db, const QString &action, const QString &statement,
                  const QVariantMap &named)
{
    QSqlQuery q = run(db, action, statement, !named.isEmpty(), byName(named));
    return collect(q, db, action, statement);
}

QVariant scalar(const QSqlDatabase &db, const QString &action, const QString &statement,
                const QVariantList &values)
{
    const ResultRows rows = select(db, action, statement, values);
    return rows.isEmpty() || rows.columns.isEmpty() ? QVariant() : rows.rows.front().front();
}

Repeated::Repeated(const QSqlDatabase &db, QString action, QString statement)
    : m_db(db), m_action(std::move(action)), m_statement(std::move(statement)), m_query(db)
{
    if (!m_query.prepare(m_statement))
        throw DbError(m_action, m_statement, Engine::message(m_query.lastError()),
                      Engine::classify(m_db, m_query.lastError()), Engine::onServer(m_db));
}

void Repeated::exec(const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i)
        m_query.bindValue(i, values[i]);
    ServerWatch::Statement watch(m_db);
    if (!m_query.exec()) {
        if (watch.expired())
            throw Engine::unanswered(m_db, m_action, m_statement);
        throw DbError(m_action, m_statement, Engine::message(m_query.lastError()),
                      Engine::classify(m_db, m_query.lastError()), Engine::onServer(m_db));
    }
    m_query.finish();
}

// A statement of a number of rows, prepared once and run for each batch of their values.
class InsertBatch
{
public:
    virtual ~InsertBatch() = default;
    // Throws DbError.
    virtual void exec(const QVariantList &values) = 0;
};

namespace {

class QueryBatch final : public InsertBatch
{
public:
    QueryBatch(const QSqlDatabase &db, const QString &action, const QString &statement)
        : m_statement(db, action, statement)
    {
    }
    void exec(const QVariantList &values) override { m_statement.exec(values); }

private:
    Repeated m_statement;
};

// On the meet file: bound and stepped through the engine's own interface, on the connection (and
// so in the transaction) the driver opened. Values are bound as the driver binds them.
class FileBatch final : public InsertBatch
{
public:
    FileBatch(sqlite3 *engine, QString action, QString statement)
        : m_engine(engine), m_action(std::move(action)), m_statement(std::move(statement))
    {
        if (sqlite3_prepare16_v2(m_engine, m_statement.utf16(), int(m_statement.size() * sizeof(QChar)),
                                 &m_prepared, nullptr) != SQLITE_OK)
            throw DbError(m_action, m_statement, engineMessage());
    }
    ~FileBatch() override { sqlite3_finalize(m_prepared); }
    FileBatch(const FileBatch &) = delete;
    FileBatch &operator=(const FileBatch &) = delete;

    void exec(const QVariantList &values) override
    {
        int rc = SQLITE_OK;
        for (int i = 0; i < values.size() && rc == SQLITE_OK; ++i)
            rc = bind(i + 1, values[i]);
        if (rc == SQLITE_OK)
            rc = sqlite3_step(m_prepared) == SQLITE_DONE ? SQLITE_OK : SQLITE_ERROR;
        const QString why = rc == SQLITE_OK ? QString() : engineMessage();
        // The texts were bound without a copy: let go of them before the values go.
        sqlite3_reset(m_prepared);
        sqlite3_clear_bindings(m_prepared);
        if (rc != SQLITE_OK)
            throw DbError(m_action, m_statement, why);
    }

private:
    int bind(int position, const QVariant &value)
    {
        switch (value.typeId()) {
        case QMetaType::QString: {
            const QString &text = *static_cast<const QString *>(value.constData());
            if (text.isNull())
                return sqlite3_bind_null(m_prepared, position);
            return sqlite3_bind_text16(m_prepared, position, text.utf16(), int(text.size() * sizeof(QChar)),
                                       SQLITE_STATIC);
        }
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Bool:
            return sqlite3_bind_int64(m_prepared, position, value.toLongLong());
        case QMetaType::Double:
        case QMetaType::Float:
            return sqlite3_bind_double(m_prepared, position, value.toDouble());
        case QMetaType::QByteArray: {
            const QByteArray &bytes = *static_cast<const QByteArray *>(value.constData());
            if (bytes.isNull())
                return sqlite3_bind_null(m_prepared, position);
            return sqlite3_bind_blob(m_prepared, position, bytes.constData(), int(bytes.size()),
                                     SQLITE_STATIC);
        }
        default:
            if (value.isNull())
                return sqlite3_bind_null(m_prepared, position);
            const QString text = value.toString();
            return sqlite3_bind_text16(m_prepared, position, text.utf16(), int(text.size() * sizeof(QChar)),
                                       SQLITE_TRANSIENT);
        }
    }

    QString engineMessage() const { return QString::fromUtf8(sqlite3_errmsg(m_engine)); }

    sqlite3 *m_engine;
    QString m_action;
    QString m_statement;
    sqlite3_stmt *m_prepared = nullptr;
};

} // namespace

Inserter::Inserter(const QSqlDatabase &db, QString action, const QString &table, const QStringList &columns)
    : m_db(db), m_action(std::move(action)),
      m_head(QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(table, columns.join(QStringLiteral(", ")))),
      m_row(u'(' + QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", ")) + u')')
{
}

Inserter::~Inserter() = default;

std::unique_ptr<InsertBatch> Inserter::batch(int rows) const
{
    const QString statement = m_head + QStringList(rows, m_row).join(QStringLiteral(", "));
    if (sqlite3 *engine = FileEngine::handle(m_db))
        return std::make_unique<FileBatch>(engine, m_action, statement);
    return std::make_unique<QueryBatch>(m_db, m_action, statement);
}

void Inserter::add(const QVariantList &values)
{
    m_pending += values;
    if (++m_pendingRows < RowsPerStatement)
        return;
    if (!m_full)
        m_full = batch(RowsPerStatement);
    m_full->exec(m_pending);
    m_pending.clear();
    m_pendingRows = 0;
}

void Inserter::finish()
{
    if (m_pendingRows > 0)
        batch(m_pendingRows)->exec(m_pending);
    m_pending.clear();
    m_pendingRows = 0;
}

std::int32_t insert(const QSqlDatabase &db, const QString &action, const QString &statement,
                    const QVariantList &values, const QString &keyColumn)
{
    const ResultRows rows = select(db, action, statement + QStringLiteral(" RETURNING ") + keyColumn, values);
    if (rows.isEmpty())
        throw DbError(action, statement, QStringLiteral("the new row's key was not given back"));
    return std::int32_t(rows.rows.front().front().toLongLong());
}

} // namespace Sql
