#pragma once

#include <QSqlDatabase>
#include <QString>

#include <optional>

// One named QtSql connection to a meet, closed and removed when this object goes. The meet is a
// database file (open() never creates one: a missing path is refused before the driver sees it)
// or a database on a PostgreSQL server named by its address (MeetAddress).
class DbConnection
{
public:
    enum class Mode { ReadWrite, ReadOnly, Create };

    DbConnection() = default;
    ~DbConnection();
    DbConnection(const DbConnection &) = delete;
    DbConnection &operator=(const DbConnection &) = delete;
    DbConnection(DbConnection &&other) noexcept;
    DbConnection &operator=(DbConnection &&other) noexcept;

    // How long a statement waits for a meet file another program holds (or for records another
    // station holds on the server) before it fails. Tests shorten it; the program keeps the default.
    static void setBusyTimeout(int milliseconds);
    static int busyTimeout();

    // Opens the file at a path, or the server database at an address, under a connection name;
    // an empty name picks a unique one. A server is opened read and write whatever the mode but
    // read-only. Throws DbError.
    void open(const QString &location, Mode mode, const QString &connectionName = {});
    void close();

    bool isOpen() const { return !m_name.isEmpty() && database().isOpen(); }
    QSqlDatabase database() const;
    const QString &connectionName() const { return m_name; }
    // The file's path or the server's address, as opened.
    const QString &location() const { return m_path; }

private:
    QString m_name;
    QString m_path;
};

// True when the first bytes of the file are SQLite's header. A zero-byte file is not.
bool looksLikeSqliteFile(const QString &path, QString *reason = nullptr);
