#pragma once

#include "reports/reportpage.h"

#include <QString>

#include <optional>

namespace Report {

// Writes the pages as a PDF file whose texts stay text (selectable and searchable). The file
// is written beside its place and only takes it when complete, so a failure leaves what was
// there before. Returns why the file could not be written, or nothing when it was.
std::optional<QString> writePdf(const Document &document, const QString &filePath);

// A file name for the document's PDF: its title without the characters file names refuse.
QString pdfFileName(const Document &document);

} // namespace Report
