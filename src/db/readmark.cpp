#include "db/readmark.h"

#include "db/dberror.h"
#include "db/engine.h"
#include "db/journal.h"
#include "db/sql.h"
#include "db/writetransaction.h"

ReadMark::ReadMark(QString changed, QString gone) : m_changed(std::move(changed)), m_gone(std::move(gone)) {}

QStringList ReadMark::canonical(const QVector<QVector<QVariant>> &rows)
{
    QStringList out;
    out.reserve(rows.size());
    for (const auto &row : rows) {
        QString line;
        for (const QVariant &v : row)
            line += (v.isNull() ? QStringLiteral("\x01") : v.toString()) + u'\x1f';
        out << line;
    }
    out.sort();
    return out;
}

ResultRows ReadMark::select(const QSqlDatabase &db, const QString &action, const QString &statement,
                            const QVariantList &values)
{
    ResultRows rows = Sql::select(db, action, statement, values);
    m_reads.push_back({statement, values, canonical(rows.rows)});
    return rows;
}

void ReadMark::check(const QSqlDatabase &db, const QString &action) const
{
    for (int i = 0; i < m_reads.size(); ++i) {
        const Read &read = m_reads[i];
        const QStringList now = canonical(Sql::select(db, action, read.statement, read.values).rows);
        if (now == read.rows)
            continue;
        const bool gone = i == 0 && now.isEmpty() && !m_gone.isEmpty();
        throw DbError(action, read.statement, gone ? m_gone : m_changed,
                      gone ? DbError::Kind::Gone : DbError::Kind::Conflict, Engine::onServer(db));
    }
}

std::int32_t ReadMark::saveRecord(const QSqlDatabase &db, const QString &action, std::int32_t key,
                                  const QVariantList &values, const QString &insert, const QString &update,
                                  const QString &table, const QString &keyColumn, const QString &what) const
{
    const QString where = keyColumn + QStringLiteral(" = ?");
    return WriteTransaction::run(db, action, [&] {
        Journal::Recorder journal(db, action, Journal::Kind::Roster, what);
        std::int32_t saved = key;
        if (key == -1) {
            saved = Sql::insert(db, action, insert, values, keyColumn);
            journal.added(table, where, {saved});
        } else {
            check(db, action);
            journal.watch(table, where, {key});
            Sql::exec(db, action, update, values + QVariantList{key});
        }
        journal.write();
        return saved;
    });
}
