#include "common/qrcode.h"

#include <qrencode.h>

#include <algorithm>
#include <memory>

namespace QrCode {

QImage image(const QString &text, int pixelsPerModule)
{
    constexpr int QuietZone = 4;
    // Level M: a poster on a ring fence may be creased or splashed.
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString8bit(text.toUtf8().constData(), 0, QR_ECLEVEL_M), &QRcode_free);
    if (!code)
        return {};
    const int modules = code->width + 2 * QuietZone;
    QImage picture(modules * pixelsPerModule, modules * pixelsPerModule, QImage::Format_Grayscale8);
    picture.fill(Qt::white);
    for (int y = 0; y < code->width; ++y)
        for (int x = 0; x < code->width; ++x)
            if (code->data[y * code->width + x] & 1) // the low bit: a dark module
                for (int py = 0; py < pixelsPerModule; ++py)
                    std::fill_n(picture.scanLine((y + QuietZone) * pixelsPerModule + py) +
                                    (x + QuietZone) * pixelsPerModule,
                                pixelsPerModule, uchar(0));
    return picture;
}

} // namespace QrCode
