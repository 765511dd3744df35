#include "app/clicklabel.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace {

// Screen readers announce the label as a button and can press it.
class ClickLabelAccessible : public QAccessibleWidget
{
public:
    explicit ClickLabelAccessible(ClickLabel *label) : QAccessibleWidget(label, QAccessible::Button) {}

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &action) override
    {
        if (action == pressAction() && widget()->isEnabled())
            Q_EMIT static_cast<ClickLabel *>(widget())->clicked();
    }
};

QAccessibleInterface *clickLabelAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1StringView(ClickLabel::staticMetaObject.className()) && object->isWidgetType())
        return new ClickLabelAccessible(static_cast<ClickLabel *>(object));
    return nullptr;
}

} // namespace

ClickLabel::ClickLabel(const QString &caption, QWidget *parent) : QWidget(parent), m_caption(caption)
{
    static const bool accessible = (QAccessible::installFactory(clickLabelAccessible), true);
    Q_UNUSED(accessible)
    setAutoFillBackground(true);
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(caption);
}

void ClickLabel::setColors(const QColor &back, const QColor &fore)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, back);
    // A disabled entry is greyed, but stays readable on its background.
    p.setColor(QPalette::Active, QPalette::WindowText, fore);
    p.setColor(QPalette::Inactive, QPalette::WindowText, fore);
    p.setColor(QPalette::Disabled, QPalette::WindowText, back.darker(160));
    setPalette(p);
}

void ClickLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    // Only a press that started here counts: a press that closed the Utilities window
    // elsewhere does not.
    const bool click =
        m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (!click) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    Q_EMIT clicked();
}

void ClickLabel::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        Q_EMIT clicked();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void ClickLabel::paintEvent(QPaintEvent *)
{
    // Drawn here rather than by the style: some styles dither disabled text into the background.
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect(), Qt::AlignCenter, m_caption);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(1, 1, -1, -1);
        focus.backgroundColor = palette().color(QPalette::Window);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}
