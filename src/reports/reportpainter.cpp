#include "reports/reportpainter.h"

#include "reports/textmeasurer.h"

#include <QPainter>

#include <cmath>
#include <optional>

namespace Report {

void scaleToTwips(QPainter &painter, double dotsPerInch)
{
    painter.scale(dotsPerInch / 1440.0, dotsPerInch / 1440.0);
}

void paintPage(const Page &page, QPainter &painter)
{
    painter.save();
    painter.setBrush(Qt::NoBrush);
    std::optional<Font> current; // building a QFont for every line is the slow part
    for (const Primitive &p : page.items) {
        switch (p.kind) {
        case Primitive::Kind::Text:
            if (p.text.isEmpty())
                break;
            if (current != p.font) {
                painter.setFont(qtFont(p.font));
                current = p.font;
            }
            painter.setPen(Qt::black);
            painter.drawText(QRectF(p.rect), textFlags(p.alignment, p.wrap),
                             p.wrap ? wrappable(p.text) : p.text);
            break;
        case Primitive::Kind::Line:
            painter.setPen(QPen(Qt::black, p.lineWidth, Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(p.segment());
            break;
        case Primitive::Kind::Rectangle:
            painter.setPen(QPen(Qt::black, p.lineWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            painter.drawRect(QRectF(p.rect));
            break;
        case Primitive::Kind::Image: {
            // Fitted into its box, keeping its proportions, centred.
            const QSizeF size = QSizeF(p.image.size()).scaled(QSizeF(p.rect.size()), Qt::KeepAspectRatio);
            QRectF target(QPointF(), size);
            target.moveCenter(QRectF(p.rect).center());
            painter.drawImage(target, p.image);
            break;
        }
        }
    }
    painter.restore();
}

} // namespace Report
