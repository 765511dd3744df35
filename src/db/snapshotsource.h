#pragma once

#include <QString>

#include <cstdint>

class DbConnection;

// The meet a snapshot is taken of and restored into. The meet file copies itself through the
// engine's online backup; a meet kept elsewhere copies itself to and from a file its own way.
class SnapshotSource
{
public:
    virtual ~SnapshotSource() = default;

    // Writes the meet as it stands into a new database file at path (an empty file there is
    // written over), not necessarily on the disk yet. Throws DbError; a file left behind by a
    // failure is the caller's to remove.
    virtual void copyTo(const QString &path) = 0;
    // Replaces the whole meet by the one in the file at path, in one step: after a failure the
    // meet is as it was; then writes journalLine (when given) to the restored meet's journal.
    // Throws DbError.
    virtual void replaceFrom(const QString &path, const QString &journalLine = {}) = 0;
    // A count that grows with every row the program writes to the meet.
    virtual std::int64_t changeCount() = 0;
};

// The meet file behind the program's meet connection, copied page by page by SQLite's online
// backup while it stays open: never a copy of the open file itself.
class MeetFileSource : public SnapshotSource
{
public:
    explicit MeetFileSource(const DbConnection &meet) : m_meet(meet) {}

    void copyTo(const QString &path) override;
    void replaceFrom(const QString &path, const QString &journalLine = {}) override;
    std::int64_t changeCount() override;

private:
    const DbConnection &m_meet;
};

// A meet on a server, copied row by row into a new meet file and back from one.
class ServerMeetSource : public SnapshotSource
{
public:
    explicit ServerMeetSource(const DbConnection &meet) : m_meet(meet) {}

    void copyTo(const QString &path) override;
    void replaceFrom(const QString &path, const QString &journalLine = {}) override;
    // The rows written to the meet's tables by every station, as the server counts them.
    std::int64_t changeCount() override;

private:
    const DbConnection &m_meet;
};
