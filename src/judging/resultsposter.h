#pragma once

#include "reports/reportlayout.h"
#include "reports/reportpage.h"

#include <QString>

#include <optional>

// The poster for the ring and the office door: where the published results are on the web, in
// large type and as a QR code a phone's camera opens. A page of the report engine, so that it is
// previewed, printed and saved as a PDF like every other report.
namespace ResultsPoster {

inline const QString FileName = QStringLiteral("poster.pdf");

// Why the address cannot go on a poster (it is no web address a phone opens), or nothing.
std::optional<QString> addressProblem(const QString &address);

// The poster of the address, as laid out on its page.
Report::Layout layout(const QString &address);
// Laid out with the fonts it is printed in (needs a QGuiApplication).
Report::Document document(const QString &address);

} // namespace ResultsPoster
