#include "app/datafolder.h"

#include "common/version.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace DataFolder {

Facts facts(const QString &programFolder, const QProcessEnvironment &environment)
{
    const QDir program(programFolder);
    return {writable(programFolder),
            QFileInfo::exists(program.filePath(QStringLiteral("../share/applications/") + Version::AppId +
                                               QStringLiteral(".desktop"))),
            environment.value(QStringLiteral("HOME")), environment.value(QStringLiteral("XDG_DATA_HOME"))};
}

QString choose(const QString &programFolder, const Facts &facts)
{
    if (facts.programFolderWritable && !facts.installed)
        return QDir::cleanPath(QFileInfo(programFolder).absoluteFilePath());
    // The XDG rule: a data home that is not an absolute path is ignored, and without one it is
    // ~/.local/share. A home that is not absolute is no home.
    QString dataHome;
    if (QDir::isAbsolutePath(facts.xdgDataHome))
        dataHome = facts.xdgDataHome;
    else if (QDir::isAbsolutePath(facts.home))
        dataHome = QDir(facts.home).filePath(QStringLiteral(".local/share"));
    else
        return {};
    return QDir::cleanPath(QDir(dataHome).filePath(UserFolderName));
}

QString choose(const QString &programFolder)
{
    return choose(programFolder, facts(programFolder));
}

QString make(const QString &folder)
{
    if (folder.isEmpty())
        return QStringLiteral("There is no folder to keep the meet in: the program's folder cannot be "
                              "written to and no home folder is set (HOME).");
    const auto refused = [&](const QString &why) {
        return QStringLiteral("The folder \"%1\" cannot hold the meet: %2.").arg(QDir::toNativeSeparators(folder), why);
    };
    // From the top down, so that each missing level is made with the user's rights only.
    QString path;
    for (const QString &part :
         QDir::cleanPath(QFileInfo(folder).absoluteFilePath()).split(u'/', Qt::SkipEmptyParts)) {
        path += u'/' + part;
        const QFileInfo level(path);
        const QString shown = QDir::toNativeSeparators(path);
        if (level.exists() && !level.isDir())
            return refused(QStringLiteral("\"%1\" is a file, not a folder").arg(shown));
        if (!level.exists() && !QDir().mkdir(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            return refused(QStringLiteral("the folder \"%1\" could not be made").arg(shown));
    }
    return {};
}

bool writable(const QString &folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".trotwise-XXXXXX")));
    return probe.open();
}

} // namespace DataFolder
