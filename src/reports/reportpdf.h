#pragma once

#include "reports/reportpage.h"

#include <QString>

#include <optional>

// The files a report is saved as: its pages as a PDF, its rows as comma-separated text. Each file
// is written beside its place and only takes it when complete, so a failure leaves what was
// there before. Both answer why the file could not be written, or nothing when it was.
namespace Report {

// The texts stay text (selectable and searchable); each page keeps its own paper.
std::optional<QString> writePdf(const Document &document, const QString &filePath);

// The same PDF as bytes (a page of a folder written whole); empty when it could not be made.
QByteArray pdf(const Document &document);

// The rows behind the pages under their headings, as spreadsheets read them (UTF-8 with a byte
// order mark, quoted where needed).
std::optional<QString> writeCsv(const Document &document, const QString &filePath);

// A file name for the document with the suffix (".pdf"): its title without the characters file
// names refuse.
QString suggestedFileName(const Document &document, const QString &suffix);

} // namespace Report
