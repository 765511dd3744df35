#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// Comma-separated text as spreadsheets write and read it. Written: UTF-8 with a byte order mark
// (so spreadsheets take accents right), fields quoted when they hold the separator, a quote or a
// line break, quotes doubled, lines ended by CR LF. Read: UTF-8 with or without the mark, or
// Windows-1252 when the bytes are not UTF-8; comma or semicolon; quoted fields over several
// lines; CR LF, LF or CR; empty lines passed over.
namespace Csv {

// One field as written, quoted when it must be.
QString field(const QString &value, QChar separator = u',');
// One line, without its line end.
QString line(const QStringList &values, QChar separator = u',');
// A whole file: the mark, then the header and the rows, each line ended by CR LF.
QByteArray document(const QStringList &header, const QVector<QStringList> &rows, QChar separator = u',');

// The text of a file's bytes: UTF-8 (the mark dropped) when they are valid UTF-8, Windows-1252
// otherwise.
QString decode(const QByteArray &bytes);

// The separator of a text: the one of comma and semicolon that occurs more often outside quotes
// on its first line that is not empty; comma when neither does.
QChar separatorOf(const QString &text);

struct Record
{
    int line = 0; // the file line the record starts on, from 1
    QStringList fields;
};

// The records of a text. A quote opens a quoted field only at the start of a field; inside one,
// a doubled quote is a quote. A line that holds nothing, or only separators and blanks, is no
// record. A quoted field left open at the end runs to the end of the text.
QVector<Record> parse(const QString &text, QChar separator);

} // namespace Csv
