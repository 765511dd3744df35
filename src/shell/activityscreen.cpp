#include "shell/activityscreen.h"

bool ActivityScreen::event(QEvent *event)
{
    m_return.see(event, this, [this] { readAgain(); });
    return QWidget::event(event);
}
