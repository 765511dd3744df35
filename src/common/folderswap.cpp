#include "common/folderswap.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FolderSwap {
namespace {

constexpr mode_t NewFolderMode = 0755;
constexpr mode_t FileMode = 0644;
constexpr int MostLinks = 40;     // as many as the system follows in one path
constexpr int TurnWaitMs = 10000; // how long a run waits for another one on the same folder
const char MarkerHeading[] = "Written by Trotwise. The files it wrote here:";

StepHook &stepHook()
{
    static StepHook hook;
    return hook;
}

// 0, or the errno a test makes the step fail with.
int step(const QString &name)
{
    return stepHook() ? stepHook()(name) : 0;
}

// A system call's outcome as an errno: 0 when it succeeded.
int outcome(int result)
{
    return result == 0 ? 0 : errno;
}

QString systemSays(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QByteArray local(const QString &name)
{
    return QFile::encodeName(name);
}

// An open file descriptor, closed when this goes.
class Fd
{
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }

private:
    int m_fd;
};

int openFolder(int parent, const QByteArray &name)
{
    return ::openat(parent, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

struct Entry
{
    QString name;
    bool plainFile;
};

// What the open folder holds, dot files included. Nothing when it cannot be read.
std::optional<std::vector<Entry>> entriesOf(int folder)
{
    DIR *dir = ::fdopendir(::dup(folder));
    if (!dir)
        return std::nullopt;
    ::rewinddir(dir); // the copy shares its place with the descriptor, which may have been read
    std::vector<Entry> out;
    while (const dirent *e = ::readdir(dir)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0)
            continue;
        struct stat st = {};
        const bool plain = ::fstatat(folder, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode);
        out.push_back({QFile::decodeName(e->d_name), plain});
    }
    ::closedir(dir);
    return out;
}

QByteArray readAll(int folder, const QString &name)
{
    const Fd fd(::openat(folder, local(name).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    QByteArray bytes;
    if (!fd.isOpen())
        return bytes;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd.get(), buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            break;
        bytes.append(buffer, n);
    }
    return bytes;
}

// What of the open folder the program did not write: every entry but the marker and the plain
// files the marker lists. An empty folder holds nothing foreign; one without a marker holds
// nothing but foreign entries.
QStringList foreignEntries(int folder, const QString &marker)
{
    const auto entries = entriesOf(folder);
    if (!entries)
        return {QStringLiteral("(it cannot be read)")};
    QStringList listed;
    const bool marked = std::any_of(entries->begin(), entries->end(),
                                    [&](const Entry &e) { return e.plainFile && e.name == marker; });
    // A marker of an earlier version lists nothing: it vouched for the plain files beside it,
    // which were all the pages it wrote; what is hidden or a folder was never among them.
    bool earlierMarker = false;
    if (marked) {
        const QList<QByteArray> lines = readAll(folder, marker).split('\n');
        earlierMarker = lines.value(0) != MarkerHeading;
        for (qsizetype i = 1; i < lines.size(); ++i)
            listed << QString::fromUtf8(lines[i]);
    }
    QStringList foreign;
    for (const Entry &e : *entries)
        if (!(marked && e.plainFile &&
              (e.name == marker || listed.contains(e.name) || (earlierMarker && !e.name.startsWith(u'.')))))
            foreign << e.name;
    foreign.sort();
    return foreign;
}

// Removes the folder of the parent when it holds nothing but what the program wrote. Answers
// 0 or the errno of what failed.
int removeOwnFolder(int parent, const QByteArray &name, const QString &marker)
{
    const Fd folder(openFolder(parent, name));
    if (!folder.isOpen())
        return errno;
    if (!foreignEntries(folder.get(), marker).isEmpty())
        return ENOTEMPTY;
    const auto entries = entriesOf(folder.get());
    for (const Entry &e : entries.value_or(std::vector<Entry>{}))
        if (::unlinkat(folder.get(), local(e.name).constData(), 0) != 0)
            return errno;
    return outcome(::unlinkat(parent, name.constData(), AT_REMOVEDIR));
}

// Writes all the bytes, half of them before the test's step of that name.
int writeFile(int folder, const QString &name, const QByteArray &bytes)
{
    if (const int e = step(QStringLiteral("write ") + name))
        return e;
    const Fd fd(::openat(folder, local(name).constData(),
                         O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, FileMode));
    if (!fd.isOpen())
        return errno;
    if (::fchmod(fd.get(), FileMode) != 0) // the umask may have taken the others' right to read
        return errno;
    const qsizetype half = bytes.size() / 2;
    qsizetype done = 0;
    while (done < bytes.size()) {
        if (done == half && half > 0)
            if (const int e = step(QStringLiteral("wrote half of ") + name))
                return e;
        const qsizetype chunk = done < half ? half - done : bytes.size() - done;
        const ssize_t n = ::write(fd.get(), bytes.constData() + done, size_t(chunk));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        done += n;
    }
    // Its way to the disk begins now; syncFiles() waits for all of them at once.
    ::sync_file_range(fd.get(), 0, 0, SYNC_FILE_RANGE_WRITE);
    return 0;
}

// Waits until the files are on the disk: before the folder takes its place, so that after a power
// cut too it is whole. Started together, the files reach the disk in one or two of its journal's
// commits instead of one each.
int syncFiles(int folder, const QStringList &names)
{
    for (const QString &name : names) {
        const Fd fd(::openat(folder, local(name).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
        if (!fd.isOpen() || ::fsync(fd.get()) != 0)
            return errno;
    }
    return 0;
}

// The folder a path means: where its symbolic links lead, the last of them followed to the end.
std::optional<QString> followLinks(QString path, QString *why)
{
    for (int hops = 0; QFileInfo(path).isSymLink(); ++hops) {
        if (hops == MostLinks) {
            *why = QStringLiteral("its link leads round in a circle");
            return std::nullopt;
        }
        path = QDir::cleanPath(QFileInfo(path).symLinkTarget());
    }
    return path;
}

// Holds the lock of the folder the target is in, shared by every run publishing into it.
bool takeTurn(int parent)
{
    const QDeadlineTimer deadline(TurnWaitMs);
    while (::flock(parent, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR)
            return true; // a file system without locks: nothing to take turns with
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}

// Removes what runs cut short left beside the folder: new folders half written or holding the
// old folder not yet removed (and the old folders an earlier version set aside), named as the
// program names them and holding nothing but what the program wrote.
void removeLeftovers(int parent, const QString &name, const QString &marker)
{
    const QRegularExpression leftover(
        QStringLiteral("^\\.%1\\.(new|old)-[A-Za-z0-9]+$").arg(QRegularExpression::escape(name)));
    const auto entries = entriesOf(parent);
    for (const Entry &e : entries.value_or(std::vector<Entry>{}))
        if (leftover.match(e.name).hasMatch())
            removeOwnFolder(parent, local(e.name), marker); // what cannot go waits for the next run
}

QByteArray markerText(const std::vector<File> &files)
{
    QByteArray text = QByteArray(MarkerHeading) + '\n';
    for (const File &f : files)
        text += f.name.toUtf8() + '\n';
    return text;
}

bool plainName(const QString &name, const QString &marker)
{
    return !name.isEmpty() && name != QStringLiteral(".") && name != QStringLiteral("..") &&
           !name.contains(u'/') && !name.contains(u'\n') && !name.contains(QChar(0)) && name != marker;
}

} // namespace

void setStepHook(StepHook hook)
{
    stepHook() = std::move(hook);
}

std::optional<QString> replace(const QString &folder, const std::vector<File> &files, const QString &marker)
{
    const QString asked = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    QString linkWhy;
    const std::optional<QString> real = followLinks(asked, &linkWhy);
    const QString shown = QDir::toNativeSeparators(asked);
    const auto refused = [&](const QString &why) {
        return QStringLiteral("The folder \"%1\" was not written: %2.").arg(shown, why);
    };
    if (!real)
        return refused(linkWhy);
    for (const File &f : files)
        if (!plainName(f.name, marker))
            return refused(QStringLiteral("\"%1\" is no plain file name").arg(f.name));

    const QFileInfo target(*real);
    const QString parentPath = target.path();
    const QString name = target.fileName();
    const QByteArray localName = local(name);
    const Fd parent(::open(local(parentPath).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!parent.isOpen())
        return refused(errno == ENOENT
                           ? QStringLiteral("the folder \"%1\" it belongs in does not exist")
                                 .arg(QDir::toNativeSeparators(parentPath))
                           : QStringLiteral("the folder \"%1\" it belongs in cannot be opened (%2)")
                                 .arg(QDir::toNativeSeparators(parentPath), systemSays(errno)));
    if (!takeTurn(parent.get()))
        return refused(QStringLiteral("another run is publishing into it; try again in a moment"));
    removeLeftovers(parent.get(), name, marker);

    // What stands there now: nothing, a folder of the program's (or an empty one), or the user's.
    struct stat present = {};
    const bool exists = ::fstatat(parent.get(), localName.constData(), &present, AT_SYMLINK_NOFOLLOW) == 0;
    if (!exists && errno != ENOENT)
        return refused(systemSays(errno));
    if (exists && !S_ISDIR(present.st_mode))
        return refused(QStringLiteral("a file of that name is in the way"));
    if (exists) {
        const Fd old(openFolder(parent.get(), localName));
        const QStringList foreign = old.isOpen() ? foreignEntries(old.get(), marker)
                                                 : QStringList{QStringLiteral("(it cannot be read)")};
        if (!foreign.isEmpty())
            return refused(QStringLiteral("it holds files that were not written there by this program (%1); "
                                          "choose an empty or a new folder")
                               .arg(foreign.mid(0, 3).join(QStringLiteral(", ")) +
                                    (foreign.size() > 3 ? QStringLiteral(", ...") : QString())));
    }

    // The new folder, beside the old one so that the two can change places; only its owner can
    // read it while it is written. Its marker comes first, so that a run cut short leaves a folder
    // the next run knows as its own.
    QByteArray pattern = local(QDir(parentPath).filePath(u'.' + name + QStringLiteral(".new-XXXXXX")));
    if (const int e = step(QStringLiteral("make the new folder")))
        return refused(QStringLiteral("no new folder can be made beside it (%1)").arg(systemSays(e)));
    if (!::mkdtemp(pattern.data()))
        return refused(
            QStringLiteral("no new folder can be made beside it in \"%1\" (%2); a folder this user "
                           "may write in, with a link to it in this one's place, will do")
                .arg(QDir::toNativeSeparators(parentPath), systemSays(errno)));
    const QByteArray staging = pattern.mid(pattern.lastIndexOf('/') + 1);
    const auto failed = [&](const QString &why) {
        removeOwnFolder(parent.get(), staging, marker);
        return refused(why);
    };
    {
        const Fd fresh(openFolder(parent.get(), staging));
        if (!fresh.isOpen())
            return failed(systemSays(errno));
        if (const int e = writeFile(fresh.get(), marker, markerText(files)))
            return failed(QStringLiteral("\"%1\" could not be written: %2").arg(marker, systemSays(e)));
        for (const File &f : files)
            if (const int e = writeFile(fresh.get(), f.name, f.bytes))
                return failed(QStringLiteral("\"%1\" could not be written: %2").arg(f.name, systemSays(e)));
        QStringList names{marker};
        for (const File &f : files)
            names << f.name;
        int e = step(QStringLiteral("sync the files"));
        if (!e)
            e = syncFiles(fresh.get(), names);
        if (!e)
            e = step(QStringLiteral("set the mode"));
        if (!e)
            e = outcome(::fchmod(fresh.get(), exists ? present.st_mode & 07777 : NewFolderMode));
        if (!e)
            e = outcome(::fsync(fresh.get()));
        if (e)
            return failed(QStringLiteral("the new folder could not be made ready (%1)").arg(systemSays(e)));
    }

    // The one step: the new folder takes the name, the old one takes the new one's.
    int e = step(QStringLiteral("swap"));
    if (!e)
        e = outcome(::renameat2(parent.get(), staging.constData(), parent.get(), localName.constData(),
                                exists ? RENAME_EXCHANGE : RENAME_NOREPLACE));
    if (e)
        return failed(
            QStringLiteral("the new folder could not be moved in (%1)")
                .arg(e == EINVAL && exists
                         ? QStringLiteral("the file system there cannot swap two folders in one step")
                         : systemSays(e)));
    ::fsync(parent.get());
    if (exists && step(QStringLiteral("remove the old folder")) == 0)
        removeOwnFolder(parent.get(), staging, marker); // what cannot go now, the next run removes
    return std::nullopt;
}

} // namespace FolderSwap
