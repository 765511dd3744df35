#include "reports/reportpdf.h"

#include "reports/reportpainter.h"

#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>

namespace Report {
namespace {
constexpr int PdfResolution = 1200;
}

std::optional<QString> writePdf(const Document &document, const QString &filePath)
{
    const auto failure = [&](const QString &why) {
        return QStringLiteral("The report could not be saved as \"%1\".\n\n%2")
            .arg(QDir::toNativeSeparators(filePath), why);
    };
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly))
        return failure(file.errorString());
    {
        QPdfWriter writer(&file);
        writer.setResolution(PdfResolution);
        writer.setTitle(document.title);
        writer.setCreator(QStringLiteral("Trotwise"));
        writer.setPageLayout(document.pageLayout());
        QPainter painter;
        if (!painter.begin(&writer)) {
            file.cancelWriting();
            return failure(QStringLiteral("The PDF writer could not start."));
        }
        for (std::size_t i = 0; i < document.pages.size(); ++i) {
            if (i > 0)
                writer.newPage();
            painter.save();
            scaleToTwips(painter, PdfResolution);
            paintPage(document.pages[i], painter);
            painter.restore();
        }
        painter.end();
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

QString pdfFileName(const Document &document)
{
    static const QRegularExpression refused(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    QString name = document.title.isEmpty() ? document.caption : document.title;
    name = name.replace(refused, QStringLiteral(" ")).simplified();
    return (name.isEmpty() ? QStringLiteral("Report") : name) + QStringLiteral(".pdf");
}

} // namespace Report
