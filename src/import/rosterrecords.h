#pragma once

#include "import/rosterfields.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVector>

#include <cstdint>

// The meet's roster in the columns of its spreadsheets.
namespace RosterRecords {

struct Record
{
    std::int32_t key = -1;
    std::int32_t teamCode = -1; // coaches and riders; -1 for none
    QStringList values;         // for each field of the kind; a coach's or rider's team name and
                                // division are its team's, "" when the team is missing
    bool operator==(const Record &) const = default;
};

// Every record of the kind: teams by division and name; coaches by team, head coaches first,
// then last and first name; riders by team, last and first name; judges by last and first name;
// equals by their key. Throws DbError.
QVector<Record> read(const QSqlDatabase &db, RosterFields::Kind kind, const QString &action);

} // namespace RosterRecords
