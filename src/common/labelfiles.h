#pragma once

#include <QString>

// Where the label images live and how their files are found.
namespace LabelFiles {

inline const QString FolderName = QStringLiteral("LabelFiles");

QString folder(const QString &appFolder);

// The path of fileName in folder, matched without regard to letter case ("Report" + image
// path finds "reportWfandS.bmp"); empty when there is no such file.
QString find(const QString &folder, const QString &fileName);

} // namespace LabelFiles
