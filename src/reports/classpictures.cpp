#include "reports/classpictures.h"

#include <QDir>

namespace ClassPictures {

void set(Report::Layout &rpt, QStringView section, const QVector<StoredClass> &classes,
         const QString &labelFolder)
{
    const QDir folder(labelFolder);
    for (const StoredClass &cls : classes) {
        const QString box = QStringLiteral("Class%1").arg(cls.number);
        if (rpt.section(section).find(box))
            rpt.setPicture(section, box, folder.filePath(QStringLiteral("Report") + cls.imagePath),
                           QString::number(cls.number));
    }
}

} // namespace ClassPictures
