#include "common/folderswap.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace FolderSwap {
namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// A name beside the folder that nothing holds yet.
QString freeSibling(const QDir &parent, const QString &prefix)
{
    for (int n = 1;; ++n) {
        const QString path = parent.filePath(prefix + QString::number(n));
        if (!QFileInfo::exists(path))
            return path;
    }
}

std::optional<QString> writeInto(const QString &folder, const QString &name, const QByteArray &bytes)
{
    QFile file(QDir(folder).filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()) {
        const QString why = file.errorString();
        return QStringLiteral("\"%1\" could not be written: %2").arg(name, why);
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> replace(const QString &folder, const std::vector<File> &files, const QString &marker)
{
    const QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    const QFileInfo target(path);
    const QDir parent = target.dir();
    const auto refused = [&](const QString &why) {
        return QStringLiteral("The folder \"%1\" was not written: %2.").arg(native(path), why);
    };
    if (target.exists() && !target.isDir())
        return refused(QStringLiteral("a file of that name is in the way"));
    if (target.isDir() &&
        !QDir(path).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System) &&
        !QFileInfo::exists(QDir(path).filePath(marker)))
        return refused(QStringLiteral("it holds files that were not written there by this program; "
                                      "choose an empty or a new folder"));
    if (!parent.exists())
        return refused(
            QStringLiteral("the folder \"%1\" it belongs in does not exist").arg(native(parent.path())));

    // The new folder, beside the old one so that moving it in is a rename; removed again unless
    // it takes the folder's place.
    const QString hidden = u'.' + target.fileName();
    QTemporaryDir staging(parent.filePath(hidden + QStringLiteral(".new-XXXXXX")));
    if (!staging.isValid())
        return refused(staging.errorString());
    for (const File &file : files)
        if (const auto why = writeInto(staging.path(), file.name, file.bytes))
            return refused(*why);
    if (const auto why = writeInto(staging.path(), marker, QByteArrayLiteral("Written by Trotwise.\n")))
        return refused(*why);
    // A temporary folder is private to its owner; the folder it becomes is meant to be read.
    QFile::setPermissions(staging.path(), QFile::permissions(target.exists() ? path : parent.path()));

    QString aside;
    if (target.exists()) {
        aside = freeSibling(parent, hidden + QStringLiteral(".old-"));
        if (!QDir().rename(path, aside))
            return refused(QStringLiteral("the folder there could not be moved aside"));
    }
    if (!QDir().rename(staging.path(), path)) {
        if (!aside.isEmpty())
            QDir().rename(aside, path);
        return refused(QStringLiteral("the new folder could not be moved in"));
    }
    staging.setAutoRemove(false);
    if (!aside.isEmpty())
        QDir(aside).removeRecursively();
    return std::nullopt;
}

} // namespace FolderSwap
