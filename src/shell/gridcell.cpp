#include "shell/gridcell.h"

#include <QKeyEvent>
#include <QPainter>

GridCell::GridCell(QWidget *parent) : QCheckBox(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

QSize GridCell::sizeHint() const
{
    return {25, 25};
}

bool GridCell::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}

void GridCell::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        Q_EMIT stepRequested(0, -1);
        return;
    case Qt::Key_Right:
        Q_EMIT stepRequested(0, 1);
        return;
    case Qt::Key_Up:
        Q_EMIT stepRequested(-1, 0);
        return;
    case Qt::Key_Down:
        Q_EMIT stepRequested(1, 0);
        return;
    default:
        QCheckBox::keyPressEvent(event);
    }
}

void GridCell::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect box = rect().adjusted(0, 0, -1, -1);
    if (!isEnabled()) {
        // Raised: light on the top and left, shadow on the bottom and right.
        p.fillRect(rect(), QColor(0xC0, 0xC0, 0xC0));
        p.setPen(Qt::white);
        p.drawLine(box.topLeft(), box.topRight());
        p.drawLine(box.topLeft(), box.bottomLeft());
        p.setPen(Qt::black);
        p.drawLine(box.bottomLeft(), box.bottomRight());
        p.drawLine(box.topRight(), box.bottomRight());
        p.setPen(QColor(0x80, 0x80, 0x80));
        p.drawLine(box.bottomLeft() + QPoint(1, -1), box.bottomRight() + QPoint(-1, -1));
        p.drawLine(box.topRight() + QPoint(-1, 1), box.bottomRight() + QPoint(-1, -1));
        return;
    }
    p.fillRect(rect(), Qt::white);
    if (isChecked()) {
        p.setPen(QPen(Qt::black, 2));
        p.drawRect(rect().adjusted(1, 1, -1, -1));
        p.setRenderHint(QPainter::Antialiasing);
        const QRect cross = rect().adjusted(6, 6, -6, -6);
        p.drawLine(cross.topLeft(), cross.bottomRight());
        p.drawLine(cross.topRight(), cross.bottomLeft());
    } else {
        p.setPen(QColor(0x80, 0x80, 0x80));
        p.drawRect(box);
    }
    if (hasFocus()) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        p.drawRect(rect().adjusted(3, 3, -4, -4));
    }
}
