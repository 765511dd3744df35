#include "shell/snapshotstore.h"

#include "db/dbconnection.h"
#include "db/dberror.h"
#include "db/meetfilecheck.h"
#include "db/snapshotsource.h"
#include "db/sql.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString NameTime = QStringLiteral("yyyy-MM-dd HH-mm-ss");
const QString Extension = QStringLiteral(".mdb");
const QString Taking = QStringLiteral("Taking a snapshot of the meet");
// A snapshot is written as its name + this, and renamed when complete and checked. Whatever
// holds it in its name (the engine's journal beside it, a server's copy being built) is the
// leftover of an interrupted snapshot once the folder's lock is held.
const QString Partial = QStringLiteral(".mdb.partial");
// Locked while a snapshot is taken: two copies of the program on one meet take turns.
const QString LockName = QStringLiteral(".taking.lock");
constexpr int LockWaitMs = 5000;
constexpr int SequenceDigits = 4;

QString shown(const QString &folder)
{
    return QDir::toNativeSeparators(folder);
}

// What keeps a new file from being written in the folder, in words.
DbError folderError(const QString &folder, int error)
{
    QString words;
    switch (error) {
    case EACCES:
    case EPERM:
        words = QStringLiteral("the snapshot folder \"%1\" is read-only: nothing may be written in it");
        break;
    case EROFS:
        words = QStringLiteral("the snapshot folder \"%1\" is on a disk that is read-only");
        break;
    case ENOSPC:
    case EDQUOT:
        words = QStringLiteral("the disk of the snapshot folder \"%1\" is full");
        break;
    case ENOENT:
    case ENOTDIR:
        words = QStringLiteral("the snapshot folder \"%1\" is missing");
        break;
    default:
        words = QStringLiteral("the snapshot folder \"%1\" cannot be written: ") +
                QString::fromLocal8Bit(std::strerror(error));
    }
    return DbError(Taking, {}, words.arg(shown(folder)));
}

// The folder's lock, held from take() while this lives. The system lets go of it when the program
// ends, however it ends, so no lock is ever left behind.
class FolderLock
{
public:
    explicit FolderLock(const QString &path)
        : m_fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)),
          m_error(errno)
    {
    }
    ~FolderLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

    // 0 once held; EWOULDBLOCK when another program held it all the while; or why the lock file
    // could not be made.
    int take()
    {
        if (m_fd < 0)
            return m_error;
        QDeadlineTimer deadline(LockWaitMs);
        while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK || deadline.hasExpired())
                return errno;
            QThread::msleep(20);
        }
        return 0;
    }

private:
    int m_fd;
    int m_error;
};

// Waits until the file's bytes are on the disk: a snapshot is renamed into place only then.
void syncToDisk(const QString &path)
{
    if (const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC); fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void removeWritten(const QString &partial)
{
    for (const QString &suffix : {QString(), QStringLiteral("-journal")})
        QFile::remove(partial + suffix);
}

// What changes whenever a file is written to or replaced, to the nanosecond; empty when it is gone.
QByteArray fileState(const QString &path)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return QByteArray::number(qint64(st.st_ino)) + ' ' + QByteArray::number(qint64(st.st_size)) + ' ' +
           QByteArray::number(qint64(st.st_mtim.tv_sec)) + '.' +
           QByteArray::number(qint64(st.st_mtim.tv_nsec)) + ' ' +
           QByteArray::number(qint64(st.st_ctim.tv_sec)) + '.' +
           QByteArray::number(qint64(st.st_ctim.tv_nsec));
}

// Opens the snapshot file read-only and reads what the window shows of it: whether it is sound,
// then its counts.
void inspect(Snapshot &snapshot)
{
    const auto count = [](const QSqlDatabase &db, const char *table) {
        return Sql::scalar(db, QStringLiteral("Reading the snapshot"),
                           QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1StringView(table)))
            .toInt();
    };
    try {
        DbConnection file;
        file.open(snapshot.path, DbConnection::Mode::ReadOnly);
        const QSqlDatabase db = file.database();
        snapshot.damage = MeetFileCheck::quickProblems(db).value(0);
        snapshot.teams = count(db, "TblTeam");
        snapshot.riders = count(db, "TblPerson");
        snapshot.entries = count(db, "TblEntry");
        snapshot.placings = count(db, "TblPlacing");
    } catch (const DbError &e) {
        // Not a meet the program can read: the window says so by its missing counts.
        snapshot.teams = snapshot.riders = snapshot.entries = snapshot.placings = -1;
        if (snapshot.damage.isEmpty())
            snapshot.damage = QStringLiteral("the engine cannot read it: %1").arg(e.engineMessage());
    }
}

} // namespace

QString SnapshotStore::fitName(const QString &text)
{
    QString name = text.simplified();
    for (QChar &c : name)
        if (c.unicode() < 0x20 || QStringView(u"\\/:*?\"<>|").contains(c))
            c = u'-';
    return name;
}

QString SnapshotStore::fileName(int sequence, const QDateTime &time, const QString &what)
{
    return QStringLiteral("%1 ").arg(sequence, SequenceDigits, 10, QChar(u'0')) + time.toString(NameTime) +
           u' ' + fitName(what) + Extension;
}

