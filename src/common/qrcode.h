#pragma once

#include <QImage>
#include <QString>

// A QR code of a text (a web address), made by libqrencode: black modules on white with the quiet
// zone of four modules around them that readers need, each module a square of the given pixels, so
// that the picture stays sharp however it is scaled. A null image when the text is too long for
// any QR code.
namespace QrCode {

QImage image(const QString &text, int pixelsPerModule = 16);

} // namespace QrCode
