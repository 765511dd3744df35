#include "reports/reportpdf.h"

#include "common/csv.h"
#include "reports/reportpainter.h"

#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>

#include <functional>

namespace Report {
namespace {

constexpr int PdfResolution = 1200;

// Writes the file through write(), which answers why it failed or nothing.
std::optional<QString> save(const QString &filePath,
                            const std::function<std::optional<QString>(QSaveFile &)> &write)
{
    const auto failure = [&](const QString &why) {
        return QStringLiteral("The report could not be saved as \"%1\".\n\n%2")
            .arg(QDir::toNativeSeparators(filePath), why);
    };
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly))
        return failure(file.errorString());
    if (const auto why = write(file)) {
        file.cancelWriting();
        return failure(*why);
    }
    if (file.error() != QFileDevice::NoError) {
        const QString why = file.errorString();
        file.cancelWriting();
        return failure(why);
    }
    if (!file.commit())
        return failure(file.errorString());
    return std::nullopt;
}

// Paints every page into the device as a PDF; answers why it could not, or nothing.
std::optional<QString> paintPdf(const Document &document, QIODevice &device)
{
    QPdfWriter writer(&device);
    writer.setResolution(PdfResolution);
    writer.setTitle(document.title);
    writer.setCreator(QStringLiteral("Trotwise"));
    if (!document.pages.empty())
        writer.setPageLayout(document.pages.front().pageLayout());
    QPainter painter;
    if (!painter.begin(&writer))
        return QStringLiteral("The PDF writer could not start.");
    for (std::size_t i = 0; i < document.pages.size(); ++i) {
        if (i > 0) {
            // The next page takes the layout set before it begins.
            writer.setPageLayout(document.pages[i].pageLayout());
            writer.newPage();
        }
        painter.save();
        scaleToTwips(painter, PdfResolution);
        paintPage(document.pages[i], painter);
        painter.restore();
    }
    painter.end();
    return std::nullopt;
}

} // namespace

std::optional<QString> writePdf(const Document &document, const QString &filePath)
{
    return save(filePath, [&](QSaveFile &file) { return paintPdf(document, file); });
}

QByteArray pdf(const Document &document)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    return paintPdf(document, buffer) ? QByteArray() : buffer.data();
}

std::optional<QString> writeCsv(const Document &document, const QString &filePath)
{
    return save(filePath, [&](QSaveFile &file) -> std::optional<QString> {
        const QByteArray bytes = Csv::document(document.table.columns, document.table.rows);
        if (file.write(bytes) != bytes.size())
            return file.errorString();
        return std::nullopt;
    });
}

QString suggestedFileName(const Document &document, const QString &suffix)
{
    static const QRegularExpression refused(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    QString name = document.title.isEmpty() ? document.caption : document.title;
    name = name.replace(refused, QStringLiteral(" ")).simplified();
    return (name.isEmpty() ? QStringLiteral("Report") : name) + suffix;
}

} // namespace Report
