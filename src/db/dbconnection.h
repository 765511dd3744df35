#pragma once

#include <QSqlDatabase>
#include <QString>

#include <optional>

// One named QtSql connection to a database file, closed and removed when this object goes.
// open() never creates a file: a missing path is refused before the driver sees it.
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

    // How long a statement waits for a meet file another program holds before it fails. Tests
    // shorten it; the program keeps the default.
    static void setBusyTimeout(int milliseconds);
    static int busyTimeout();

    // Opens path under a connection name; an empty name picks a unique one. Throws DbError.
    void open(const QString &path, Mode mode, const QString &connectionName = {});
    void close();

    bool isOpen() const { return !m_name.isEmpty() && database().isOpen(); }
    QSqlDatabase database() const;
    const QString &connectionName() const { return m_name; }
    const QString &path() const { return m_path; }

private:
    QString m_name;
    QString m_path;
};

// True when the first bytes of the file are SQLite's header. A zero-byte file is not.
bool looksLikeSqliteFile(const QString &path, QString *reason = nullptr);
