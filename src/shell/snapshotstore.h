#pragma once

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

class SnapshotSource;

// One copy of the meet in the snapshot folder, named by the time it was taken and what came
// next: "2026-12-07 14-03-22 before numbering all riders.mdb".
struct Snapshot
{
    QString path;
    QDateTime time;
    QString what; // "before numbering all riders"
    // Read from the file itself; -1 when it cannot be read.
    int teams = -1;
    int riders = -1;
    int entries = -1;
    int placings = -1;
};

// The folder of snapshots: taking one (written beside its final name, renamed into place when
// complete), listing them, and keeping the last 50 and, before those, one an hour.
class SnapshotStore
{
public:
    static constexpr int KeptLatest = 50;
    static inline const QString FolderName = QStringLiteral("Snapshots");

    explicit SnapshotStore(QString folder = {}) : m_folder(std::move(folder)) {}
    const QString &folder() const { return m_folder; }

    // Copies the meet into a new snapshot. Throws DbError (nothing is left behind then).
    Snapshot take(SnapshotSource &source, const QString &what, const QDateTime &now) const;
    // Every snapshot of the folder, newest first; with counts read from each file when asked.
    std::vector<Snapshot> list(bool withCounts) const;
    // Deletes the snapshots the keeping rule lets go. Files of other names are never touched.
    void prune() const;

    // The text with the characters that files cannot be named with made "-".
    static QString fitName(const QString &text);
    // The file name for a snapshot.
    static QString fileName(const QDateTime &time, const QString &what);
    // The time and what came next, from a snapshot's file name; nothing for other files.
    static std::optional<Snapshot> parse(const QString &fileName);
    // The keeping rule over snapshot times given newest first: the first KeptLatest, then the
    // newest of each clock hour before them. Answers whether each is kept.
    static std::vector<bool> kept(const std::vector<QDateTime> &newestFirst);
    // The time as the Snapshots window shows it.
    static QString shownTime(const QDateTime &time);

private:
    QString m_folder;
};
