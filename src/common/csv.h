#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// Comma-separated text as spreadsheets write and read it.
//
// Written: UTF-8 with a byte order mark (so spreadsheets take accents right), every cell through
// the formula guard, fields quoted when they hold the separator, a quote or a line break or begin
// or end with a blank, quotes doubled, lines ended by CR LF.
//
// Read: UTF-16 (little or big end first) after its byte order mark, as "Unicode Text" saves it;
// UTF-8 with or without the mark; Windows-1252 when the bytes are neither. Tab, comma or
// semicolon; quoted fields over several lines; CR LF, LF or CR; empty lines passed over. Blanks
// around an unquoted field are not part of it; a quoted field is exactly what its quotes hold.
// What is not text, a control character and a quote left open are refused, never carried into a
// field.
namespace Csv {

// The formula guard. A spreadsheet program runs a cell that starts with =, +, -, @, a tab or a
// carriage return as a formula; the guard puts an apostrophe before such a cell, which the
// program shows as text. A cell of apostrophes followed by one of those characters gets one more,
// so that unguarded() gives back exactly what guarded() was given, whatever it was.
QString guarded(const QString &value);
// The inverse: one leading apostrophe taken off a guarded cell; any other cell as it stands.
QString unguarded(const QString &cell);

// One field as written: guarded, then quoted when it must be.
QString field(const QString &value, QChar separator = u',');
// One line, without its line end.
QString line(const QStringList &values, QChar separator = u',');
// A whole file: the mark, then the header and the rows, each line ended by CR LF.
QByteArray document(const QStringList &header, const QVector<QStringList> &rows, QChar separator = u',');

// The text of a file's bytes: UTF-16 after its mark, UTF-8 (the mark dropped) when the bytes are
// valid UTF-8, Windows-1252 otherwise. Null when the bytes are UTF-16 that does not decode.
QString decode(const QByteArray &bytes);

// The separator of a text: the one of comma, semicolon and tab that occurs most often outside
// quotes on its first line that holds any of them (comma before semicolon before tab when as
// often); comma when none does.
QChar separatorOf(const QString &text);

struct Record
{
    int line = 0; // the file line the record starts on, from 1
    QStringList fields;
};

// The records of a text, or why it cannot be read.
struct Sheet
{
    QVector<Record> records;
    QString refusal; // empty when read; otherwise the reason, in words ("a quote opened on line 4
                     // is never closed")
};

// The records of a text. A quote opens a quoted field only at the start of a field (blanks
// before it dropped); inside one, a doubled quote is a quote. A line that holds nothing, or only
// separators and blanks, is no record. Fields are as written (the guard is not taken off).
Sheet parse(const QString &text, QChar separator);

// A file's bytes as a spreadsheet: decoded, checked to be text without control characters (a
// tab and line ends aside), its separator found, parsed, and the guard taken off every field.
Sheet read(const QByteArray &bytes);

} // namespace Csv
