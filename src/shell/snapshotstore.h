#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>

#include <optional>
#include <vector>

class SnapshotSource;

// One copy of the meet in the snapshot folder, named by its place in the order of writing, the
// time it was taken and what came next: "0042 2026-12-07 14-03-22 before numbering all riders.mdb".
// Snapshots of earlier versions are named without the number.
struct Snapshot
{
    QString path;
    int sequence = 0; // 1 for the first written, growing; 0 for a snapshot named by its time alone
    QDateTime time;   // for people to read, never for order: a clock may be set back
    QString what;     // "before numbering all riders"
    // Read from the file itself when asked; -1 when it cannot be read.
    int teams = -1;
    int riders = -1;
    int entries = -1;
    int placings = -1;
    QString damage; // what the engine's check found wrong with the file; empty when sound
};

// The folder of snapshots: taking one (written beside its final name, checked, renamed into
// place when complete), listing them in the order they were written, and keeping the last 50
// and, before those, one an hour.
class SnapshotStore
{
public:
    static constexpr int KeptLatest = 50;
    static inline const QString FolderName = QStringLiteral("Snapshots");

    // What a snapshot found damaged by its check after writing is: refused (the meet as it stands
    // is damaged and no snapshot is taken), or kept and listed as damaged.
    enum class IfDamaged { Refuse, Keep };

    explicit SnapshotStore(QString folder = {}) : m_folder(std::move(folder)) {}
    const QString &folder() const { return m_folder; }

    // Copies the meet into a new snapshot, after the last one written, first removing what an
    // interrupted snapshot left in the folder. Throws DbError, the folder's problems in words
    // (nothing is left behind then).
    Snapshot take(SnapshotSource &source, const QString &what, const QDateTime &now,
                  IfDamaged ifDamaged = IfDamaged::Refuse) const;
    // Every snapshot of the folder, newest first: by the order of writing, then those named by
    // their time alone, by that time. With counts read and the file checked when asked.
    std::vector<Snapshot> list(bool withCounts) const;
    // Deletes the snapshots the keeping rule lets go. Files of other names are never touched.
    void prune() const;

    // The text with the characters that files cannot be named with made "-".
    static QString fitName(const QString &text);
    // The file name for a snapshot.
    static QString fileName(int sequence, const QDateTime &time, const QString &what);
    // The order, time and what came next, from a snapshot's file name; nothing for other files.
    static std::optional<Snapshot> parse(const QString &fileName);
    // The keeping rule over snapshot times given newest first (by the order of writing): the
    // first KeptLatest, then the first of each clock hour of a day after them. Answers whether
    // each is kept.
    static std::vector<bool> kept(const std::vector<QDateTime> &newestFirst);
    // The time as the Snapshots window shows it.
    static QString shownTime(const QDateTime &time);

private:
    // What the check and the counts found in a file, as long as its size and time are as they were:
    // a snapshot is read once a session, or never when it was taken in this one.
    struct Seen
    {
        QByteArray state; // the file's size, times of change and place on the disk
        Snapshot snapshot;
    };
    void remember(const Snapshot &snapshot) const;

    QString m_folder;
    mutable QHash<QString, Seen> m_seen; // by file path
};
