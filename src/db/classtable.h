#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVector>

// The classes as the meet file holds them.
struct StoredClass
{
    int number = 0;
    QString name;
    int maxEntries = 0; // the most riders of one team in the class
    QString imagePath;  // the label image's file name, after "form" or "report"
};

namespace ClassTable {

// Every class of TblClass by class number. Throws DbError.
QVector<StoredClass> read(const QSqlDatabase &db);

// A class as the class boxes list it: number + " - " + name.
QString line(const StoredClass &cls);

} // namespace ClassTable
