#include "judging/resultsposter.h"

#include "common/qrcode.h"
#include "reports/paginator.h"

#include <QUrl>

namespace ResultsPoster {

std::optional<QString> addressProblem(const QString &address)
{
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    if (address.trimmed().isEmpty())
        return QStringLiteral("Type the address where the results can be read, such as "
                              "https://example.org/results/.");
    if (!url.isValid() ||
        (url.scheme() != QStringLiteral("http") && url.scheme() != QStringLiteral("https")) ||
        url.host().isEmpty())
        return QStringLiteral("\"%1\" is no web address a phone can open: it starts with http:// or "
                              "https:// and names a server, such as https://example.org/results/.")
            .arg(address.trimmed());
    return std::nullopt;
}

Report::Layout layout(const QString &address)
{
    const QString url = address.trimmed();
    Report::Layout rpt;
    rpt.caption = QStringLiteral("Results Poster");
    rpt.title = QStringLiteral("Results Poster");
    const int width = rpt.printableWidth();
    const auto centred = Qt::AlignHCenter | Qt::AlignTop;
    constexpr int Code = 8280; // nearly six inches square: a phone reads it from a few steps away

    Report::Section &page = rpt.reportHeader;
    page.height = 13300;
    page.label(QStringLiteral("LblShow"), QStringLiteral("KORV State Championship"), {0, 0, width, 720},
               {QStringLiteral("Arial"), 26, true})
        .alignment = centred;
    page.label(QStringLiteral("LblTitle"), QStringLiteral("Results on your phone"), {0, 900, width, 1100},
               {QStringLiteral("Arial"), 44, true})
        .alignment = centred;
    Report::Item &code = page.image(QStringLiteral("ImgCode"), {(width - Code) / 2, 2300, Code, Code});
    code.picture = QrCode::image(url);
    // A long address gets smaller type, and wraps where it must.
    const double size = url.size() <= 24   ? 40
                        : url.size() <= 36 ? 30
                        : url.size() <= 56 ? 22
                        : url.size() <= 80 ? 16
                                           : 12;
    Report::Item &text = page.label(QStringLiteral("LblAddress"), url, {0, 10900, width, 900},
                                    {QStringLiteral("Arial"), size, true});
    text.alignment = centred;
    text.canGrow = true;
    page.label(
            QStringLiteral("LblHow"),
            QStringLiteral("Point your phone's camera at the code, or type the address. The team standings, "
                           "rider results and class placings of every division are there as each class "
                           "is placed."),
            {720, 12200, width - 1440, 1000}, {QStringLiteral("Arial"), 16})
        .alignment = centred;
    page.items.back().canGrow = true;
    return rpt;
}

Report::Document document(const QString &address)
{
    return Report::paginate(layout(address), ShapedRows());
}

} // namespace ResultsPoster
