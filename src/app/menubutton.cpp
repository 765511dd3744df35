#include "app/menubutton.h"

#include "shell/formkit.h"

#include <QPainter>
#include <QStyleOptionFocusRect>
#include <qdrawutil.h>

MenuButton::MenuButton(const QString &caption, QWidget *parent) : QPushButton(caption, parent)
{
    setAccessibleName(caption);
    setBackColor(FormKit::LightGrey);
}

void MenuButton::setBackColor(const QColor &color)
{
    QPalette p = palette();
    p.setColor(QPalette::Button, color);
    setPalette(p);
}

void MenuButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette &p = palette();
    const bool sunken = isDown();
    const QBrush fill = p.brush(QPalette::Button);
    qDrawWinButton(&painter, rect(), p, sunken, &fill);

    QRect text = rect().adjusted(4, 2, -4, -2);
    if (sunken)
        text.translate(1, 1);
    const int flags = Qt::AlignCenter | Qt::TextWordWrap;
    if (isEnabled()) {
        painter.setPen(p.color(QPalette::Active, QPalette::ButtonText));
    } else {
        // Engraved, so that a disabled caption stays readable on the grey.
        painter.setPen(p.color(QPalette::Light));
        painter.drawText(text.translated(1, 1), flags, this->text());
        painter.setPen(p.color(QPalette::Button).darker(150));
    }
    painter.drawText(text, flags, this->text());

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(4, 4, -4, -4);
        focus.backgroundColor = p.color(QPalette::Button);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}
