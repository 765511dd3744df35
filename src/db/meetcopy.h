#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVector>

#include <functional>

// A whole meet copied from one database into another: from the file to a server in the morning,
// from the server to a file at night. Every row of the nine tables and the journal under its own keys, in the
// order the rows were added, and each AutoNumber going on from where it stood. All or nothing:
// the rows, and every table counted against the meet before the copy is kept.
namespace MeetCopy {

struct Count
{
    QString table;
    qint64 rows = 0;
};
using Counts = QVector<Count>;

// How far a copy has come, told before each table: "riders (3 of 9)". A copy of a large meet to or
// from a server takes a while, and is not cut short by the bound on one statement's wait: the
// window that started it shows this instead.
using Progress = std::function<void(const QString &step)>;

// Every copy (and restore) tells its progress to this while it lives, then to the one before.
class ShowingProgress
{
public:
    explicit ShowingProgress(Progress progress);
    ~ShowingProgress();
    ShowingProgress(const ShowingProgress &) = delete;
    ShowingProgress &operator=(const ShowingProgress &) = delete;

private:
    Progress m_before;
};

// "classes 17, judge assignments 136, coaches 200, ..." for the user.
QString describe(const Counts &counts);

// Into the server database at the address, which must hold no table yet. Throws DbError (and then
// the database holds no table still).
Counts toServer(const QSqlDatabase &from, const QString &address);

// Into a meet file at path, built beside it and put in its place (replacing a file there) only
// once complete. Throws DbError (and then the file at path is as it was).
// A snapshot's copy (journalLine false) carries the journal as it is, without a line of its own.
Counts toFile(const QSqlDatabase &from, const QString &path, bool journalLine = true);

// The whole meet on the server replaced by the meet file at path, in one transaction: every row of
// the nine tables taken out and the file's put in, keys as they were in the file. Throws DbError
// (and then the server's meet is as it was).
// The journal line of the restore, when given, is written in the same transaction.
Counts replaceOnServer(const QSqlDatabase &server, const QString &path, const QString &journalLine = {});

} // namespace MeetCopy
