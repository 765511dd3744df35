#pragma once

#include "db/dberror.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <type_traits>

// A write transaction, rolled back on destruction unless commit() ran. Every save that writes
// more than one row goes through one of these, mostly through run(). On the meet file it takes
// the write lock up front (BEGIN IMMEDIATE), so a busy file is waited for before anything is
// written rather than failing part-way; on a server it is serializable, so a save that another
// station's save got in the way of fails whole instead of mixing with it.
//
// A save that replaces rows of a table other stations replace rows of too (placings, entries,
// judge assignments) or that checks a rule across the table (rider numbers) names the table: on
// a server such saves then take turns on it, each reading only after the one before has
// committed, instead of colliding and being run again.
class WriteTransaction
{
public:
    WriteTransaction(QSqlDatabase db, QString action, const QStringList &takingTurnsOn = {});
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction &) = delete;
    WriteTransaction &operator=(const WriteTransaction &) = delete;

    void commit();
    bool isCommitted() const { return m_done; }

    // Runs work in a transaction and commits what it wrote; answers what work answers. A save
    // that collided with another station's is run once more from the start (it reads again what
    // it checks), and told as a DbError when it collides again.
    template <typename Work>
    static auto run(const QSqlDatabase &db, const QString &action, Work &&work) -> decltype(work())
    {
        return run(db, action, {}, std::forward<Work>(work));
    }
    template <typename Work>
    static auto run(const QSqlDatabase &db, const QString &action, const QStringList &takingTurnsOn,
                    Work &&work) -> decltype(work())
    {
        for (int attempt = 0;; ++attempt) {
            try {
                WriteTransaction tx(db, action, takingTurnsOn);
                if constexpr (std::is_void_v<decltype(work())>) {
                    work();
                    tx.commit();
                    return;
                } else {
                    auto result = work();
                    tx.commit();
                    return result;
                }
            } catch (const DbError &e) {
                if (e.kind() != DbError::Kind::Collision || attempt > 0)
                    throw;
            }
        }
    }

private:
    QSqlDatabase m_db;
    QString m_action;
    bool m_done = false;
};

// Several reads that must see one state of the meet (a window reading its rows and what it
// remembers of them, a report, the published results): one read-only transaction, so that no
// save of another station, or of another program on the meet file, falls between them. Inside
// a transaction already open on the connection it adds nothing: that one holds the state.
class ReadTransaction
{
public:
    ReadTransaction(QSqlDatabase db, const QString &action);
    ~ReadTransaction();
    ReadTransaction(const ReadTransaction &) = delete;
    ReadTransaction &operator=(const ReadTransaction &) = delete;

private:
    QSqlDatabase m_db;
    bool m_open = false;
};
