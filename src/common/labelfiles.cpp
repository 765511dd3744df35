#include "common/labelfiles.h"

#include <QDir>
#include <QFileInfo>

namespace LabelFiles {

QString folder(const QString &appFolder)
{
    return QDir(appFolder).filePath(FolderName);
}

QString find(const QString &folder, const QString &fileName)
{
    const QDir dir(folder);
    if (fileName.isEmpty() || !dir.exists())
        return {};
    const QString exact = dir.filePath(fileName);
    if (QFileInfo(exact).isFile())
        return exact;
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString &entry : entries)
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return {};
}

} // namespace LabelFiles
