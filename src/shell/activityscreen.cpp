#include "shell/activityscreen.h"

#include <QApplication>
#include <QEvent>

bool ActivityScreen::event(QEvent *event)
{
    // Read again only when the user comes back from elsewhere: not after a window of this program
    // (a message box, an editing window) had the keyboard, so that a failure told in a message box
    // is not read, and told, again as the box closes.
    if (event->type() == QEvent::WindowDeactivate)
        m_awayInOwnWindow = QApplication::activeWindow() != nullptr;
    else if (event->type() == QEvent::WindowActivate && !std::exchange(m_awayInOwnWindow, false) &&
             isVisible() && isEnabled() && !m_reading) {
        m_reading = true;
        readAgain();
        m_reading = false;
    }
    return QWidget::event(event);
}
