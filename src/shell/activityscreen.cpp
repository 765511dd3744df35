#include "shell/activityscreen.h"

#include <QEvent>

bool ActivityScreen::event(QEvent *event)
{
    // A failure told in a message box activates the window again when the box closes: that
    // activation reads nothing, so that a meet server that is away is told once, not for ever.
    if (event->type() == QEvent::WindowActivate && isVisible() && isEnabled() && !m_reading) {
        if (m_readFailed) {
            m_readFailed = false;
        } else {
            m_reading = true;
            m_readFailed = !readAgain();
            m_reading = false;
        }
    }
    return QWidget::event(event);
}
