#pragma once

#include "common/csv.h"
#include "import/rosterfields.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// One spreadsheet file of one kind of roster: its column headings (its first line), its records,
// and which column serves which field, matched by heading and then as the user corrects it.
struct RosterSheet
{
    RosterFields::Kind kind = RosterFields::Kind::Teams;
    QString path;
    QStringList headings;
    QVector<Csv::Record> records; // the lines below the headings
    QVector<int> columnOf;        // for each field of the kind: its column, -1 when none

    // Reads the file and matches its headings. On refusal answers the message naming the file
    // and the reason.
    std::optional<QString> load(RosterFields::Kind sheetKind, const QString &filePath);

    bool has(int field) const { return columnOf[field] >= 0; }
    // The field's value in the record, as read (blanks around an unquoted one dropped); "" when
    // the field has no column or the record stops short of it.
    QString value(const Csv::Record &record, int field) const
    {
        const int c = columnOf[field];
        return c >= 0 && c < record.fields.size() ? record.fields[c] : QString();
    }
};
