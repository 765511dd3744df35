#pragma once

#include "shell/snapshotstore.h"

#include <QDateTime>

#include <cstdint>
#include <functional>
#include <memory>

class MessageService;
class QObject;
class SnapshotSource;

// The snapshots of the meet: one before each risky step (an import, numbering every rider,
// deleting a team, replacing a division's judges, every tenth save of entries or placings),
// one every ten minutes while the meet changes, and the restore that first keeps the present.
// Until a meet is attached nothing is taken and every step goes on.
//
//   if (!app.safety.before(*app.messages, QStringLiteral("numbering all riders")))
//       return; // no snapshot, and the user chose not to go on: nothing is written
class SafetyNet
{
public:
    static constexpr int SavesPerSnapshot = 10;
    static constexpr int MinutesBetweenSnapshots = 10;

    static inline const QString EveryTenMinutes = QStringLiteral("every ten minutes");
    static inline const QString ByHand = QStringLiteral("taken by hand");

    SafetyNet();
    ~SafetyNet();
    SafetyNet(const SafetyNet &) = delete;
    SafetyNet &operator=(const SafetyNet &) = delete;

    // Snapshots of the source, kept in the folder.
    void attach(std::unique_ptr<SnapshotSource> source, const QString &folder);
    bool isAttached() const { return bool(m_source); }
    const SnapshotStore &store() const { return m_store; }
    // The clock snapshots are named by; tests set their own.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    // Before a risky step: a snapshot "before " + step. When none can be taken the user is told
    // why and asked whether to go on; false means stop, with nothing written.
    bool before(MessageService &messages, const QString &step);
    // Before a save of entries or placings: the tenth save since the last snapshot is a risky step.
    bool beforeSave(MessageService &messages, const QString &step);
    // A snapshot when the meet has changed since the last one. A failure is told once, until
    // a snapshot is taken again.
    void takeIfChanged(MessageService &messages);
    // Calls takeIfChanged every ten minutes while owner lives.
    void startTimer(QObject *owner, MessageService &messages);

    // A snapshot now, named by what. Throws DbError.
    Snapshot take(const QString &what);
    // Keeps the present meet as a snapshot ("before restoring ..."), then replaces the meet by the
    // chosen one in one step. Refuses a file that is damaged or not a meet before anything is
    // done. Answers the snapshot of the present. Throws DbError; the meet is as it was then.
    Snapshot restore(const Snapshot &chosen);

private:
    // A snapshot now, without letting old ones go.
    Snapshot record(const QString &what,
                    SnapshotStore::IfDamaged ifDamaged = SnapshotStore::IfDamaged::Refuse);

    SnapshotStore m_store;
    std::unique_ptr<SnapshotSource> m_source;
    std::function<QDateTime()> m_clock;
    int m_saves = 0;                   // saves of entries or placings since the last snapshot
    std::int64_t m_changesAtLast = -1; // the source's change count at the last snapshot
    bool m_failureTold = false;
};
