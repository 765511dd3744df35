#include "shell/safetynet.h"

#include "common/messageservice.h"
#include "db/dbconnection.h"
#include "db/dberror.h"
#include "db/meetfilecheck.h"
#include "db/snapshotsource.h"

#include <QFileInfo>
#include <QTimer>

namespace {

const QString Restoring = QStringLiteral("Restoring the snapshot");

// Why the snapshot failed, in the engine's or the file system's words.
QString reason(const std::exception &error)
{
    if (const auto *db = dynamic_cast<const DbError *>(&error))
        return db->isLocked() ? QStringLiteral("the meet file is in use by another program")
                              : db->engineMessage();
    return QString::fromLocal8Bit(error.what());
}

} // namespace

SafetyNet::SafetyNet() : m_clock([] { return QDateTime::currentDateTime(); }) {}

SafetyNet::~SafetyNet() = default;

void SafetyNet::attach(std::unique_ptr<SnapshotSource> source, const QString &folder)
{
    m_source = std::move(source);
    m_store = SnapshotStore(folder);
    m_saves = 0;
    m_changesAtLast = -1;
    m_failureTold = false;
}

Snapshot SafetyNet::record(const QString &what, SnapshotStore::IfDamaged ifDamaged)
{
    if (!m_source)
        throw DbError(QStringLiteral("Taking a snapshot of the meet"), {}, QStringLiteral("no meet is open"));
    const std::int64_t changes = m_source->changeCount();
    Snapshot snapshot = m_store.take(*m_source, what, m_clock(), ifDamaged);
    m_saves = 0;
    m_changesAtLast = changes;
    m_failureTold = false;
    return snapshot;
}

Snapshot SafetyNet::take(const QString &what)
{
    Snapshot snapshot = record(what);
    m_store.prune();
    return snapshot;
}

bool SafetyNet::before(MessageService &messages, const QString &step)
{
    if (!m_source)
        return true;
    try {
        take(QStringLiteral("before ") + step);
        return true;
    } catch (const std::exception &e) {
        return messages.ask(
            QStringLiteral("The meet could not be copied to the snapshot folder before %1:\n\n%2"
                           "\n\nGo on without a snapshot?")
                .arg(step, reason(e)));
    }
}

bool SafetyNet::beforeSave(MessageService &messages, const QString &step)
{
    if (++m_saves < SavesPerSnapshot)
        return true;
    return before(messages, step);
}

void SafetyNet::takeIfChanged(MessageService &messages)
{
    if (!m_source)
        return;
    try {
        if (m_source->changeCount() != m_changesAtLast)
            take(EveryTenMinutes);
    } catch (const std::exception &e) {
        if (!std::exchange(m_failureTold, true))
            messages.warn(QStringLiteral("The meet could not be copied to the snapshot folder:\n\n%1\n\nThe "
                                         "program tries again in ten minutes.")
                              .arg(reason(e)));
    }
}

void SafetyNet::startTimer(QObject *owner, MessageService &messages)
{
    auto *timer = new QTimer(owner);
    QObject::connect(timer, &QTimer::timeout, timer, [this, &messages] { takeIfChanged(messages); });
    timer->start(MinutesBetweenSnapshots * 60 * 1000);
}

Snapshot SafetyNet::restore(const Snapshot &chosen)
{
    {
        DbConnection file;
        file.open(chosen.path, DbConnection::Mode::ReadOnly);
        if (const QStringList damage = MeetFileCheck::quickProblems(file.database()); !damage.isEmpty())
            throw DbError(Restoring, {},
                          QStringLiteral("the snapshot cannot be restored: %1").arg(damage.front()));
    }
    // Pruned only once the chosen one has been read back. A meet damaged since is kept as it is,
    // so that it can be put right by the restore.
    Snapshot present = record(QStringLiteral("before restoring ") + SnapshotStore::shownTime(chosen.time),
                              SnapshotStore::IfDamaged::Keep);
    m_source->replaceFrom(chosen.path,
                          QStringLiteral("Snapshot %1 restored; the meet before it is kept as snapshot %2")
                              .arg(QFileInfo(chosen.path).fileName(), QFileInfo(present.path).fileName()));
    m_changesAtLast = m_source->changeCount();
    m_store.prune();
    return present;
}
