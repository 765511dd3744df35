#include "shell/snapshotstore.h"

#include "db/dbconnection.h"
#include "db/dberror.h"
#include "db/snapshotsource.h"
#include "db/sql.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <set>

namespace {

const QString NameTime = QStringLiteral("yyyy-MM-dd HH-mm-ss");
const QString Extension = QStringLiteral(".mdb");
const QString Taking = QStringLiteral("Taking a snapshot of the meet");

int countRows(const QSqlDatabase &db, const char *table)
{
    return Sql::scalar(db, QStringLiteral("Reading the snapshot"),
                       QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1StringView(table)))
        .toInt();
}

void readCounts(Snapshot &snapshot)
{
    try {
        DbConnection file;
        file.open(snapshot.path, DbConnection::Mode::ReadOnly);
        const QSqlDatabase db = file.database();
        snapshot.teams = countRows(db, "TblTeam");
        snapshot.riders = countRows(db, "TblPerson");
        snapshot.entries = countRows(db, "TblEntry");
        snapshot.placings = countRows(db, "TblPlacing");
    } catch (const DbError &) {
        // Not a meet the program can read: the window says so by its missing counts.
        snapshot.teams = snapshot.riders = snapshot.entries = snapshot.placings = -1;
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

QString SnapshotStore::fileName(const QDateTime &time, const QString &what)
{
    return time.toString(NameTime) + u' ' + fitName(what) + Extension;
}

std::optional<Snapshot> SnapshotStore::parse(const QString &fileName)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d-\\d\\d) (.+)\\.mdb$"));
    const QRegularExpressionMatch match = pattern.match(fileName);
    if (!match.hasMatch())
        return std::nullopt;
    Snapshot snapshot;
    snapshot.time = QDateTime::fromString(match.captured(1), NameTime);
    if (!snapshot.time.isValid())
        return std::nullopt;
    snapshot.what = match.captured(2);
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

Snapshot SnapshotStore::take(SnapshotSource &source, const QString &what, const QDateTime &now) const
{
    if (!QDir().mkpath(m_folder))
        throw DbError(
            Taking, {},
            QStringLiteral("the folder \"%1\" cannot be made").arg(QDir::toNativeSeparators(m_folder)));
    const QDir dir(m_folder);
    // Two snapshots within one second are told apart by a number.
    QString name = fileName(now, what);
    for (int n = 2; QFile::exists(dir.filePath(name)); ++n)
        name = fileName(now, QStringLiteral("%1 (%2)").arg(what).arg(n));
    const QString path = dir.filePath(name);
    // Written beside its name and renamed when complete, so that no half snapshot is ever listed.
    const QString partial = path + QStringLiteral(".partial");
    QFile::remove(partial);
    try {
        source.copyTo(partial);
    } catch (...) {
        QFile::remove(partial);
        throw;
    }
    if (!QFile::rename(partial, path)) {
        QFile::remove(partial);
        throw DbError(Taking, {}, QStringLiteral("the snapshot cannot be named \"%1\"").arg(name));
    }
    Snapshot snapshot = *parse(name);
    snapshot.path = path;
    return snapshot;
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
        if (withCounts)
            readCounts(*snapshot);
        found.emplace_back(std::move(*snapshot), file.lastModified());
    }
    // Snapshots of one second are ordered by when they were written.
    std::sort(found.begin(), found.end(), [](const auto &a, const auto &b) {
        return a.first.time != b.first.time ? a.first.time > b.first.time : a.second > b.second;
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