std::optional<Snapshot> SnapshotStore::parse(const QString &fileName)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(?:(\\d{1,9}) )?(\\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d-\\d\\d) (.+)\\.mdb$"));
    const QRegularExpressionMatch match = pattern.match(fileName);
    if (!match.hasMatch())
        return std::nullopt;
    Snapshot snapshot;
    snapshot.sequence = match.captured(1).toInt();
    snapshot.time = QDateTime::fromString(match.captured(2), NameTime);
    if (!snapshot.time.isValid())
        return std::nullopt;
    snapshot.what = match.captured(3);
    return snapshot;
}

QString SnapshotStore::shownTime(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

std::vector<bool> SnapshotStore::kept(const std::vector<QDateTime> &newestFirst)
{
    std::vector<bool> keep(newestFirst.size(), false);
    std::set<std::pair<QDate, int>> hours; // the clock hours already holding a kept older one
    for (std::size_t i = 0; i < newestFirst.size(); ++i) {
        const QDateTime &t = newestFirst[i];
        keep[i] = i < std::size_t(KeptLatest) || hours.insert({t.date(), t.time().hour()}).second;
    }
    return keep;
}

Snapshot SnapshotStore::take(SnapshotSource &source, const QString &what, const QDateTime &now,
                             IfDamaged ifDamaged) const
{
    if (!QDir().mkpath(m_folder)) {
        const QFileInfo there(m_folder);
        throw DbError(
            Taking, {},
            there.exists() && !there.isDir()
                ? QStringLiteral("\"%1\" is a file, where the snapshot folder should be").arg(shown(m_folder))
                : QStringLiteral("the snapshot folder \"%1\" is missing and cannot be made")
                      .arg(shown(m_folder)));
    }
    const QDir dir(m_folder);
    FolderLock lock(dir.filePath(LockName));
    if (const int error = lock.take(); error == EWOULDBLOCK)
        throw DbError(
            Taking, {},
            QStringLiteral("another copy of the program is taking a snapshot into the folder \"%1\"; "
                           "try again")
                .arg(shown(m_folder)));
    else if (error != 0)
        throw folderError(m_folder, error);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (name.contains(Partial))
            QFile::remove(dir.filePath(name));

    int last = 0;
    for (const QString &name : dir.entryList({QStringLiteral("*") + Extension}, QDir::Files))
        if (const auto s = parse(name))
            last = std::max(last, s->sequence);
    const QString name = fileName(last + 1, now, what);
    const QString path = dir.filePath(name);
    const QString partial = path + QStringLiteral(".partial");
    // Made here, so that a folder that takes no new file is told in words, not the engine's.
    if (const int fd =
            ::open(QFile::encodeName(partial).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        fd < 0)
        throw folderError(m_folder, errno);
    else
        ::close(fd);
    try {
        source.copyTo(partial);
    } catch (const DbError &e) {
        removeWritten(partial);
        if (e.engineMessage().contains(QStringLiteral("disk is full")))
            throw folderError(m_folder, ENOSPC);
        throw;
    } catch (...) {
        removeWritten(partial);
        throw;
    }
    Snapshot snapshot = *parse(name);
    snapshot.path = partial;
    inspect(snapshot);
    if (!snapshot.damage.isEmpty() && ifDamaged == IfDamaged::Refuse) {
        removeWritten(partial);
        throw DbError(Taking, {},
                      QStringLiteral("the copy fails the engine's check (%1), so the meet itself may be "
                                     "damaged: Utilities, Check the Meet File tells")
                          .arg(snapshot.damage));
    }
    syncToDisk(partial);
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(path).constData()) != 0) {
        const int error = errno;
        removeWritten(partial);
        throw folderError(m_folder, error);
    }
    snapshot.path = path;
    remember(snapshot);
    return snapshot;
}

void SnapshotStore::remember(const Snapshot &snapshot) const
{
    m_seen.insert(snapshot.path, {fileState(snapshot.path), snapshot});
}

std::vector<Snapshot> SnapshotStore::list(bool withCounts) const
{
    std::vector<std::pair<Snapshot, QDateTime>> found; // with the time the file was written
    if (m_folder.isEmpty())
        return {};
    for (const QFileInfo &file :
         QDir(m_folder).entryInfoList({QStringLiteral("*") + Extension}, QDir::Files)) {
        std::optional<Snapshot> snapshot = parse(file.fileName());
        if (!snapshot)
            continue;
        snapshot->path = file.filePath();
        if (withCounts) {
            if (const auto seen = m_seen.constFind(snapshot->path);
                seen != m_seen.cend() && seen->state == fileState(snapshot->path)) {
                snapshot = seen->snapshot;
            } else {
                inspect(*snapshot);
                remember(*snapshot);
            }
        }
        found.emplace_back(std::move(*snapshot), file.lastModified());
    }
    // In the order of writing; snapshots named by their time alone, from before there was one,
    // come after, by that time (and those of one second by the file's).
    std::sort(found.begin(), found.end(), [](const auto &a, const auto &b) {
        const Snapshot &x = a.first;
        const Snapshot &y = b.first;
        if (x.sequence != y.sequence)
            return x.sequence > y.sequence;
        return x.time != y.time ? x.time > y.time : a.second > b.second;
    });
    std::vector<Snapshot> newestFirst;
    for (auto &[snapshot, written] : found)
        newestFirst.push_back(std::move(snapshot));
    return newestFirst;
}

void SnapshotStore::prune() const
{
    const std::vector<Snapshot> all = list(false);
    std::vector<QDateTime> times;
    for (const Snapshot &s : all)
        times.push_back(s.time);
    const std::vector<bool> keep = kept(times);
    for (std::size_t i = 0; i < all.size(); ++i)
        if (!keep[i])
            QFile::remove(all[i].path);
}
