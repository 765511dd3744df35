#pragma once

#include "db/classtable.h"
#include "reports/reportlayout.h"

#include <QString>
#include <QVector>

// The class columns of a printed sheet headed by the classes' report label images.
namespace ClassPictures {

// Loads each class's report image ("Report" + its image path, from the label folder) into the
// section's image box "Class" + class number, where the section has one; a class whose image is
// missing prints its number in the box instead.
void set(Report::Layout &rpt, QStringView section, const QVector<StoredClass> &classes,
         const QString &labelFolder);

} // namespace ClassPictures
